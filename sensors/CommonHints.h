#pragma once
// Hint texts that every sensor page shows for the same controls.

namespace sensor_hints {

inline constexpr const char* kMonitoring =
    "Used to display sensor data,and you need connect the receiver.";
inline constexpr const char* kConfigure =
    "Used to configure sensor parameters,please do not connect the receiver.";
inline constexpr const char* kRead = "Used to read sensor parameters.";
inline constexpr const char* kWrite = "Used to set the sensor parameters.";
inline constexpr const char* kDefault = "Used to set sensor default parameters.";
inline constexpr const char* kAppId = "Application ID:    Range:0-15    Default:0";
inline constexpr const char* kFirmware = "Firmware:    Can not to change";

}  // namespace sensor_hints
