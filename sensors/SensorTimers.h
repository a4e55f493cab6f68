#pragma once
// The timers of a sensor page, what an operation is to the end of the progress run, and how
// long each kind of run lasts. The numbers stand here once; pages, machines and tests use the
// names.

#include "platform/win_types.h"

namespace sensor_timers {

// Page timers.
inline constexpr UINT kRead = 0;
inline constexpr UINT kWrite = 1;
inline constexpr UINT kTimeout = 2;
inline constexpr UINT kProgress = 3;
inline constexpr UINT kDefault = 4;
// StopTimers kills every page timer below this; FinishOperation the operation timers below
// kOperationTimerCount. A page with timers of its own (the fuel kit's resets) raises both.
inline constexpr int kTimerCount = 7;
inline constexpr int kOperationTimerCount = 5;

// Periods and time-outs, in ms.
inline constexpr UINT kReadPeriodMs = 10;
inline constexpr UINT kWritePeriodMs = 50;
inline constexpr UINT kDefaultPeriodMs = 50;
inline constexpr UINT kReadTimeoutMs = 4000;
inline constexpr UINT kWriteTimeoutMs = 6000;
inline constexpr UINT kDefaultTimeoutMs = 4000;
inline constexpr UINT kReadProgressMs = 16;
inline constexpr UINT kWriteProgressMs = 32;
inline constexpr UINT kDefaultProgressMs = 16;
inline constexpr UINT kConfigureTimeoutMs = 7000;
inline constexpr UINT kConfigureProgressMs = 46;
// The main window's Monitoring listener and bus scan, as the pages start them.
inline constexpr UINT kListenerPeriodMs = 1;
inline constexpr UINT kScanPeriodMs = 4;

}  // namespace sensor_timers

// What FinishOperation ends (m_nOperation): it decides which buttons come back.
namespace sensor_operation {
inline constexpr int kNone = 0;
inline constexpr int kConfigureRun = 1;  // the first progress run of Configure
inline constexpr int kReadWrite = 2;     // Read or Write
inline constexpr int kDefault = 3;       // Default Settings, and the fuel kit's resets
}  // namespace sensor_operation
