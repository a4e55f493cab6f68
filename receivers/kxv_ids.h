#pragma once
// The KXV page's names for its controls, its sub-pages' controls, its timers and its
// operations. The templates (resources/templates_kxv.cpp) place the same ids; code and tests
// use only these names.

#include "platform/win_types.h"

namespace kxv {

// The KXV page (dialog 166).
namespace page_ids {
inline constexpr int kSubPageTab = 1172;
inline constexpr int kRead = 1101;
inline constexpr int kWrite = 1102;
inline constexpr int kDefault = 1009;
inline constexpr int kLoad = 1170;
inline constexpr int kSave = 1008;
inline constexpr int kProgress = 1104;
inline constexpr int kKxvEnable = 1173;
}  // namespace page_ids

// Wing Type (dialog 168).
namespace wing_ids {
inline constexpr int kFirstRadio = 1050;  // 1050..1052
inline constexpr int kRadioCount = 3;
inline constexpr int kAux1 = 1173;
inline constexpr int kAux2 = 1174;
inline constexpr int kQuickMode = 1175;
inline constexpr int kPicture = 1181;
}  // namespace wing_ids

// Mounting Type (dialog 169).
namespace mounting_ids {
inline constexpr int kFirstRadio = 1050;  // 1050..1053
inline constexpr int kRadioCount = 4;
inline constexpr int kPicture = 1182;
}  // namespace mounting_ids

// Gain Setting (dialog 170): the direction lists and the gain edits are named by parameter in
// the parameter table (kxv_parameters.h).
namespace gain_ids {
inline constexpr int kAutoLevelRudder = 1019;    // unbound, disabled
inline constexpr int kHoverAileron = 1020;       // unbound, disabled
inline constexpr int kKnifeEdgeElevator = 1021;  // unbound, disabled
}  // namespace gain_ids

// Offset Angle Setting (dialog 171): the bound edits are named in the parameter table.
namespace offset_ids {
inline constexpr int kAutoLevelRudder = 1012;    // unbound, disabled
inline constexpr int kHoverAileron = 1013;       // unbound, disabled
inline constexpr int kKnifeEdgeElevator = 1015;  // unbound, disabled
}  // namespace offset_ids

// Accelerometer Calibration (dialog 172).
namespace calibration_ids {
inline constexpr int kPrevious = 1005;
inline constexpr int kCalibration = 1006;
inline constexpr int kNext = 1007;
inline constexpr int kPicture = 1190;
}  // namespace calibration_ids

// The page's timers, their periods and what each runs.
namespace timers {
inline constexpr UINT_PTR kReadSequence = 0;   // RunReadSequence
inline constexpr UINT_PTR kReadReply = 1;      // ParseReadReply
inline constexpr UINT_PTR kWriteSequence = 2;  // RunWriteSequence
inline constexpr UINT_PTR kWriteReply = 3;     // ParseWriteReply
inline constexpr UINT_PTR kCalibration = 4;    // RunCalibrationSequence
inline constexpr UINT_PTR kProgress = 5;       // StepProgress
inline constexpr UINT_PTR kTimeout = 6;        // FinishOperation
inline constexpr UINT_PTR kLast = kTimeout;

inline constexpr UINT kReadSequenceMs = 10;
inline constexpr UINT kReadReplyMs = 10;
inline constexpr UINT kWriteSequenceMs = 30;
inline constexpr UINT kWriteReplyMs = 10;
inline constexpr UINT kCalibrationMs = 100;
inline constexpr UINT kReadProgressMs = 130;
inline constexpr UINT kWriteProgressMs = 93;
inline constexpr UINT kReadTimeoutMs = 15000;
inline constexpr UINT kWriteTimeoutMs = 10000;
}  // namespace timers

// The progress bar's run: this many ticks of the progress timer.
inline constexpr int kProgressTicks = 100;
// Reply ticks a read request waits for its answer before it is sent again.
inline constexpr int kReadRetryTicks = 26;

// What the page is doing on the bus.
enum class Operation { kNone, kRead, kWrite, kDefault };

}  // namespace kxv
