#pragma once
// The parameter codes of the fuel-engine sensor kit, beyond the common ones of protocol.h. The
// kit's page and the simulated kit both speak with these names.

#include <cstdint>

namespace bus::fuel_kit {

inline constexpr std::uint8_t kParamFlowPulse = 0x80;        // 0.001 mL per pulse
inline constexpr std::uint8_t kParamCdiLimit = 0x81;         // 100 r/min units
inline constexpr std::uint8_t kParamVolume = 0x83;           // tank volume, mL
inline constexpr std::uint8_t kParamFactorySettings = 0x86;  // 1 restores them
inline constexpr std::uint8_t kParamVolumeLowAlarm = 0x87;   // percent
inline constexpr std::uint8_t kParamOverFlowAlarm = 0x88;    // mL/min
inline constexpr std::uint8_t kParamOverSpeedAlarm = 0x89;   // 100 r/min units
inline constexpr std::uint8_t kParamOverTemp1Alarm = 0x8A;   // °C
inline constexpr std::uint8_t kParamOverTemp2Alarm = 0x8B;   // °C
inline constexpr std::uint8_t kParamAutoReset = 0x8D;        // 0 on, 1 off
// Counter resets: written with 0; read back, each answers its acknowledgement.
inline constexpr std::uint8_t kParamResetResidualVolume = 0x93;
inline constexpr std::uint8_t kParamResetMaximumFlow = 0x96;
inline constexpr std::uint8_t kParamResetAverageFlow = 0x97;
inline constexpr std::uint16_t kResidualVolumeResetAnswer = 1000;  // 16 bits
inline constexpr std::uint8_t kFlowResetAnswer = 0;

}  // namespace bus::fuel_kit
