#include "receivers/kxv_parameters.h"

#include <algorithm>
#include <iterator>

#include "receivers/kxv_ids.h"

namespace kxv {

namespace {

constexpr Parameter Choice(int k, std::uint8_t code, std::string_view key, std::string_view second,
                           Holder holder, int control, int hi, std::string_view label) {
    return {k, code, key, second, holder, Kind::kChoice, control, hi, 0, label};
}
constexpr Parameter Direction(int k, std::uint8_t code, std::string_view key,
                              std::string_view second, int control, std::string_view label) {
    return {k,
            code,
            key,
            second,
            Holder::kGainSetting,
            Kind::kDirection,
            control,
            static_cast<int>(std::size(kDirectionItems)) - 1,
            kDirectionPositive,
            label};
}
constexpr Parameter Gain(int k, std::uint8_t code, std::string_view key, std::string_view second,
                         int control, int factory, std::string_view label) {
    return {k, code, key, second, Holder::kGainSetting, Kind::kGain, control, 0, factory, label};
}
constexpr Parameter Angle(int k, std::uint8_t code, std::string_view key, std::string_view second,
                          int control, std::string_view label) {
    return {k,       code, key,        second, Holder::kOffsetAngleSetting, Kind::kAngle,
            control, 0,    kAngleZero, label};
}
constexpr Parameter Flag(int k, std::uint8_t code, std::string_view key, std::string_view second,
                         Holder holder, int control, int factory, std::string_view label) {
    return {k, code, key, second, holder, Kind::kFlag, control, 1, factory, label};
}

}  // namespace

// The bus codes are not contiguous: 0x8A, 0x8B, 0x8F, 0x93, 0x94, 0x98 and 0xA0..0xA7 are not
// parameters, and 0x9D is the calibration command.
const std::array<Parameter, kParameterCount> kParameters = {{
    Choice(0, 0x80, "WingType", "WING_TYPE", Holder::kWingType, wing_ids::kFirstRadio,
           wing_ids::kRadioCount - 1, "Wing Type"),
    Choice(1, 0x81, "MountingType", "INSTALL_DIR", Holder::kMountingType, mounting_ids::kFirstRadio,
           mounting_ids::kRadioCount - 1, "Mounting Type"),
    Direction(2, 0x82, "CompensationDirection_Aileron1", "dirGain[0]", 1176,
              "Compensation Direction, AIL1"),
    Direction(3, 0x83, "CompensationDirection_Elevator1", "dirGain[1]", 1178,
              "Compensation Direction, ELE1"),
    Direction(4, 0x84, "CompensationDirection_Rudder", "dirGain[2]", 1180,
              "Compensation Direction, RUD"),
    Direction(5, 0x9A, "CompensationDirection_Aileron2", "dirGain2[0]", 1177,
              "Compensation Direction, AIL2"),
    Direction(6, 0x9B, "CompensationDirection_Elevator2", "dirGain2[1]", 1179,
              "Compensation Direction, ELE2"),
    Gain(7, 0x85, "StabilizeGain_Aileron", "stabGain[0]", 1183, 50,
         "Gyro Gain: Stabilize Mode, Aileron"),
    Gain(8, 0x86, "StabilizeGain_Elevator", "stabGain[1]", 1184, 80,
         "Gyro Gain: Stabilize Mode, Elevator"),
    Gain(9, 0x87, "StabilizeGain_Rudder", "stabGain[2]", 1185, 100,
         "Gyro Gain: Stabilize Mode, Rudder"),
    Gain(10, 0x88, "AutoLevelGain_Aileron", "levelGain[0]", 1186, 50,
         "Angle Gain: Auto Level Mode, Aileron"),
    Gain(11, 0x89, "AutoLevelGain_Elevator", "levelGain[1]", 1187, 80,
         "Angle Gain: Auto Level Mode, Elevator"),
    Gain(12, 0x8C, "UprightGain_Elevator", "vertialGain[1]", 1188, 100,
         "Angle Gain: Hover Mode, Elevator"),
    Gain(13, 0x8D, "UprightGain_Rudder", "vertialGain[2]", 1189, 100,
         "Angle Gain: Hover Mode, Rudder"),
    Gain(14, 0x8E, "CrabGain_Aileron", "sideGain[0]", 1017, 50,
         "Angle Gain: Knife Edge Mode, Aileron"),
    Gain(15, 0x90, "CrabGain_Rudder", "", 1018, 100, "Angle Gain: Knife Edge Mode, Rudder"),
    Angle(16, 0x91, "AutoLevelOffsetAngle_Aileron", "levelComp[0]", 1010,
          "Offset Angle of Auto Level, Aileron"),
    Angle(17, 0x92, "AutoLevelOffsetAngle_Elevator", "levelComp[1]", 1011,
          "Offset Angle of Auto Level, Elevator"),
    Angle(18, 0x95, "UprightOffsetAngle_Elevator", "verticalComp[1]", 1014,
          "Offset Angle of Hover, Elevator"),
    Angle(19, 0x96, "UprightOffsetAngle_Rudder", "verticalComp[2]", 1194,
          "Offset Angle of Hover, Rudder"),
    Angle(20, 0x97, "CrabOffsetAngle_Aileron", "sideComp[0]", 1195,
          "Offset Angle of Knife Edge, Aileron"),
    Angle(21, 0x99, "CrabOffsetAngle_Rudder", "sideComp[2]", 1016,
          "Offset Angle of Knife Edge, Rudder"),
    Flag(22, 0x9C, "KXV_Enable", "flagB7TEN", Holder::kPage, page_ids::kKxvEnable, 1, "KXV Enable"),
    Flag(23, 0xA8, "AUX1", "flagAux1EN", Holder::kWingType, wing_ids::kAux1, 0, "AUX1"),
    Flag(24, 0xA9, "AUX2", "flagAux2EN", Holder::kWingType, wing_ids::kAux2, 0, "AUX2"),
    Flag(25, 0xAA, "QuickMode", "", Holder::kWingType, wing_ids::kQuickMode, 0, "Quick Mode"),
}};

const Parameter* FindByCode(std::uint8_t code) {
    for (const Parameter& p : kParameters)
        if (p.code == code) return &p;
    return nullptr;
}

const Parameter& FirstOfKind(Kind kind) {
    for (const Parameter& p : kParameters)
        if (p.kind == kind) return p;
    return kParameters.front();
}

const Parameter& FirstHeld(Holder holder, Kind kind) {
    for (const Parameter& p : kParameters)
        if (p.holder == holder && p.kind == kind) return p;
    return kParameters.front();
}

int PlaceInHolder(const Parameter& p) {
    int place = 0;
    for (const Parameter& q : kParameters)
        if (q.k < p.k && q.holder == p.holder && q.kind == p.kind) ++place;
    return place;
}

namespace {

// The held value item `item` of p's control names; radios and check states name their index.
int ItemValue(const Parameter& p, int item) {
    return p.kind == Kind::kDirection ? kDirectionItems[static_cast<std::size_t>(item)] : item;
}

bool HasItems(const Parameter& p) {
    return p.kind == Kind::kChoice || p.kind == Kind::kDirection || p.kind == Kind::kFlag;
}

}  // namespace

int ItemShowing(const Parameter& p, int value) {
    for (int item = 0; HasItems(p) && item <= p.hi; ++item)
        if (ItemValue(p, item) == value) return item;
    return p.kind == Kind::kFlag ? kNeitherCheck : kNoItem;
}

int ValueOfItem(const Parameter& p, int item, int held) {
    return HasItems(p) && item >= 0 && item <= p.hi ? ItemValue(p, item) : held;
}

int ClampGain(int percent) {
    return std::clamp(percent, 0, kGainMax);
}

int ClampAngleDegrees(int degrees) {
    return std::clamp(degrees, -kAngleLimit, kAngleLimit);
}

}  // namespace kxv
