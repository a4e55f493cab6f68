#include "sensors/TelemetryTable.h"

#include "bus/protocol.h"

#include <array>
#include <functional>
#include <type_traits>

#include "sensors/Sensor_AirSpeedDlg.h"
#include "sensors/Sensor_CurrentHDlg.h"
#include "sensors/Sensor_CurrentLDlg.h"
#include "sensors/Sensor_FuelKitDlg.h"
#include "sensors/Sensor_GPSDlg.h"
#include "sensors/Sensor_LipoVoltageDlg.h"
#include "sensors/Sensor_QWireToUARTDlg.h"
#include "sensors/Sensor_RPMDlg.h"
#include "sensors/Sensor_RedundancyBusDlg.h"
#include "sensors/Sensor_Reserve1Dlg.h"
#include "sensors/Sensor_Reserve2Dlg.h"
#include "sensors/Sensor_SteeringEngineDlg.h"
#include "sensors/Sensor_VariometerDlg.h"

namespace telemetry {

CSensorPage* Pages::At(PageIndex index) const {
    switch (index) {
        case kLipo:
            return lipo;
        case kCurrentL:
            return currentL;
        case kAirSpeed:
            return airSpeed;
        case kCurrentH:
            return currentH;
        case kRpm:
            return rpm;
        case kRedundancyBus:
            return redundancyBus;
        case kGps:
            return gps;
        case kVariometer:
            return variometer;
        case kFuelKit:
            return fuelKit;
        case kConverter:
            return converter;
        case kServo:
            return servo;
        case kEsc:
            return esc;
        case kVideoTx:
            return videoTx;
        case kPageCount:
            break;
    }
    return nullptr;
}

std::int32_t Value::S32() const {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(b3) | static_cast<std::uint32_t>(b4) << 8 |
        static_cast<std::uint32_t>(b5) << 16 | static_cast<std::uint32_t>(b6) << 24);
}
std::int32_t Value::Lo16() const {
    return b3 + 256 * b4;
}
std::int32_t Value::Hi16() const {
    return b5 + 256 * b6;
}
std::int32_t Value::U24() const {
    return b3 + 256 * b4 + 65536 * b5;
}
std::int32_t Value::Byte0() const {
    return b3;
}

namespace {

// The fuel kit sends its temperatures as 16 bits; the top 4096 counts are below
// zero.
std::int32_t FuelTemperature(const Value& v) {
    std::int32_t t = v.Lo16();
    return t > 61440 ? t - 65536 : t;
}

// Field = Read(value) / Divisor, for a double field.
template <auto PageOf, auto Field, auto Read, int Divisor>
void Scaled(const Value& v, const Pages& p) {
    static_assert(std::is_same_v<std::remove_cvref_t<decltype((*(p.*PageOf)).*Field)>, double>);
    (*(p.*PageOf)).*Field = static_cast<double>(std::invoke(Read, v)) / Divisor;
}

// Field = Read(value), for an int field.
template <auto PageOf, auto Field, auto Read>
void Whole(const Value& v, const Pages& p) {
    static_assert(std::is_same_v<std::remove_cvref_t<decltype((*(p.*PageOf)).*Field)>, int>);
    (*(p.*PageOf)).*Field = std::invoke(Read, v);
}

// Several fields from one frame, in the order given.
template <auto... Stores>
void Both(const Value& v, const Pages& p) {
    (Stores(v, p), ...);
}

// One frame carries two cells, named by the index of the first, and the
// pack's cell count. Cells above the count are not in the pack: they show 0
// and stay out of the pack voltage, or a smaller pack after a bigger one would
// keep the old pack's last cells and add them to its voltage.
void LipoCells(const Value& v, const Pages& p) {
    CSensor_LipoVoltageDlg& page = *p.lipo;
    const int count = v.b3 >> 4;
    page.m_dCellCount = count;
    const double a = ((v.b5 & 0x0F) * 256 + v.b4) / 500.0;
    const double b = (v.b6 * 16 + (v.b5 >> 4)) / 500.0;
    switch (v.b3 & 0x0F) {
        case 0:
            page.m_dCell1 = a, page.m_dCell2 = b;
            break;
        case 2:
            page.m_dCell3 = a, page.m_dCell4 = b;
            break;
        case 4:
            page.m_dCell5 = a, page.m_dCell6 = b;
            break;
    }
    double* const cells[] = {&page.m_dCell1, &page.m_dCell2, &page.m_dCell3,
                             &page.m_dCell4, &page.m_dCell5, &page.m_dCell6};
    for (int i = count; i < 6; ++i) *cells[i] = 0.0;
    page.m_dTotalVoltage = page.m_dCell1 + page.m_dCell2 + page.m_dCell3 + page.m_dCell4 +
                           page.m_dCell5 + page.m_dCell6;
}

// The position stream alternates latitude and longitude; bit 31 of the word
// tells which.
void GpsPosition(const Value& v, const Pages& p) {
    if (v.b6 & 0x80)
        p.gps->m_nLongitude = v.S32();
    else
        p.gps->m_nLatitude = v.S32();
}

// The pole count comes from the user; one below 1 is raised on the page so the
// speed never divides by zero.
void EscSpeed(const Value& v, const Pages& p) {
    CSensor_Reserve1Dlg& page = *p.esc;
    if (page.m_nPole < 1) page.m_nPole = 1;
    page.m_nSpeed = v.Lo16() * 100 / page.m_nPole;
    page.m_nConsumption = v.Hi16();
}

using P = Pages;
using V = Value;
using Lipo = CSensor_LipoVoltageDlg;
using CurL = CSensor_CurrentLDlg;
using CurH = CSensor_CurrentHDlg;
using Air = CSensor_AirSpeedDlg;
using Rpm = CSensor_RPMDlg;
using Rb = CSensor_RedundancyBusDlg;
using Gps = CSensor_GPSDlg;
using Vario = CSensor_VariometerDlg;
using Fuel = CSensor_FuelKitDlg;
using Conv = CSensor_QWireToUARTDlg;
using Esc = CSensor_Reserve1Dlg;

constexpr Refresh kDisplay = Refresh::kDisplay;
constexpr bool kListened = true;   // Monitoring decodes it too
constexpr bool kScanOnly = false;  // only the Configure scan
constexpr std::uint8_t kAppId = 0x0F;
// The converter's own range is 256 wide, so there the whole low byte is its application ID. Its
// ADC streams are 16 wide as every other stream: the whole byte of the ADC2 stream would be 16
// more than the converter holds, and the next Read would ask a data ID it does not answer.
constexpr std::uint8_t kLowByte = 0xFF;

constexpr Row One(std::uint16_t first, std::uint16_t last, bool monitored, Target target,
                  std::uint8_t appIdMask = kAppId) {
    return Row{first, last, monitored, appIdMask, {target, {}}, 1};
}

constexpr Row Two(std::uint16_t first, std::uint16_t last, bool monitored, Target a, Target b) {
    return Row{first, last, monitored, kAppId, {a, b}, 2};
}

// Rows in the order they are tested.
constexpr Row kTable[] = {
    One(0x0300, 0x030F, kListened, {kLipo, LipoCells, kDisplay}),
    // Both current sensors send on this stream, so both current pages show it.
    Two(0x0200, 0x020F, kListened,
        {kCurrentL, Scaled<&P::currentL, &CurL::m_dCurrent, &V::S32, 10>, kDisplay},
        {kCurrentH, Scaled<&P::currentH, &CurH::m_dCurrent, &V::S32, 10>, kDisplay}),
    One(0x0210, 0x021F, kListened,
        {kCurrentL, Scaled<&P::currentL, &CurL::m_dVoltage, &V::S32, 100>, kDisplay}),
    One(0x0A00, 0x0A0F, kListened,
        {kAirSpeed, Scaled<&P::airSpeed, &Air::m_dAirSpeed, &V::S32, 10>, kDisplay}),
    One(0x0400, 0x040F, kListened,
        {kRpm, Whole<&P::rpm, &Rpm::m_nTemperature1, &V::S32>, kDisplay}),
    One(0x0410, 0x041F, kListened,
        {kRpm, Whole<&P::rpm, &Rpm::m_nTemperature2, &V::S32>, kDisplay}),
    One(0x0500, 0x050F, kListened, {kRpm, Whole<&P::rpm, &Rpm::m_nSpeed, &V::S32>, kDisplay}),
    One(0x0B00, 0x0B0F, kListened,
        {kRedundancyBus,
         Both<Scaled<&P::redundancyBus, &Rb::m_dBattery1Voltage, &V::Lo16, 1000>,
              Scaled<&P::redundancyBus, &Rb::m_dBattery1Current, &V::Hi16, 1000>>,
         Refresh::kBusStatus}),
    One(0x0B10, 0x0B1F, kListened,
        {kRedundancyBus,
         Both<Scaled<&P::redundancyBus, &Rb::m_dBattery2Voltage, &V::Lo16, 1000>,
              Scaled<&P::redundancyBus, &Rb::m_dBattery2Current, &V::Hi16, 1000>>,
         Refresh::kBusStatus}),
    One(0x0B20, 0x0B2F, kListened,
        {kRedundancyBus, Whole<&P::redundancyBus, &Rb::m_nBusStatus, &V::S32>,
         Refresh::kBusStatus}),
    One(0x0B30, 0x0B3F, kListened,
        {kRedundancyBus,
         Both<Whole<&P::redundancyBus, &Rb::m_nBattery1Capacity, &V::Lo16>,
              Whole<&P::redundancyBus, &Rb::m_nBattery2Capacity, &V::Hi16>>,
         Refresh::kBusStatus}),
    One(0x0800, 0x080F, kListened, {kGps, GpsPosition, Refresh::kGps}),
    One(0x0820, 0x082F, kListened,
        {kGps, Whole<&P::gps, &Gps::m_nAltitude, &V::S32>, Refresh::kGps}),
    One(0x0830, 0x083F, kListened,
        {kGps, Scaled<&P::gps, &Gps::m_dSpeed, &V::S32, 1000>, Refresh::kGps}),
    One(0x0850, 0x085F, kListened,
        {kGps, Whole<&P::gps, &Gps::m_nDateTime, &V::S32>, Refresh::kGps}),
    One(0x0100, 0x010F, kListened,
        {kVariometer, Scaled<&P::variometer, &Vario::m_dAltitude, &V::S32, 100>, kDisplay}),
    One(0x0110, 0x011F, kListened,
        {kVariometer, Scaled<&P::variometer, &Vario::m_dAltitudeRate, &V::S32, 100>, kDisplay}),
    One(0x0D00, 0x0D0F, kListened,
        {kFuelKit, Whole<&P::fuelKit, &Fuel::m_nTemperature1, FuelTemperature>, kDisplay}),
    One(0x0D10, 0x0D1F, kListened,
        {kFuelKit, Whole<&P::fuelKit, &Fuel::m_nTemperature2, FuelTemperature>, kDisplay}),
    One(0x0D20, 0x0D2F, kListened,
        {kFuelKit, Whole<&P::fuelKit, &Fuel::m_nRevolvingSpeed, &V::U24>, kDisplay}),
    One(0x0D30, 0x0D3F, kListened,
        {kFuelKit, Whole<&P::fuelKit, &Fuel::m_nResidualVolume, &V::Lo16>, kDisplay}),
    One(0x0D40, 0x0D4F, kListened,
        {kFuelKit, Whole<&P::fuelKit, &Fuel::m_nResidualPercent, &V::Lo16>, kDisplay}),
    One(0x0D50, 0x0D5F, kListened,
        {kFuelKit, Whole<&P::fuelKit, &Fuel::m_nFlow, &V::Lo16>, kDisplay}),
    One(0x0D60, 0x0D6F, kListened,
        {kFuelKit, Whole<&P::fuelKit, &Fuel::m_nMaximumFlow, &V::Lo16>, kDisplay}),
    One(0x0D70, 0x0D7F, kListened,
        {kFuelKit, Whole<&P::fuelKit, &Fuel::m_nAverageFlow, &V::Lo16>, kDisplay}),
    One(0x0900, 0x090F, kListened,
        {kConverter, Scaled<&P::converter, &Conv::m_dAdc1, &V::S32, 100>, kDisplay}),
    One(0x0910, 0x091F, kListened,
        {kConverter, Scaled<&P::converter, &Conv::m_dAdc2, &V::S32, 100>, kDisplay}),
    One(0xFD00, 0xFDFF, kScanOnly,
        {kConverter, Scaled<&P::converter, &Conv::m_dAdc1, &V::S32, 100>, kDisplay}, kLowByte),
    // The servo and the video transmitter send nothing to show; the scan only
    // locates them.
    One(0x0B40, 0x0B4F, kScanOnly, {kServo, nullptr, kDisplay}),
    One(0x0B50, 0x0B5F, kListened,
        {kEsc,
         Both<Scaled<&P::esc, &Esc::m_dVoltage, &V::Lo16, 100>,
              Scaled<&P::esc, &Esc::m_dCurrent, &V::Hi16, 100>>,
         kDisplay}),
    One(0x0B60, 0x0B6F, kListened, {kEsc, EscSpeed, kDisplay}),
    One(0x0B70, 0x0B7F, kListened,
        {kEsc, Scaled<&P::esc, &Esc::m_dTemperature, &V::Byte0, 1>, kDisplay}),
    One(0x0E10, 0x0E1F, kScanOnly, {kVideoTx, nullptr, Refresh::kNone}),
};

void RunRefresh(Refresh refresh, PageIndex index, const Pages& pages) {
    switch (refresh) {
        case Refresh::kNone:
            break;
        case Refresh::kDisplay:
            pages.At(index)->RefreshDisplay();
            break;
        case Refresh::kGps:
            pages.gps->RefreshGpsDisplay();
            break;
        case Refresh::kBusStatus:
            pages.redundancyBus->ShowBusStatus();
            break;
    }
}

}  // namespace

std::span<const Row> DecodingTable() {
    return kTable;
}

const Row* FindRow(std::uint16_t dataId) {
    for (const Row& row : kTable)
        if (dataId >= row.first && dataId <= row.last) return &row;
    return nullptr;
}

std::uint32_t ApplyFrame(const bus::Body& body, const Pages& pages, Decoder decoder,
                         int polledIndex) {
    const std::uint16_t dataId = static_cast<std::uint16_t>(body[2] << 8 | body[1]);
    const Row* row = FindRow(dataId);
    if (!row) return 0;
    std::uint32_t presence = 0;
    for (int i = 0; i < row->targetCount; ++i) presence |= 1u << row->targets[i].page;

    if (body[0] != bus::kTypeTelemetry) return presence;
    if (decoder == Decoder::kMonitor && !row->monitored) return presence;

    const Value value{body[3], body[4], body[5], body[6]};
    for (int i = 0; i < row->targetCount; ++i) {
        const Target& target = row->targets[i];
        if (target.store) target.store(value, pages);
        if (decoder == Decoder::kScan) {
            CSensorPage* page = pages.At(target.page);
            page->m_nPhysIdIndex = polledIndex;
            page->m_nAppId = dataId & row->appIdMask;
        }
        RunRefresh(target.refresh, target.page, pages);
    }
    return presence;
}

}  // namespace telemetry
