#pragma once
// The words of the Q.Wire configuration and telemetry protocol, named once: the frame types, the
// address bytes of requests and the parameter codes every configurable device understands. The
// program's machines, the stabilizer exchange and the simulator all speak with these names.

#include <cstdint>

namespace bus {

// Frame byte 2 (body byte 0 of what arrives).
inline constexpr std::uint8_t kTypeTelemetry = 0x10;
inline constexpr std::uint8_t kTypeLeave = 0x20;  // leave configuration access
inline constexpr std::uint8_t kTypeEnter = 0x21;  // enter configuration access
inline constexpr std::uint8_t kTypeRead = 0x30;
inline constexpr std::uint8_t kTypeWrite = 0x31;
inline constexpr std::uint8_t kTypeAnswer = 0x32;

// Frame byte 1 of a request: whom it is for.
inline constexpr std::uint8_t kSensorConfigAddress = 0x1C;
inline constexpr std::uint8_t kFuelKitConfigAddress = 0x1B;
inline constexpr std::uint8_t kStabilizerAddress = 0xBA;

// Parameter codes (frame byte 5) that every configurable sensor knows.
inline constexpr std::uint8_t kParamRestoreDefaults = 0x00;
inline constexpr std::uint8_t kParamPhysId = 0x01;
inline constexpr std::uint8_t kParamFirmware = 0x0C;
inline constexpr std::uint8_t kParamAppId = 0x0D;
inline constexpr std::uint8_t kParamDataRate = 0x22;

}  // namespace bus
