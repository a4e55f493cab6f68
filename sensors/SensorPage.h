#pragma once
// What every sensor page has in common: the members the main window, the broadcast and the
// telemetry decoders touch, and the operations they call.

#include "platform/afx.h"

class CSensorPage : public CDialogEx {
  public:
    explicit CSensorPage(UINT dialogId) : CDialogEx(dialogId) {}

    // Back to idle: both modes off, mode buttons enabled only with the port open.
    virtual void ResetPage();
    // Ends whatever operation runs on this page.
    virtual void StopTimers();
    // Shows the connection lamp for m_nConnState.
    void DrawConnectionState();
    // Shows the values the decoders stored.
    virtual void RefreshDisplay();

    BYTE m_bMonitorIdle = 1;
    BYTE m_bConfigIdle = 1;
    int m_bPortOpen = 0;
    int m_nAppId = 0;
    int m_nPhysIdIndex = 0;
    int m_nReadStep = 0;
    int m_nDefaultStep = 0;
    int m_bRestart = 0;
    int m_bGotReply = 0;
    int m_nOperation = 0;
    int m_nProgress = 0;
    int m_nConnState = 0;

  protected:
    // The page's timers: 0 Read, 1 Write, 2 time-out, 3 progress, 4 Default Settings and, on
    // pages with more machines, the ones above.
    virtual int TimerCount() const { return 7; }
    // The main window: the parent of the parent of the Monitoring button's page.
    CWnd* MainWindow() const;
};

// Ids of the controls every sensor page shares.
namespace sensor_ids {
constexpr int kMonitoring = 1099;
constexpr int kConfigure = 1100;
constexpr int kRead = 1101;
constexpr int kWrite = 1102;
constexpr int kDefault = 1103;
constexpr int kProgress = 1104;
constexpr int kHint = 1105;
constexpr int kLamp = 1228;
constexpr UINT kLampOff = 229;
constexpr UINT kLampOn = 228;
}  // namespace sensor_ids
