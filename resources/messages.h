#pragma once
// The fixed texts the program shows in message boxes, named once. Code shows them by name; the
// font test walks kAll to make sure every one of them has its glyphs.

namespace messages {

inline constexpr const char* kSuccessfulOperation = "Successful operation！";
inline constexpr const char* kOperationFailed = "Operation failed！";
inline constexpr const char* kSelectCorrectParameters = "Please select the correct parameters！";
inline constexpr const char* kNoSerialPort = "No serial port found";
inline constexpr const char* kPortOpenFailed =
    "This serial port is not found or occupied or state change failed !";
inline constexpr const char* kPortOpenFailedCaption = "Tip";

inline constexpr const char* kAll[] = {
    kSuccessfulOperation, kOperationFailed, kSelectCorrectParameters,
    kNoSerialPort,        kPortOpenFailed,  kPortOpenFailedCaption,
};

}  // namespace messages
