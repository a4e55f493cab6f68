// What the GPS page makes of a simulated GPS heard in Monitoring: the hemisphere, degrees and
// whole minutes of its position on every side of the equator and the prime meridian, its
// altitude and speed, and its UTC date and time.

#include <cstdlib>

#include "sensor_page_harness.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/sim_virtual_line.h"

namespace {

using namespace kestrova::test;
using namespace gps_ids;

constexpr int kGpsItem = 9;

struct Place {
    const char* name;
    double latitude, longitude;  // degrees, negative south and west
    double altitude;             // m
    const char* latitudeText;
    const char* longitudeText;
    const char* altitudeText;  // cm
};

const Place kPlaces[] = {
    {"north and west", 47.3769, -8.5417, 480, "North: 47°22′", "West: 8°32′", "48000"},
    {"south and east, below sea level", -33.8688, 151.2093, -1, "South: 33°52′", "East: 151°12′",
     "-100"},
    // Zero degrees and zero minutes print as nothing.
    {"where the equator meets the prime meridian", 0, 0, 0, "North: °′", "East: °′", "0"},
};

class GpsPageTest : public SensorPageTest {
  protected:
    // The simulated GPS standing still at `place`, moving at 12.345 knots.
    static sim::SensorKind GpsAt(const Place& place) {
        sim::SensorKind kind = *sim::FindKind("gps");
        const double values[] = {place.latitude, place.longitude, place.altitude, 12.345};
        for (std::size_t i = 0; i < std::size(values); ++i) {
            kind.quantities[i].base = values[i];
            kind.quantities[i].swing = 0;
        }
        return kind;
    }
    CSensor_GPSDlg& page = g_sensorGPS;
};

TEST_F(GpsPageTest, MonitoringShowsThePositionOnEverySideAltitudeSpeedAndUtcDateAndTime) {
    auto bus = std::make_shared<sim::Bus>();
    StartOn(std::make_shared<SimVirtualLine>(bus), kGpsItem);
    ASSERT_TRUE(Click(&page, sensor_ids::kMonitoring));
    bus->SetReceiverMode(true, platform::Now());
    for (const Place& place : kPlaces) {
        const sim::SensorKind kind = GpsAt(place);
        bus->Devices().clear();
        bus->AddDevice(kind, 3, 0);
        // Latitude and longitude take turns on the position stream, one a second.
        AdvanceMs(3000);
        EXPECT_STREQ(Text(page, kLatitudeEdit), place.latitudeText) << place.name;
        EXPECT_STREQ(Text(page, kLongitudeEdit), place.longitudeText) << place.name;
        EXPECT_STREQ(Text(page, kAltitudeEdit), place.altitudeText) << place.name;
        EXPECT_STREQ(Text(page, kSpeedEdit), "12.345") << place.name;
    }
    bus->Devices().clear();

    // The simulated clock runs from 00:00:00 on 1 January 2025, and the virtual clock of the
    // test starts at 1000 s: the time is 00:16 and some seconds, and an hour of 0 prints as
    // nothing.
    EXPECT_EQ(page.m_nYear, 25);
    EXPECT_EQ(page.m_nMonth, 1);
    EXPECT_EQ(page.m_nDay, 1);
    EXPECT_EQ(page.m_nHour, 0);
    EXPECT_EQ(page.m_nMinute, 16);
    const long long secondOfDay = platform::Now() / 1'000'000 % 86400;
    const long long shownSecondOfDay = 16 * 60 + page.m_nSecond;
    EXPECT_GE(secondOfDay, shownSecondOfDay);
    EXPECT_LE(secondOfDay - shownSecondOfDay, 3) << "the time of a recent frame";
    EXPECT_EQ(Text(page, kTimeEdit).str(), "2025-1-1  :16:" + std::to_string(page.m_nSecond));
    EXPECT_TRUE(modal.MessageTexts().empty());
}

}  // namespace
