#pragma once
// What every sensor page has in common: the shared controls and members, the Monitoring and
// Configure toggles, the starters of Read, Write and Default Settings, the progress run, the end
// of an operation, the hint line and the connection lamp. A page class supplies only data: its
// dialog, value fields and their exchange, its hints, its stream data IDs and its step machines.

#include <span>

#include "bus/link.h"
#include "platform/afx.h"
#include "sensors/SensorSteps.h"
#include "sensors/SensorTimers.h"

class CSensorPage : public CDialogEx {
  public:
    explicit CSensorPage(UINT dialogId) : CDialogEx(dialogId) {}

    // Operations the main window, the broadcast and the telemetry decoders call.
    // Back to idle: both modes off, mode buttons enabled only with the port open.
    virtual void ResetPage();
    // Ends whatever operation runs on this page, taking the sensor out of configuration access
    // while the port can still carry the leave frame.
    virtual void StopTimers();
    // Shows the connection lamp for m_nConnState.
    void DrawConnectionState();
    // Shows the values the decoders stored.
    virtual void RefreshDisplay();
    // Enables or locks Default Settings; locking locks the page's buttons that go with it.
    void EnableDefault(BOOL on);

    // Handlers.
    void OnBnClickedMonitoring();
    void OnBnClickedConfigure();
    void OnBnClickedRead();
    void OnBnClickedWrite();
    void OnBnClickedDefault();
    void OnTimer(UINT_PTR id);
    void OnPaint();
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    const platform::MessageMap* GetMessageMap() const override;

    // The progress run (timer 3) and the end of an operation (its end, or the time-out timer 2).
    void StepProgress();
    void FinishOperation();
    void ShowHint(const char* text);

    // The machines on their timers.
    void RunReadSequence() { RunMachineOnTimer(sensor_timers::kRead); }
    void RunWriteSequence() { RunMachineOnTimer(sensor_timers::kWrite); }
    void RunDefaultSequence() { RunMachineOnTimer(sensor_timers::kDefault); }

    // What a page supplies.
    // A control and its hint; a label and the edit beside it mostly share one (`alsoId`).
    struct Hint {
        int id;
        const char* text;
        int alsoId = 0;
    };
    // The page's own hints, tested before the ones every page shares.
    virtual std::span<const Hint> Hints() const { return {}; }
    // What the common controls show: the five operation buttons, the application ID and the
    // firmware. A page that says otherwise for one of them says so in its own hints.
    static std::span<const Hint> CommonHints();
    // The data-ID bases of the page's streams; a request's data ID is base + m_nAppId.
    virtual std::span<const WORD> StreamBases() const { return {}; }
    // The page's step machines, each on its own timer.
    virtual std::span<const sensor_steps::Machine* const> Machines() const { return {}; }
    // Buttons of the page's own that write to the sensor as Default Settings does: wherever
    // Default Settings is locked, so are they; the end of a Read, Write, Default Settings or of
    // one of their own operations unlocks them.
    virtual std::span<const int> ButtonsWithDefault() const { return {}; }
    // The values a machine's Write sends, read from the page's controls at the start of a tick.
    sensor_steps::TickInputs ReadTickInputs(const sensor_steps::Machine& machine);

    // The bus the machines talk to: the main window's one port.
    static bus::Link& Bus();

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
    // What the running machine keeps of the wire between its ticks.
    sensor_steps::WireTrack m_wire;

  protected:
    // StopTimers kills timers 0 up to this; FinishOperation kills the operation timers.
    virtual int TimerCount() const { return sensor_timers::kTimerCount; }
    virtual int OperationTimerCount() const { return sensor_timers::kOperationTimerCount; }
    // The page's own buttons: enabled when an operation ends, disabled when one starts.
    virtual void EnableAfterOperation(int operation);
    virtual void DisableForOperation();
    // A machine reached its last step (before its closing message).
    virtual void MachineCompleted(const sensor_steps::Machine& machine) {}

    // Starts `machine` as the Read, Write and Default Settings buttons do.
    void StartOperation(const sensor_steps::Machine& machine);
    void RunMachineOnTimer(UINT timer);
    const sensor_steps::Machine* MachineOnTimer(UINT timer) const;

    // The main window: the parent of the tab control that hosts the page (a button's parent's
    // parent's parent), looked up afresh at every use.
    CWnd* MainWindow() const;
    void EnableMainControl(int id, BOOL on);
    void EnableItem(int id, BOOL on);
    void SetItemText(int id, const char* text);

  private:
    // The machine of the operation that runs, until it reaches its last step or gives up: an
    // operation whose machine is still running when the run ends has failed.
    const sensor_steps::Machine* m_runningMachine = nullptr;
};

// Ids of the controls every sensor page shares, and of the main window's controls it touches.
namespace sensor_ids {
constexpr int kMonitoring = 1099;
constexpr int kConfigure = 1100;
constexpr int kRead = 1101;
constexpr int kWrite = 1102;
constexpr int kDefault = 1103;
constexpr int kProgress = 1104;
constexpr int kHint = 1105;
constexpr int kPhysIdEdit = 1055;
constexpr int kAppIdEdit = 1056;
constexpr int kDataRateEdit = 1057;
constexpr int kFirmwareEdit = 1058;
constexpr int kPhysIdLabel = 1107;
constexpr int kAppIdLabel = 1108;
constexpr int kFirmwareLabel = 1109;
constexpr int kDataRateLabel = 1111;
constexpr int kConnectionLabel = 1229;
constexpr int kLamp = 1228;
constexpr UINT kLampOff = 229;
constexpr UINT kLampOn = 228;
constexpr int kMainTree = 1000;
constexpr int kMainTab = 1001;
constexpr int kMainOpen = 1002;
constexpr int kProgressEnd = 140;
}  // namespace sensor_ids
