#include "sensors/TelemetryDisplay.h"

#include <array>

#include "sensors/Sensor_RedundancyBusDlg.h"

namespace telemetry {

namespace {

bool HasControl(CDataExchange* dx, int id) {
    return dx->m_pDlgWnd && dx->m_pDlgWnd->GetDlgItem(id) != nullptr;
}

// Bits 31-30 of a position word, placed at 0xC0. The division of the signed word rounds
// toward zero, which for the words a GPS sends is exactly the top byte.
int HemisphereCode(int word) {
    return (word / 16777216) & 0xC0;
}

struct StatusBit {
    int edit;
    const char* text;
};

// Channels 1-16, the two receiver inputs and the SBus output report overloads; then the
// receivers' fail-safe and lost-frame states alternate RX1/RX2, then connection, then signal.
using namespace redundancy_bus_ids;
constexpr std::array<StatusBit, kBusStatusBits> kStatusBits = {{
    {kChannelEdits[0], "Overload"},   {kChannelEdits[1], "Overload"},
    {kChannelEdits[2], "Overload"},   {kChannelEdits[3], "Overload"},
    {kChannelEdits[4], "Overload"},   {kChannelEdits[5], "Overload"},
    {kChannelEdits[6], "Overload"},   {kChannelEdits[7], "Overload"},
    {kChannelEdits[8], "Overload"},   {kChannelEdits[9], "Overload"},
    {kChannelEdits[10], "Overload"},  {kChannelEdits[11], "Overload"},
    {kChannelEdits[12], "Overload"},  {kChannelEdits[13], "Overload"},
    {kChannelEdits[14], "Overload"},  {kChannelEdits[15], "Overload"},
    {kRx1InEdit, "Overload"},         {kRx2InEdit, "Overload"},
    {kSBusOutEdit, "Overload"},       {kRx1FailSafeEdit, "FailSafe"},
    {kRx1LostFrameEdit, "LostFrame"}, {kRx2FailSafeEdit, "FailSafe"},
    {kRx2LostFrameEdit, "LostFrame"}, {kRx1ConnectionEdit, "Lost"},
    {kRx2ConnectionEdit, "Lost"},     {kRx1NoSignalEdit, "NoSignal"},
    {kRx2NoSignalEdit, "NoSignal"},
}};

}  // namespace

void ExchangeValueText(CDataExchange* dx, int id, double& value) {
    if (HasControl(dx, id)) DDX_Text(dx, id, value);
}

void ExchangeValueText(CDataExchange* dx, int id, int& value) {
    if (HasControl(dx, id)) DDX_Text(dx, id, value);
}

bool GpsPositionText(int word, bool longitude, CString& text) {
    const unsigned magnitude = static_cast<unsigned>(word) & 0x3FFFFFFFu;
    const int degrees = static_cast<int>(magnitude / 600000);
    const int minutes = static_cast<int>((magnitude % 600000) / 10000);
    const char* hemisphere = nullptr;
    switch (HemisphereCode(word)) {
        case 0x00:
            hemisphere = longitude ? nullptr : "North";
            break;
        case 0x40:
            hemisphere = longitude ? nullptr : "South";
            break;
        case 0x80:
            hemisphere = longitude ? "East" : nullptr;
            break;
        case 0xC0:
            hemisphere = longitude ? "West" : nullptr;
            break;
    }
    if (!hemisphere) return false;
    text.Format("%s: %.d°%.d′", hemisphere, degrees, minutes);
    return true;
}

void SplitGpsDateTime(int word, GpsDateTime& f) {
    const int q3 = word / 16777216;
    const int q2 = (word / 65536) & 0xFF;
    const int q1 = (word / 256) & 0xFF;
    switch (word & 0xFF) {
        case 0:
            f.hour = q3, f.minute = q2, f.second = q1;
            break;
        case 1:
            f.year = q3, f.month = q2, f.day = q1;
            break;
    }
}

CString GpsDateTimeText(const GpsDateTime& f) {
    CString text;
    text.Format("20%.d-%.d-%.d  %.d:%.d:%.d", f.year, f.month, f.day, f.hour, f.minute, f.second);
    return text;
}

int BusStatusEdit(int bit) {
    return kStatusBits[static_cast<std::size_t>(bit)].edit;
}

const char* BusStatusText(unsigned status, int bit) {
    return ((status >> bit) & 1u) ? kStatusBits[static_cast<std::size_t>(bit)].text : "Normal";
}

}  // namespace telemetry
