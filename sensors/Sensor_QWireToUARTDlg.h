#pragma once
// The Q.Wire-to-UART converter page: its two ADC inputs, and the UART baud rate, self-correct
// switch and transmit mode it is configured with on its own data IDs (0xFD00 plus the whole
// application-ID byte).

#include "sensors/SensorPage.h"

// The controls the converter page has beyond the common ones.
namespace converter_ids {
constexpr int kEnableSelfCorrect = 1050;  // radio group of m_nSelfCorrect
constexpr int kDisableSelfCorrect = 1051;
constexpr int kTxEnable = 1052;  // radio group of m_nTxMode
constexpr int kTxDisable = 1053;
constexpr int kAdc1Edit = 1096;
constexpr int kAdc2Edit = 1097;
constexpr int kBaudEdit = 1098;
constexpr int kAdc1Label = 1165;
constexpr int kAdc2Label = 1166;
constexpr int kBaudLabel = 1167;
}  // namespace converter_ids

// The converter's own parameters.
namespace converter_params {
inline constexpr BYTE kBaudCode = 0x80;     // 0..5: 300 .. 9600 baud
inline constexpr BYTE kSelfCorrect = 0x81;  // 1 enabled, 0 disabled
inline constexpr BYTE kTxMode = 0x82;       // 1 transmit enabled, 0 receive only
}  // namespace converter_params

class CSensor_QWireToUARTDlg : public CSensorPage {
  public:
    static constexpr UINT IDD = 138;
    CSensor_QWireToUARTDlg() : CSensorPage(IDD) {}

    // Telemetry values, written by the decoders.
    double m_dAdc1 = 0.0;  // V
    double m_dAdc2 = 0.0;  // V
    // Radio indexes: 0 selects "Enable self-correct " and "TX enable ", 1 the other button. The
    // bus values are the other way round (1 = enabled).
    int m_nSelfCorrect = 0;
    int m_nTxMode = 0;

    // The interlock: self-correct off forces transmit on, receive-only forces self-correct on.
    void OnBnClickedEnableSelfCorrect();
    void OnBnClickedDisableSelfCorrect();
    void OnBnClickedTxEnable();
    void OnBnClickedTxDisable();

    const platform::MessageMap* GetMessageMap() const override;
    std::span<const Hint> Hints() const override;
    std::span<const WORD> StreamBases() const override;
    std::span<const sensor_steps::Machine* const> Machines() const override;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};
