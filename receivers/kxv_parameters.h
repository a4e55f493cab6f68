#pragma once
// The 26 stabilizer parameters of a KXV receiver as one table: their place k in the exchange
// order, bus code, file keys, the control that shows each, its range, encoding and factory
// value. The page, its sub-pages, the parameter file and the tests all read this table. Pure:
// no window, no port, so the file reader and its fuzz target use it on their own.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kxv {

inline constexpr int kParameterCount = 26;

// The receiver answers polls at this physical ID; its requests carry bus::kStabilizerAddress.
inline constexpr int kPhysId = 26;
// Data ID of every request to the stabilizer (frame bytes 3 and 4, low byte first).
inline constexpr std::uint16_t kDataId = 0x0C30;
// The write code that starts a calibration in the orientation its value names; no parameter.
inline constexpr std::uint8_t kCalibrationCode = 0x9D;

// Encodings of the values the sub-pages show.
inline constexpr int kDirectionPositive = 255;
inline constexpr int kDirectionReverse = 0;
inline constexpr int kGainMax = 200;    // percent
inline constexpr int kAngleZero = 128;  // the bus form of 0°
inline constexpr int kAngleLimit = 20;  // degrees either way

// Who holds a value.
enum class Holder { kWingType, kMountingType, kGainSetting, kOffsetAngleSetting, kPage };

// How a value is shown and what it may be.
enum class Kind {
    kChoice,     // a radio group: 0 .. hi
    kDirection,  // a list: 255 Positive, 0 Reverse
    kGain,       // an edit: percent 0 .. 200
    kAngle,      // an edit: degrees -20 .. 20, held as degrees + 128
    kFlag,       // a check box: 0 or 1
};

struct Parameter {
    int k;
    std::uint8_t code;
    std::string_view key;        // the parameter file's key
    std::string_view secondKey;  // also accepted by Load; empty when there is none
    Holder holder;
    Kind kind;
    int control;  // the control that shows it on its holder
    int hi;       // kChoice, kDirection, kFlag: the last item of its control
    int factory;
    std::string_view label;  // where a person finds it
};

extern const std::array<Parameter, kParameterCount> kParameters;

// The parameter with this bus code; none for the codes the table does not use.
const Parameter* FindByCode(std::uint8_t code);
// The first parameter (in the exchange order) of a kind.
const Parameter& FirstOfKind(Kind kind);
// The first parameter (in the exchange order) of a kind that a holder keeps.
const Parameter& FirstHeld(Holder holder, Kind kind);
// Where a holder keeps the value of `p`: its place among the holder's parameters of its kind.
int PlaceInHolder(const Parameter& p);

// The items of a direction list, in their order: "Positive", then "Reverse".
inline constexpr int kDirectionItems[] = {kDirectionPositive, kDirectionReverse};
// What a radio group or list shows when none of its items is chosen.
inline constexpr int kNoItem = -1;
// A check box's third state, neither ticked nor clear (the platform's BST_INDETERMINATE).
inline constexpr int kNeitherCheck = 2;

// The radio, list item or check box state that shows a held value of `p` (a kChoice,
// kDirection or kFlag). A value none of them names, as a Read or a file may give, shows none:
// kNoItem, or kNeitherCheck for a check box. Showing the nearest item instead would send it
// back in place of a value nobody changed.
int ItemShowing(const Parameter& p, int value);
// The held value of `p` that a control showing `item` gives: the value that item names, or
// `held` unchanged while the control shows none of its items.
int ValueOfItem(const Parameter& p, int item, int held);

// The clamps the sub-pages apply to what is typed.
int ClampGain(int percent);
int ClampAngleDegrees(int degrees);

}  // namespace kxv
