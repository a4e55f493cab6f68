#include "sensors/Sensor_CurrentHDlg.h"

#include "sensors/CommonHints.h"
#include "sensors/StandardMachines.h"

namespace {

using namespace sensor_ids;

constexpr int kCurrentEdit = 1059;

// The data-rate pair comes before the value pair on this page.
constexpr CSensorPage::Hint kHints[] = {
    {kPhysIdLabel, "Physical ID:    Range:0-27    Default:2", kPhysIdEdit},
    {kDataRateLabel, "Data Rate:    Range:100-25500ms    Default:500ms", kDataRateEdit},
    {1112, "Current:    Range:0.1-150.0A    Precise:0.1A", kCurrentEdit},
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
    return sensor_steps::OneStreamMachines().Machines();
}

void CSensor_CurrentHDlg::DoDataExchange(CDataExchange* dx) {
    CSensorPage::DoDataExchange(dx);
    DDX_Text(dx, kCurrentEdit, m_dCurrent);
}
