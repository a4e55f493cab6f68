#include "support/app_harness.h"

#include <cstdlib>
#include <memory>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "app/update_server.h"
#include "platform/port_namespace.h"
#include "resources/resources.h"
#include "support/quiet_line.h"

namespace kestrova::test {

namespace {

// The pages are the program's global objects: each test starts them as the program does, so
// that what one test left in them cannot reach the next run in the same process.
template <typename... Page>
void BuildAfresh(Page&... pages) {
    ((std::destroy_at(&pages), std::construct_at(&pages)), ...);
}

}  // namespace

void AppTest::SetUp() {
    UiTest::SetUp();
    BuildAfresh(g_sensorAirSpeed, g_sensorCurrentH, g_sensorCurrentL, g_sensorGPS,
                g_sensorLipoVoltage, g_sensorRedundancyBus, g_sensorRPM, g_sensorQWireToUART,
                g_sensorVariometer, g_sensorFuelKit, g_sensorSteeringEngine, g_sensorReserve1,
                g_sensorReserve2, g_receiverKXV, g_receiverKXV_AccelerometerCalibration,
                g_receiverKXV_GainSetting, g_receiverKXV_MountingType,
                g_receiverKXV_OffsetAngleSetting, g_receiverKXV_WingType,
                g_receiverKXV_Information);
    resources::RegisterAll();
    // Only the ports a test binds exist: none of this machine's own serial devices.
    ::setenv("KESTROVA_DEVICES", "/nonexistent-kestrova-devices", 1);
    platform::SetDeviceScanRoots("/nonexistent-kestrova-dev", "/nonexistent-kestrova-sys");
    // No update server: the start-up check finds nothing without touching the network. The
    // update tests put their own server in its place.
    update::SetUpdateServerForTesting({});
}

void AppTest::TearDown() {
    if (m_main) m_main->DestroyWindow();
    theApp.m_pMainWnd = nullptr;
    m_main.reset();
    g_serialPort.Close();
    platform::UnbindAllVirtualPorts();
    UiTest::TearDown();
}

void AppTest::BindPort(int number, std::shared_ptr<platform::VirtualLine> line) {
    platform::BindVirtualPort(number, line ? line : std::make_shared<QuietLine>());
}

void AppTest::StartMainWindow() {
    m_main = std::make_unique<CKestrovaDlg>();
    // As at start-up: the application knows its main window (the broadcast reaches its Open
    // button through it).
    theApp.m_pMainWnd = m_main.get();
    ASSERT_TRUE(m_main->Create(CKestrovaDlg::IDD));
    m_main->ShowWindow(SW_SHOW);
}

void AppTest::OpenPort() {
    ASSERT_TRUE(Click(m_main.get(), 1002));
}

CKestrovaDlg& AppTest::main() {
    return *m_main;
}

}  // namespace kestrova::test
