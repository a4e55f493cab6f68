// The decoding table row by row, on page objects of the test's own (no windows): what each
// data ID stores, what the scan records, what the Monitoring listener leaves alone, and which
// presence flags a body sets.

#include <gtest/gtest.h>

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
#include "sensors/TelemetryTable.h"

namespace {

using telemetry::Decoder;

bus::Body Frame(std::uint16_t dataId, std::uint32_t value, std::uint8_t type = 0x10) {
    return bus::Body{type,
                     static_cast<std::uint8_t>(dataId & 0xFF),
                     static_cast<std::uint8_t>(dataId >> 8),
                     static_cast<std::uint8_t>(value),
                     static_cast<std::uint8_t>(value >> 8),
                     static_cast<std::uint8_t>(value >> 16),
                     static_cast<std::uint8_t>(value >> 24),
                     0x00};
}

constexpr std::uint32_t Bit(telemetry::PageIndex page) {
    return 1u << page;
}

class TelemetryTableTest : public ::testing::Test {
  protected:
    std::uint32_t Scan(std::uint16_t id, std::uint32_t value, int polled = 7) {
        return telemetry::ApplyFrame(Frame(id, value), pages, Decoder::kScan, polled);
    }
    void Monitor(std::uint16_t id, std::uint32_t value) {
        telemetry::ApplyFrame(Frame(id, value), pages, Decoder::kMonitor, 0);
    }
    // Every page's IDs set to a mark, so a test sees which ones the scan touched.
    void MarkIds() {
        for (int i = 0; i < telemetry::kPageCount; ++i) {
            CSensorPage* page = pages.At(static_cast<telemetry::PageIndex>(i));
            page->m_nAppId = -1;
            page->m_nPhysIdIndex = -1;
        }
    }
    int TouchedPages() {
        int n = 0;
        for (int i = 0; i < telemetry::kPageCount; ++i)
            n += pages.At(static_cast<telemetry::PageIndex>(i))->m_nAppId != -1;
        return n;
    }

    CSensor_LipoVoltageDlg lipo;
    CSensor_CurrentLDlg currentL;
    CSensor_AirSpeedDlg airSpeed;
    CSensor_CurrentHDlg currentH;
    CSensor_RPMDlg rpm;
    CSensor_RedundancyBusDlg redundancyBus;
    CSensor_GPSDlg gps;
    CSensor_VariometerDlg variometer;
    CSensor_FuelKitDlg fuelKit;
    CSensor_QWireToUARTDlg converter;
    CSensor_SteeringEngineDlg servo;
    CSensor_Reserve1Dlg esc;
    CSensor_Reserve2Dlg videoTx;
    telemetry::Pages pages{&lipo,          &currentL, &airSpeed,   &currentH, &rpm,
                           &redundancyBus, &gps,      &variometer, &fuelKit,  &converter,
                           &servo,         &esc,      &videoTx};
};

TEST_F(TelemetryTableTest, LipoFrameCarriesTheCountAndTwoCellsNamedByTheFirst) {
    lipo.m_dCell1 = 3.0, lipo.m_dCell6 = 4.0;
    Scan(0x0300, 0x10123462);  // b3 0x62: six cells, first index 2
    EXPECT_EQ(lipo.m_dCellCount, 6);
    EXPECT_DOUBLE_EQ(lipo.m_dCell3, (2 * 256 + 0x34) / 500.0);  // 1.128 V
    EXPECT_DOUBLE_EQ(lipo.m_dCell4, (0x10 * 16 + 1) / 500.0);   // 0.514 V
    EXPECT_DOUBLE_EQ(lipo.m_dTotalVoltage, 3.0 + 1.128 + 0.514 + 4.0);

    Scan(0x0300, 0x83483460);  // first index 0: 4.2 V and 4.2 V
    EXPECT_DOUBLE_EQ(lipo.m_dCell1, 4.2);
    EXPECT_DOUBLE_EQ(lipo.m_dCell2, 4.2);
    EXPECT_DOUBLE_EQ(lipo.m_dTotalVoltage, 8.4 + 1.128 + 0.514 + 4.0);

    Scan(0x0300, 0xFFFFFF64);  // first index 4: cells 5 and 6 take the readings
    EXPECT_EQ(lipo.m_dCellCount, 6);
    EXPECT_DOUBLE_EQ(lipo.m_dCell5, 4095 / 500.0);
    EXPECT_DOUBLE_EQ(lipo.m_dCell6, 4095 / 500.0);

    Scan(0x0300, 0xFFFFFF44);  // the same from a four-cell pack: cells 5 and 6 are not in it
    EXPECT_EQ(lipo.m_dCellCount, 4);
    EXPECT_EQ(lipo.m_dCell5, 0.0);
    EXPECT_EQ(lipo.m_dCell6, 0.0);
}

TEST_F(TelemetryTableTest, ASmallerPackAfterABiggerOneShowsNoCellsAboveItsCount) {
    for (std::uint32_t cells : {0x83483460u, 0x83483462u, 0x83483464u}) Scan(0x0300, cells);
    ASSERT_DOUBLE_EQ(lipo.m_dTotalVoltage, 6 * 4.2) << "a full six-cell pack";

    Monitor(0x0300, 0x83483440);  // a four-cell pack: cells 1 and 2
    EXPECT_EQ(lipo.m_dCellCount, 4);
    EXPECT_DOUBLE_EQ(lipo.m_dCell3, 4.2) << "cells 3 and 4 wait for their own frame";
    EXPECT_EQ(lipo.m_dCell5, 0.0);
    EXPECT_EQ(lipo.m_dCell6, 0.0);
    EXPECT_DOUBLE_EQ(lipo.m_dTotalVoltage, 4 * 4.2) << "the old pack's cells 5 and 6 left out";

    Monitor(0x0300, 0x83483421);  // two cells, an index no frame should carry
    EXPECT_EQ(lipo.m_dCell1, 4.2);
    EXPECT_EQ(lipo.m_dCell3, 0.0);
    EXPECT_DOUBLE_EQ(lipo.m_dTotalVoltage, 2 * 4.2);
}

TEST_F(TelemetryTableTest, LipoFrameWithAnOddFirstIndexChangesOnlyCountTotalAndIds) {
    lipo.m_dCell1 = 1.0, lipo.m_dCell2 = 2.0, lipo.m_dCell3 = 3.0;
    MarkIds();
    Scan(0x0305, 0xFFFFFF31, 12);
    EXPECT_EQ(lipo.m_dCellCount, 3);
    EXPECT_EQ(lipo.m_dCell1, 1.0);
    EXPECT_EQ(lipo.m_dCell2, 2.0);
    EXPECT_EQ(lipo.m_dCell3, 3.0);
    EXPECT_EQ(lipo.m_dCell4, 0.0);
    EXPECT_DOUBLE_EQ(lipo.m_dTotalVoltage, 6.0);
    EXPECT_EQ(lipo.m_nAppId, 5);
    EXPECT_EQ(lipo.m_nPhysIdIndex, 12);
}

TEST_F(TelemetryTableTest, CurrentStreamFillsBothCurrentPagesAndTheVoltageOnlyTheSmallOne) {
    MarkIds();
    std::uint32_t presence = Scan(0x0201, 1234, 4);
    EXPECT_DOUBLE_EQ(currentL.m_dCurrent, 123.4);
    EXPECT_DOUBLE_EQ(currentH.m_dCurrent, 123.4);
    EXPECT_EQ(presence, Bit(telemetry::kCurrentL) | Bit(telemetry::kCurrentH));
    for (CSensorPage* page :
         {static_cast<CSensorPage*>(&currentL), static_cast<CSensorPage*>(&currentH)}) {
        EXPECT_EQ(page->m_nAppId, 1);
        EXPECT_EQ(page->m_nPhysIdIndex, 4);
    }
    EXPECT_EQ(TouchedPages(), 2);

    Monitor(0x020F, static_cast<std::uint32_t>(-25));
    EXPECT_DOUBLE_EQ(currentL.m_dCurrent, -2.5);
    EXPECT_DOUBLE_EQ(currentH.m_dCurrent, -2.5);

    Scan(0x0213, 1180);
    EXPECT_DOUBLE_EQ(currentL.m_dVoltage, 11.8);
    EXPECT_DOUBLE_EQ(currentH.m_dCurrent, -2.5);
    EXPECT_EQ(currentL.m_nAppId, 3);
    EXPECT_EQ(currentH.m_nAppId, 1) << "the voltage stream is the 40 A sensor's alone, and "
                                       "Monitoring records no IDs";
}

TEST_F(TelemetryTableTest, AirSpeedIsSignedTenths) {
    Scan(0x0A03, 0xFFFFFF9C);
    EXPECT_DOUBLE_EQ(airSpeed.m_dAirSpeed, -10.0);
    EXPECT_EQ(airSpeed.m_nAppId, 3);
    Monitor(0x0A00, static_cast<std::uint32_t>(-5));
    EXPECT_DOUBLE_EQ(airSpeed.m_dAirSpeed, -0.5);
}

TEST_F(TelemetryTableTest, RpmStreamsAreStoredUnscaled) {
    Scan(0x0400, 0xFFFFFFF6);
    Scan(0x0410, 40);
    Monitor(0x0502, 9000);
    EXPECT_EQ(rpm.m_nTemperature1, -10);
    EXPECT_EQ(rpm.m_nTemperature2, 40);
    EXPECT_EQ(rpm.m_nSpeed, 9000);
}

TEST_F(TelemetryTableTest, RedundancyBusSplitsItsWordsIntoUnsignedHalves) {
    Scan(0x0B00, 1250u << 16 | 3700u);
    EXPECT_DOUBLE_EQ(redundancyBus.m_dBattery1Voltage, 3.7);
    EXPECT_DOUBLE_EQ(redundancyBus.m_dBattery1Current, 1.25);
    Monitor(0x0B11, 0xFFFF8000);
    EXPECT_DOUBLE_EQ(redundancyBus.m_dBattery2Voltage, 32.768);
    EXPECT_DOUBLE_EQ(redundancyBus.m_dBattery2Current, 65.535);
    Scan(0x0B22, 0x87FFFFFF);
    EXPECT_EQ(redundancyBus.m_nBusStatus, static_cast<int>(0x87FFFFFF));
    Scan(0x0B3F, 60000u << 16 | 1200u);
    EXPECT_EQ(redundancyBus.m_nBattery1Capacity, 1200);
    EXPECT_EQ(redundancyBus.m_nBattery2Capacity, 60000);
    EXPECT_EQ(redundancyBus.m_nAppId, 15);
}

TEST_F(TelemetryTableTest, GpsPositionGoesToLatitudeOrLongitudeByItsTopBit) {
    Scan(0x0800, 0x41C9C380);
    EXPECT_EQ(gps.m_nLatitude, 0x41C9C380);
    Scan(0x0800, 0xC1D905C0);
    EXPECT_EQ(gps.m_nLongitude, static_cast<int>(0xC1D905C0));
    Monitor(0x0801, 0x81D905C0);
    EXPECT_EQ(gps.m_nLongitude, static_cast<int>(0x81D905C0));
    Monitor(0x0801, 0x01C9C380);
    EXPECT_EQ(gps.m_nLatitude, 0x01C9C380);

    Scan(0x0820, 0xFFFFFF9C);
    Scan(0x0830, 12345);
    Scan(0x0850, 0x13080F01);
    EXPECT_EQ(gps.m_nAltitude, -100);
    EXPECT_DOUBLE_EQ(gps.m_dSpeed, 12.345);
    EXPECT_EQ(gps.m_nDateTime, 0x13080F01);
    // The refresh splits the word even while the page has no window.
    EXPECT_EQ(gps.m_nYear, 19);
    EXPECT_EQ(gps.m_nMonth, 8);
    EXPECT_EQ(gps.m_nDay, 15);
}

TEST_F(TelemetryTableTest, VariometerIsSignedHundredths) {
    Scan(0x0100, static_cast<std::uint32_t>(-1234));
    Monitor(0x0110, 450);
    EXPECT_DOUBLE_EQ(variometer.m_dAltitude, -12.34);
    EXPECT_DOUBLE_EQ(variometer.m_dAltitudeRate, 4.5);
}

TEST_F(TelemetryTableTest, FuelKitTemperaturesBelowZeroAndSixteenBitStreams) {
    Scan(0x0D00, 0x1234FFF6);  // the high half is not part of the temperature
    EXPECT_EQ(fuelKit.m_nTemperature1, -10);
    Scan(0x0D10, 0xF000);
    EXPECT_EQ(fuelKit.m_nTemperature2, 61440) << "61440 itself is not below zero";
    Scan(0x0D10, 0xF001);
    EXPECT_EQ(fuelKit.m_nTemperature2, -4095);
    Scan(0x0D20, 0xFF123456);
    EXPECT_EQ(fuelKit.m_nRevolvingSpeed, 0x123456) << "24 bits, the top byte ignored";
    Scan(0x0D30, 0xFFFF0190);
    Scan(0x0D40, 0x00010050);
    Scan(0x0D50, 150);
    Monitor(0x0D60, 0xFFFF);
    Monitor(0x0D7F, 0xABCD00C8);
    EXPECT_EQ(fuelKit.m_nResidualVolume, 400);
    EXPECT_EQ(fuelKit.m_nResidualPercent, 80);
    EXPECT_EQ(fuelKit.m_nFlow, 150);
    EXPECT_EQ(fuelKit.m_nMaximumFlow, 65535);
    EXPECT_EQ(fuelKit.m_nAverageFlow, 200);
}

TEST_F(TelemetryTableTest, ConverterRecordsTheWholeLowByteOnlyInItsOwnRangeAndOnlyInTheScan) {
    Scan(0x0913, 330);
    EXPECT_DOUBLE_EQ(converter.m_dAdc2, 3.3);
    EXPECT_EQ(converter.m_nAppId, 3) << "the ADC2 stream is 0x0910 plus the application ID";
    Scan(0xFD2A, static_cast<std::uint32_t>(-150));
    EXPECT_DOUBLE_EQ(converter.m_dAdc1, -1.5);
    EXPECT_EQ(converter.m_nAppId, 0x2A);

    Monitor(0xFD05, 999);
    EXPECT_DOUBLE_EQ(converter.m_dAdc1, -1.5) << "Monitoring ignores the converter's own range";
    Monitor(0x0900, 500);
    EXPECT_DOUBLE_EQ(converter.m_dAdc1, 5.0);
    EXPECT_EQ(converter.m_nAppId, 0x2A) << "Monitoring records no IDs";
}

TEST_F(TelemetryTableTest, EscSpeedNeverDividesByZero) {
    esc.m_nPole = 0;
    Scan(0x0B60, 77u << 16 | 1234u);
    EXPECT_EQ(esc.m_nPole, 1);
    EXPECT_EQ(esc.m_nSpeed, 123400);
    EXPECT_EQ(esc.m_nConsumption, 77);
    esc.m_nPole = -4;
    Monitor(0x0B61, 1);
    EXPECT_EQ(esc.m_nPole, 1);
    esc.m_nPole = 3;
    Monitor(0x0B61, 65535);
    EXPECT_EQ(esc.m_nSpeed, 2184500) << "6553500 / 3, cut toward zero";
    EXPECT_EQ(esc.m_nPole, 3);

    Scan(0x0B50, 1500u << 16 | 1260u);
    Scan(0x0B70, 0xFFFFFFFF);
    EXPECT_DOUBLE_EQ(esc.m_dVoltage, 12.6);
    EXPECT_DOUBLE_EQ(esc.m_dCurrent, 15.0);
    EXPECT_DOUBLE_EQ(esc.m_dTemperature, 255.0) << "one unsigned byte";
}

TEST_F(TelemetryTableTest, ServoAndVideoTransmitterAreOnlyLocatedByTheScan) {
    MarkIds();
    Monitor(0x0B45, 1);
    Monitor(0x0E12, 1);
    EXPECT_EQ(TouchedPages(), 0);
    EXPECT_EQ(Scan(0x0B45, 1, 20), Bit(telemetry::kServo));
    EXPECT_EQ(Scan(0x0E12, 1, 21), Bit(telemetry::kVideoTx));
    EXPECT_EQ(servo.m_nAppId, 5);
    EXPECT_EQ(servo.m_nPhysIdIndex, 20);
    EXPECT_EQ(videoTx.m_nAppId, 2);
    EXPECT_EQ(videoTx.m_nPhysIdIndex, 21);
    EXPECT_EQ(TouchedPages(), 2);
}

TEST_F(TelemetryTableTest, AnswersAndUnknownIdsStoreNothing) {
    MarkIds();
    airSpeed.m_dAirSpeed = 7.5;
    // A configuration answer in a known range: no value, no IDs, but the sensor is there.
    EXPECT_EQ(telemetry::ApplyFrame(Frame(0x0A00, 100, 0x32), pages, Decoder::kScan, 3),
              Bit(telemetry::kAirSpeed));
    EXPECT_EQ(airSpeed.m_dAirSpeed, 7.5);
    // Gaps between the GPS streams, an empty body and a family nobody has.
    for (std::uint16_t id : {0x0810, 0x0840, 0x0000, 0x000A, 0x0600, 0x0B80, 0x0D80, 0x0E00})
        EXPECT_EQ(Scan(id, 100), 0u) << std::hex << id;
    EXPECT_EQ(telemetry::ApplyFrame(bus::Body{}, pages, Decoder::kScan, 3), 0u);
    EXPECT_EQ(TouchedPages(), 0);
    // No row may be a blank one that data ID 0 would find.
    EXPECT_EQ(telemetry::FindRow(0x0000), nullptr);
    for (const telemetry::Row& row : telemetry::DecodingTable())
        EXPECT_GT(row.targetCount, 0) << std::hex << row.first;
}

TEST_F(TelemetryTableTest, PresenceFollowsEveryPagesFamilies) {
    const std::pair<std::uint16_t, telemetry::PageIndex> edges[] = {
        {0x030F, telemetry::kLipo},          {0x021F, telemetry::kCurrentL},
        {0x0A0F, telemetry::kAirSpeed},      {0x040F, telemetry::kRpm},
        {0x041F, telemetry::kRpm},           {0x050F, telemetry::kRpm},
        {0x0B00, telemetry::kRedundancyBus}, {0x0B3F, telemetry::kRedundancyBus},
        {0x0800, telemetry::kGps},           {0x0820, telemetry::kGps},
        {0x0830, telemetry::kGps},           {0x085F, telemetry::kGps},
        {0x0100, telemetry::kVariometer},    {0x011F, telemetry::kVariometer},
        {0x0D00, telemetry::kFuelKit},       {0x0D7F, telemetry::kFuelKit},
        {0x0900, telemetry::kConverter},     {0x091F, telemetry::kConverter},
        {0xFD00, telemetry::kConverter},     {0xFDFF, telemetry::kConverter},
        {0x0B40, telemetry::kServo},         {0x0B4F, telemetry::kServo},
        {0x0B50, telemetry::kEsc},           {0x0B7F, telemetry::kEsc},
        {0x0E10, telemetry::kVideoTx},       {0x0E1F, telemetry::kVideoTx},
    };
    for (auto [id, page] : edges) EXPECT_EQ(Scan(id, 0), Bit(page)) << std::hex << id;
}

}  // namespace
