#pragma once
// The decoding table of telemetry data frames: which data-ID range fills which fields of which
// sensor page, and which refresh follows. The bus scan and the Monitoring listener both apply
// it, and the scan's presence flags come from the same rows, so the three cannot disagree.

#include <cstdint>
#include <optional>
#include <span>

#include "bus/frame.h"

class CSensorPage;
class CSensor_AirSpeedDlg;
class CSensor_CurrentHDlg;
class CSensor_CurrentLDlg;
class CSensor_FuelKitDlg;
class CSensor_GPSDlg;
class CSensor_LipoVoltageDlg;
class CSensor_QWireToUARTDlg;
class CSensor_RPMDlg;
class CSensor_RedundancyBusDlg;
class CSensor_Reserve1Dlg;
class CSensor_Reserve2Dlg;
class CSensor_SteeringEngineDlg;
class CSensor_VariometerDlg;

namespace telemetry {

// The reachable sensor pages; the number is also the page's presence flag.
enum PageIndex : std::uint8_t {
    kLipo,
    kCurrentL,
    kAirSpeed,
    kCurrentH,
    kRpm,
    kRedundancyBus,
    kGps,
    kVariometer,
    kFuelKit,
    kConverter,
    kServo,
    kEsc,
    kVideoTx,
    kPageCount,
};

// The page objects the decoders write into: the program's global pages, or a test's own.
struct Pages {
    CSensor_LipoVoltageDlg* lipo;
    CSensor_CurrentLDlg* currentL;
    CSensor_AirSpeedDlg* airSpeed;
    CSensor_CurrentHDlg* currentH;
    CSensor_RPMDlg* rpm;
    CSensor_RedundancyBusDlg* redundancyBus;
    CSensor_GPSDlg* gps;
    CSensor_VariometerDlg* variometer;
    CSensor_FuelKitDlg* fuelKit;
    CSensor_QWireToUARTDlg* converter;
    CSensor_SteeringEngineDlg* servo;
    CSensor_Reserve1Dlg* esc;
    CSensor_Reserve2Dlg* videoTx;

    CSensorPage* At(PageIndex index) const;
};

// The four value bytes of a telemetry frame (b3 lowest) and the readings the table uses.
struct Value {
    std::uint8_t b3, b4, b5, b6;

    std::int32_t S32() const;    // the 32 bits as a signed two's-complement integer
    std::int32_t Lo16() const;   // b3 + 256·b4, unsigned
    std::int32_t Hi16() const;   // b5 + 256·b6, unsigned
    std::int32_t U24() const;    // b3 + 256·b4 + 65536·b5
    std::int32_t Byte0() const;  // b3
};

enum class Refresh : std::uint8_t { kNone, kDisplay, kGps, kBusStatus };

// One page a row fills: the stores into its fields (none for rows that only locate the
// sensor), then its refresh.
struct Target {
    PageIndex page;
    void (*store)(const Value& value, const Pages& pages);
    Refresh refresh;
};

struct Row {
    std::uint16_t first, last;  // data-ID range, both ends included
    bool monitored;             // also decoded by the Monitoring listener
    std::uint8_t appIdMask;     // what of the data ID is the application ID the scan records
    Target targets[2];
    int targetCount;
};

std::span<const Row> DecodingTable();
// The row whose range holds `dataId`, or null.
const Row* FindRow(std::uint16_t dataId);

enum class Decoder : std::uint8_t { kScan, kMonitor };

// Decodes one accepted body into the pages: a telemetry frame (type 0x10) in a row the decoder
// handles has its fields stored and its page refreshed; the scan first records on the page
// where the sensor answered (`polledIndex`) and its application ID. Returns the bit mask of
// presence flags (1 << PageIndex) the body sets, which the scan counts whatever the type.
std::uint32_t ApplyFrame(const bus::Body& body, const Pages& pages, Decoder decoder,
                         int polledIndex);

}  // namespace telemetry
