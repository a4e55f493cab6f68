#pragma once
// The video transmitter page (TQ450): channel, band, power level and the all-frequency switch,
// read from the transmitter's telemetry and written as one setting, and the frequency the
// channel and band stand for. Configure only: no Monitoring, no hint line, no Default Settings.

#include "sensors/SensorPage.h"

// The controls the video transmitter page has beyond the common ones.
namespace vtx_ids {
constexpr int kChannel = 1009;  // "CH1" .. "CH8"
constexpr int kBand = 1177;     // "A" .. "F"
constexpr int kPower = 1178;    // "PIT", "25mW", "200mW", "600mW"
constexpr int kAllFrq = 1312;   // "YES", "NO"
constexpr int kFrequency = 1313;
constexpr int kVersion = 1314;
}  // namespace vtx_ids

// The transmitter's setting: value byte 0 power + 10 × All Frq., byte 1 band, byte 2 channel.
namespace vtx_params {
inline constexpr BYTE kSetting = 0x80;
inline constexpr int kChannels = 8;
inline constexpr int kBands = 6;
inline constexpr int kPowers = 4;
inline constexpr int kAllFrqNo = 1;  // All Frq. "NO": only the allowed pairs
}  // namespace vtx_params

// The channel and band pairs the transmitter may use while All Frq. is "NO", indexed
// channel × 6 + band: bands C and F on no channel, CH8 on band B only.
inline constexpr BYTE kVtxAllowedPairs[48] = {
    1, 1, 0, 1, 0, 0,  // CH1
    1, 1, 0, 1, 0, 0,  // CH2
    1, 1, 0, 1, 1, 0,  // CH3
    1, 1, 0, 1, 1, 0,  // CH4
    1, 1, 0, 1, 1, 0,  // CH5
    1, 1, 0, 1, 1, 0,  // CH6
    1, 1, 0, 1, 0, 0,  // CH7
    0, 1, 0, 0, 0, 0,  // CH8
};

class CSensor_Reserve2Dlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 201;
    CSensor_Reserve2Dlg() : CSensorPage(IDD) {}

    BOOL OnInitDialog() override;
    const platform::MessageMap* GetMessageMap() const override;

    // A choice that leaves a pair not allowed under All Frq. "NO" is moved to an allowed one.
    void OnCbnSelchangeAllFrq();
    void OnCbnSelchangeChannel();
    void OnCbnSelchangeBand();

    // Shows the setting an 8-byte reply body carries (telemetry or answer: value bytes 4..6).
    void ShowVtxSettings(const BYTE* body);

    std::span<const WORD> StreamBases() const override;
    std::span<const sensor_steps::Machine* const> Machines() const override;
};
