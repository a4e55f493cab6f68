#include "sensors/Sensor_AirSpeedDlg.h"

#include "sensors/CommonHints.h"
#include "sensors/OneStreamMachines.h"

namespace {

constexpr int kAirSpeedEdit = 1054;

constexpr CSensorPage::Hint kHints[] = {
    {1099, sensor_hints::kMonitoring},
    {1100, sensor_hints::kConfigure},
    {1101, sensor_hints::kRead},
    {1102, sensor_hints::kWrite},
    {1103, sensor_hints::kDefault},
    {1107, "Physical ID:    Range:0-27    Default:9"},
    {1055, "Physical ID:    Range:0-27    Default:9"},
    {1108, sensor_hints::kAppId},
    {1056, sensor_hints::kAppId},
    {1109, sensor_hints::kFirmware},
    {1058, sensor_hints::kFirmware},
    {1110, "AirSpeed:    Range:0-500.0Km/H    Precise:0.1Km/H"},
    {kAirSpeedEdit, "AirSpeed:    Range:0-500.0Km/H    Precise:0.1Km/H"},
    {1111, "Data Rate:    AirSpeed:    Range:100-25500ms    Default:300ms"},
    {1057, "Data Rate:    AirSpeed:    Range:100-25500ms    Default:300ms"},
};

// One stream: air speed on 0x0A00 + application ID.
constexpr WORD kStreams[] = {0x0A00};

}  // namespace

std::span<const CSensorPage::Hint> CSensor_AirSpeedDlg::Hints() const {
    return kHints;
}

std::span<const WORD> CSensor_AirSpeedDlg::StreamBases() const {
    return kStreams;
}

std::span<const sensor_steps::Machine* const> CSensor_AirSpeedDlg::Machines() const {
    return sensor_steps::OneStreamMachines();
}

void CSensor_AirSpeedDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    DDX_Text(dx, kAirSpeedEdit, m_dAirSpeed);
}
