#include "sensors/Sensor_CurrentHDlg.h"

#include "sensors/CommonHints.h"
#include "sensors/OneStreamMachines.h"

namespace {

constexpr int kCurrentEdit = 1059;

// The data-rate pair comes before the value pair on this page.
constexpr CSensorPage::Hint kHints[] = {
    {1099, sensor_hints::kMonitoring},
    {1100, sensor_hints::kConfigure},
    {1101, sensor_hints::kRead},
    {1102, sensor_hints::kWrite},
    {1103, sensor_hints::kDefault},
    {1107, "Physical ID:    Range:0-27    Default:2"},
    {1055, "Physical ID:    Range:0-27    Default:2"},
    {1108, sensor_hints::kAppId},
    {1056, sensor_hints::kAppId},
    {1109, sensor_hints::kFirmware},
    {1058, sensor_hints::kFirmware},
    {1111, "Data Rate:    Range:100-25500ms    Default:500ms"},
    {1057, "Data Rate:    Range:100-25500ms    Default:500ms"},
    {1112, "Current:    Range:0.1-150.0A    Precise:0.1A"},
    {kCurrentEdit, "Current:    Range:0.1-150.0A    Precise:0.1A"},
};

// One stream: current on 0x0200 + application ID, the same data IDs as the 40 A sensor's
// current.
constexpr WORD kStreams[] = {0x0200};

}  // namespace

std::span<const CSensorPage::Hint> CSensor_CurrentHDlg::Hints() const {
    return kHints;
}

std::span<const WORD> CSensor_CurrentHDlg::StreamBases() const {
    return kStreams;
}

std::span<const sensor_steps::Machine* const> CSensor_CurrentHDlg::Machines() const {
    return sensor_steps::OneStreamMachines();
}

void CSensor_CurrentHDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    DDX_Text(dx, kCurrentEdit, m_dCurrent);
}
