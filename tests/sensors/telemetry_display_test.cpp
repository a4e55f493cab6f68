// What the GPS and redundancy-bus pages make of their words, and that every refresh is
// harmless on a page that has no window yet.

#include <gtest/gtest.h>

#include <map>

#include "sensors/Sensor_CurrentLDlg.h"
#include "sensors/Sensor_FuelKitDlg.h"
#include "sensors/Sensor_GPSDlg.h"
#include "sensors/Sensor_LipoVoltageDlg.h"
#include "sensors/Sensor_QWireToUARTDlg.h"
#include "sensors/Sensor_RPMDlg.h"
#include "sensors/Sensor_RedundancyBusDlg.h"
#include "sensors/Sensor_Reserve1Dlg.h"
#include "sensors/Sensor_VariometerDlg.h"
#include "sensors/TelemetryDisplay.h"

namespace {

std::string Position(std::uint32_t word, bool longitude) {
    CString text = "unchanged";
    telemetry::GpsPositionText(static_cast<int>(word), longitude, text);
    return text.str();
}

TEST(GpsTextTest, PositionShowsHemisphereDegreesAndWholeMinutes) {
    EXPECT_EQ(Position(0x01C9C380, false), "North: 50°′") << "zero minutes print as nothing";
    EXPECT_EQ(Position(0x41C9C380, false), "South: 50°′");
    EXPECT_EQ(Position(0x81D905C0, true), "East: 51°40′");
    EXPECT_EQ(Position(0xC1D905C0, true), "West: 51°40′");
    EXPECT_EQ(Position(3111234, false), "North: 5°11′") << "the fraction of a minute is dropped";
    EXPECT_EQ(Position(0, false), "North: °′");
    // A word of the other axis leaves the edit as it was.
    EXPECT_EQ(Position(0x81D905C0, false), "unchanged");
    EXPECT_EQ(Position(0x41C9C380, true), "unchanged");
    EXPECT_EQ(Position(0, true), "unchanged");
}

TEST(GpsTextTest, DateAndTimeFramesEachFillTheirHalf) {
    telemetry::GpsDateTime f;
    EXPECT_EQ(telemetry::GpsDateTimeText(f).str(), "20--  ::");
    telemetry::SplitGpsDateTime(0x0D1E2D00, f);
    EXPECT_EQ(telemetry::GpsDateTimeText(f).str(), "20--  13:30:45");
    telemetry::SplitGpsDateTime(0x13080F01, f);
    EXPECT_EQ(telemetry::GpsDateTimeText(f).str(), "2019-8-15  13:30:45");
    telemetry::SplitGpsDateTime(0x01020302, f);
    EXPECT_EQ(telemetry::GpsDateTimeText(f).str(), "2019-8-15  13:30:45")
        << "a word that is neither date nor time changes nothing";
}

TEST(BusStatusTest, EachOfTheTwentySevenBitsHasItsEditAndText) {
    for (int bit = 0; bit < telemetry::kBusStatusBits; ++bit)
        EXPECT_STREQ(telemetry::BusStatusText(0, bit), "Normal");
    const std::pair<int, const char*> all[] = {
        {1023, "Overload"}, {1030, "Overload"},  {1032, "Overload"},  {1039, "Overload"},
        {1031, "Overload"}, {1040, "Overload"},  {1049, "Overload"},  {1041, "FailSafe"},
        {1042, "FailSafe"}, {1043, "LostFrame"}, {1044, "LostFrame"}, {1047, "Lost"},
        {1048, "Lost"},     {1045, "NoSignal"},  {1046, "NoSignal"},
    };
    std::map<int, std::string> shown;
    for (int bit = 0; bit < telemetry::kBusStatusBits; ++bit)
        shown[telemetry::BusStatusEdit(bit)] = telemetry::BusStatusText(0xFFFFFFFF, bit);
    EXPECT_EQ(shown.size(), 27u) << "27 different edits";
    for (auto [edit, text] : all) EXPECT_EQ(shown[edit], text) << edit;

    EXPECT_EQ(telemetry::BusStatusEdit(20), 1043);
    EXPECT_STREQ(telemetry::BusStatusText(1u << 20, 20), "LostFrame");
    EXPECT_STREQ(telemetry::BusStatusText(1u << 20, 19), "Normal");
    EXPECT_STREQ(telemetry::BusStatusText(1u << 20, 21), "Normal");
    EXPECT_EQ(telemetry::BusStatusEdit(21), 1042);
    EXPECT_STREQ(telemetry::BusStatusText(1u << 21, 21), "FailSafe");
    for (int bit = 0; bit < telemetry::kBusStatusBits; ++bit)
        EXPECT_STREQ(telemetry::BusStatusText(0xF8000000, bit), "Normal") << "bits 27-31";
}

TEST(PageRefreshTest, RefreshesWithoutAWindowChangeNoValue) {
    CSensor_GPSDlg gps;
    gps.m_nDateTime = 0x0D1E2D00;
    gps.m_nAltitude = 5;
    gps.RefreshGpsDisplay();
    EXPECT_EQ(gps.m_nHour, 13);
    EXPECT_EQ(gps.m_nAltitude, 5);

    CSensor_RedundancyBusDlg bus;
    bus.m_dBattery1Voltage = 3.7;
    bus.ShowBusStatus();
    EXPECT_EQ(bus.m_dBattery1Voltage, 3.7);

    CSensor_Reserve1Dlg esc;
    EXPECT_EQ(esc.m_nPole, 1) << "a new ESC page starts with one pole";
    esc.RefreshDisplay();
    CSensor_LipoVoltageDlg lipo;
    lipo.RefreshDisplay();
    CSensor_FuelKitDlg fuel;
    fuel.RefreshDisplay();
}

}  // namespace
