// A port that fails while the program uses it: how the main window stops the bus, closes the
// port, shows its closed state and tells the user once. Also the lamps, which follow the port.

#include <string>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "app/global_pages.h"
#include "bus/serial_exception.h"
#include "platform/device_events.h"
#include "platform/modal_ui.h"
#include "sensors/TelemetryTable.h"

void CKestrovaDlg::StopBusTimers() {
    for (UINT_PTR id = main_timers::kListener; id <= main_timers::kLast; ++id) KillTimer(id);
    g_sensorAirSpeed.StopTimers();
    g_sensorCurrentH.StopTimers();
    g_sensorCurrentL.StopTimers();
    g_sensorGPS.StopTimers();
    g_sensorLipoVoltage.StopTimers();
    g_sensorRedundancyBus.StopTimers();
    g_sensorRPM.StopTimers();
    g_sensorQWireToUART.StopTimers();
    g_sensorVariometer.StopTimers();
    g_sensorFuelKit.StopTimers();
    g_receiverKXV.StopTimers();
    g_sensorSteeringEngine.StopTimers();
    g_sensorReserve1.StopTimers();
    // The video transmitter page exchanges on the port like the others; left running, its ticks
    // would hit the closed port.
    g_sensorReserve2.StopTimers();
}

void CKestrovaDlg::TurnLampsOff() {
    const telemetry::Pages pages = telemetry::GlobalPages();
    for (int i = 0; i < telemetry::kPageCount; ++i) {
        CSensorPage* page = pages.At(static_cast<telemetry::PageIndex>(i));
        page->m_nConnState = 0;
        page->DrawConnectionState();
    }
    // What the old port's sweep gathered must not light a lamp for the next one.
    std::fill(std::begin(m_bPresent), std::end(m_bPresent), 0);
    std::fill(std::begin(m_bPresentLastSweep), std::end(m_bPresentLastSweep), 0);
    m_bLastSweepToShow = false;
}

bool CKestrovaDlg::PortFailed(CException& error) {
    if (!dynamic_cast<CSerialException*>(&error)) return false;
    // Nothing may tick on the port while a box is open below; then the closed state, as the
    // Close button leaves it. A port that failed carries no leave frame: it closes first.
    ClosePort();
    StopBusTimers();
    BroadcastToSensorPages(3, 0);
    BroadcastToSensorPages(2, 0);
    EnableKxvControls(1, 0);
    m_bPortOpen = FALSE;
    m_btnOpen.SetWindowText("Open");
    m_comboPort.EnableWindow(TRUE);
    TurnLampsOff();
    m_tabPages.EnableWindow(TRUE);
    m_treeDevices.EnableWindow(TRUE);
    // One box per failure: what fails while it is open or waiting has been dealt with above.
    if (m_portFailureToTell) return true;
    m_portFailureToTell = true;
    char text[512] = "";
    if (!error.GetErrorMessage(text, sizeof text, nullptr)) text[0] = '\0';
    // A box the user is reading (an operation's own result, say) is not covered by this one: it
    // comes once that box is closed. The main window outlives every box, which all run inside
    // its own loop.
    const unsigned changesBefore = m_deviceChangeCount;
    platform::WhenNoMessageBoxIsOpen([this, changesBefore, reason = std::string(text)] {
        // A port whose device went away: when the removal is known, its own handling (the ports
        // listed again, "No serial port found" when none is left) is what the user is told.
        platform::PollDeviceChanges();
        if (m_deviceChangeCount == changesBefore) platform::ReportHandlerError(reason.c_str());
        m_portFailureToTell = false;
    });
    return true;
}
