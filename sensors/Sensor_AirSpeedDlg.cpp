#include "sensors/Sensor_AirSpeedDlg.h"

#include "sensors/CommonHints.h"
#include "sensors/StandardMachines.h"

namespace {

using namespace sensor_ids;

constexpr int kAirSpeedEdit = 1054;

constexpr CSensorPage::Hint kHints[] = {
    {kPhysIdLabel, "Physical ID:    Range:0-27    Default:9", kPhysIdEdit},
    {1110, "AirSpeed:    Range:0-500.0Km/H    Precise:0.1Km/H", kAirSpeedEdit},
    {kDataRateLabel, "Data Rate:    AirSpeed:    Range:100-25500ms    Default:300ms",
     kDataRateEdit},
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
    return sensor_steps::OneStreamMachines().Machines();
}

void CSensor_AirSpeedDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    DDX_Text(dx, kAirSpeedEdit, m_dAirSpeed);
}
