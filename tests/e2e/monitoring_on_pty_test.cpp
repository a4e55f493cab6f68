// Monitoring with its real timers against kestrova-sim as a receiver on a pty, behind an adapter
// that hands the bytes over every 16 ms, late and in chunks: every sensor on the receiver shows
// its value on its page.

#include <gtest/gtest.h>

#include "app/Globals.h"
#include "support/app_on_pty.h"

namespace {

using kestrova::test::WaitUntil;

class MonitoringOnPty : public kestrova::test::AppOnPty {};

TEST_F(MonitoringOnPty, BehindASlowAdapterEverySensorShowsItsValue) {
    Start({"--receiver", "--receiver-period", "3", "--latency", "16", "--device", "airspeed",
           "--device", "current150", "--device", "vario", "--device", "rpm"});
    constexpr int kAirSpeedItem = 3;
    main->m_treeDevices.SelectItem(main->m_hTreeItems[kAirSpeedItem]);
    g_sensorAirSpeed.OnBnClickedMonitoring();
    EXPECT_TRUE(WaitUntil(
        [] {
            return g_sensorAirSpeed.m_dAirSpeed != 0 && g_sensorCurrentH.m_dCurrent != 0 &&
                   g_sensorVariometer.m_dAltitude != 0 && g_sensorRPM.m_nSpeed != 0;
        },
        kDeadlineMs))
        << "air speed " << g_sensorAirSpeed.m_dAirSpeed << ", current "
        << g_sensorCurrentH.m_dCurrent << ", altitude " << g_sensorVariometer.m_dAltitude
        << ", speed " << g_sensorRPM.m_nSpeed;
    EXPECT_TRUE(messages.empty());
}

}  // namespace
