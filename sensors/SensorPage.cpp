#include "sensors/SensorPage.h"

#include "app/KestrovaDlg.h"
#include "resources/messages.h"
#include "sensors/CommonHints.h"
#include "sensors/Sensor_ConfigureDlg.h"
#include "sensors/Sensor_MonitoringDlg.h"
#include "sensors/StepMachine.h"

#include <algorithm>
#include <optional>

using namespace sensor_ids;
namespace timers = sensor_timers;

const platform::MessageMap* CSensorPage::GetMessageMap() const {
    static const platform::MessageMap map{
        CDialogEx::ThisMessageMap(),
        {
            platform::OnBnClicked(kMonitoring, &CSensorPage::OnBnClickedMonitoring),
            platform::OnWmTimer(&CSensorPage::OnTimer),
            platform::OnBnClicked(kConfigure, &CSensorPage::OnBnClickedConfigure),
            platform::OnBnClicked(kRead, &CSensorPage::OnBnClickedRead),
            platform::OnBnClicked(kWrite, &CSensorPage::OnBnClickedWrite),
            platform::OnBnClicked(kDefault, &CSensorPage::OnBnClickedDefault),
            platform::OnWmPaint(&CSensorPage::OnPaint),
        }};
    return &map;
}

bus::Link& CSensorPage::Bus() {
    return CKestrovaDlg::BusLink();
}

CWnd* CSensorPage::MainWindow() const {
    CWnd* tab = GetParent();
    return tab ? tab->GetParent() : nullptr;
}

void CSensorPage::EnableMainControl(int id, BOOL on) {
    if (CWnd* main = MainWindow())
        if (CWnd* w = main->GetDlgItem(id)) w->EnableWindow(on);
}

void CSensorPage::EnableItem(int id, BOOL on) {
    if (CWnd* w = GetDlgItem(id)) w->EnableWindow(on);
}

void CSensorPage::SetItemText(int id, const char* text) {
    if (CWnd* w = GetDlgItem(id)) w->SetWindowText(text);
}

BOOL CSensorPage::OnInitDialog() {
    CDialogEx::OnInitDialog();
    if (CWnd* bar = GetDlgItem(kProgress)) {
        bar->SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, kProgressEnd));
        bar->SendMessage(PBM_SETPOS, 0);
        bar->ShowWindow(SW_HIDE);
        bar->SendMessage(PBM_SETBARCOLOR, 0, 0x66FF66);
        bar->SendMessage(PBM_SETBKCOLOR, 0, 0x242424);
    }
    return TRUE;
}

std::span<const CSensorPage::Hint> CSensorPage::CommonHints() {
    static constexpr Hint kCommon[] = {
        {kMonitoring, sensor_hints::kMonitoring},
        {kConfigure, sensor_hints::kConfigure},
        {kRead, sensor_hints::kRead},
        {kWrite, sensor_hints::kWrite},
        {kDefault, sensor_hints::kDefault},
        {kAppIdLabel, sensor_hints::kAppId, kAppIdEdit},
        {kFirmwareLabel, sensor_hints::kFirmware, kFirmwareEdit},
    };
    return kCommon;
}

BOOL CSensorPage::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_MOUSEMOVE) {
        auto over = [&](int id) {
            CWnd* w = id ? GetDlgItem(id) : nullptr;
            return w && w->m_hWnd == msg->hwnd;
        };
        for (std::span<const Hint> hints : {Hints(), CommonHints()}) {
            auto it = std::find_if(hints.begin(), hints.end(), [&](const Hint& h) {
                return over(h.id) || over(h.alsoId);
            });
            if (it != hints.end()) {
                ShowHint(it->text);
                break;
            }
        }
    }
    return CDialogEx::PreTranslateMessage(msg);
}

void CSensorPage::ShowHint(const char* text) {
    SetItemText(kHint, text);
}

void CSensorPage::OnPaint() {
    CPaintDC dc(this);
    DrawConnectionState();
}

void CSensorPage::ResetPage() {
    m_bMonitorIdle = 1;
    m_bConfigIdle = 1;
    SetItemText(kMonitoring, "Monitoring");
    SetItemText(kConfigure, "Configure");
    if (CWnd* main = MainWindow()) main->KillTimer(main_timers::kListener);
    EnableItem(kMonitoring, m_bPortOpen == 1);
    EnableItem(kConfigure, m_bPortOpen == 1);
    EnableItem(kRead, FALSE);
    EnableItem(kWrite, FALSE);
    EnableDefault(FALSE);
}

void CSensorPage::EnableDefault(BOOL on) {
    EnableItem(kDefault, on);
    if (!on)
        for (int id : ButtonsWithDefault()) EnableItem(id, FALSE);
}

void CSensorPage::StopTimers() {
    for (int id = 0; id < TimerCount(); ++id) KillTimer(static_cast<UINT_PTR>(id));
    CKestrovaDlg::LeaveAccess(m_wire.requests);
    if (CWnd* bar = GetDlgItem(kProgress)) bar->ShowWindow(SW_HIDE);
    m_nProgress = 0;
    m_runningMachine = nullptr;
    // The operation is over: the next one starts at its first step, not where this one stopped.
    m_nReadStep = 0;
    m_nDefaultStep = 0;
    m_wire.Forget();
}

void CSensorPage::DrawConnectionState() {
    CWnd* lamp = GetDlgItem(kLamp);
    if (!lamp) return;
    // The bitmaps live in the resource registry for the whole run, so the picture may keep
    // showing a handle without this page holding on to it.
    HBITMAP bitmap = nullptr;
    if (m_nConnState == 0) bitmap = platform::LoadBitmapResource(kLampOff);
    if (m_nConnState == 1) bitmap = platform::LoadBitmapResource(kLampOn);
    lamp->ModifyStyle(0x0F, SS_BITMAP | SS_CENTERIMAGE);
    lamp->SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

void CSensorPage::RefreshDisplay() {
    UpdateData(FALSE);
}

void CSensorPage::OnBnClickedMonitoring() {
    UpdateData(TRUE);
    CWnd* main = MainWindow();
    if (m_bMonitorIdle != 0) {
        CSensor_MonitoringDlg box(this);
        if (box.DoModal() == IDCANCEL) return;
        SetItemText(kMonitoring, "Stop");
        if (main) main->SetTimer(main_timers::kListener, timers::kListenerPeriodMs);
        CKestrovaDlg::BroadcastToSensorPages(0, 1);
        EnableMainControl(kMainOpen, FALSE);
    } else {
        SetItemText(kMonitoring, "Monitoring");
        if (main) main->KillTimer(main_timers::kListener);
        CKestrovaDlg::BroadcastToSensorPages(0, 0);
        EnableMainControl(kMainOpen, TRUE);
    }
}

void CSensorPage::OnBnClickedConfigure() {
    UpdateData(TRUE);
    CWnd* main = MainWindow();
    if (m_bConfigIdle != 0) {
        CSensor_ConfigureDlg box(this);
        if (box.DoModal() == IDCANCEL) return;
        SetItemText(kConfigure, "Stop");
        if (main) main->SetTimer(main_timers::kScan, timers::kScanPeriodMs);
        CKestrovaDlg::BroadcastToSensorPages(1, 1);
        m_nOperation = sensor_operation::kConfigureRun;
        SetTimer(timers::kTimeout, timers::kConfigureTimeoutMs);
        SetTimer(timers::kProgress, timers::kConfigureProgressMs);
        EnableMainControl(kMainTree, FALSE);
        EnableMainControl(kMainOpen, FALSE);
        EnableMainControl(kMainTab, FALSE);
    } else {
        SetItemText(kConfigure, "Configure");
        if (main) main->KillTimer(main_timers::kScan);
        CKestrovaDlg::BroadcastToSensorPages(1, 0);
        CKestrovaDlg::BroadcastToSensorPages(4, 1);
        EnableMainControl(kMainOpen, TRUE);
        // Switching off during the first progress run ends that run here: left running, its end
        // would unlock Read and restart the scan with Configure already off. The tree and tab
        // that the run locked come back now. Outside the run nothing of this is running.
        KillTimer(timers::kTimeout);
        KillTimer(timers::kProgress);
        if (CWnd* bar = GetDlgItem(kProgress)) bar->ShowWindow(SW_HIDE);
        m_nProgress = 0;
        EnableMainControl(kMainTree, TRUE);
        EnableMainControl(kMainTab, TRUE);
    }
}

const sensor_steps::Machine* CSensorPage::MachineOnTimer(UINT timer) const {
    for (const sensor_steps::Machine* m : Machines())
        if (m && m->timer == timer) return m;
    return nullptr;
}

void CSensorPage::DisableForOperation() {
    EnableItem(kRead, FALSE);
    EnableItem(kWrite, FALSE);
    EnableItem(kConfigure, FALSE);
    EnableDefault(FALSE);
}

void CSensorPage::EnableAfterOperation(int operation) {
    switch (operation) {
        case sensor_operation::kConfigureRun:
            EnableItem(kRead, TRUE);
            CKestrovaDlg::BroadcastToSensorPages(4, 0);
            break;
        case sensor_operation::kReadWrite:
            EnableItem(kWrite, TRUE);
            [[fallthrough]];
        case sensor_operation::kDefault:
            EnableItem(kRead, TRUE);
            EnableItem(kConfigure, TRUE);
            EnableDefault(TRUE);
            for (int id : ButtonsWithDefault()) EnableItem(id, TRUE);
            break;
        default:
            break;
    }
}

void CSensorPage::StartOperation(const sensor_steps::Machine& machine) {
    Bus().Purge();
    if (CWnd* main = MainWindow()) main->KillTimer(main_timers::kScan);
    SetTimer(machine.timer, machine.periodMs);
    SetTimer(timers::kTimeout, machine.timeoutMs);
    SetTimer(timers::kProgress, machine.progressMs);
    DisableForOperation();
    m_nOperation = machine.operation;
    m_runningMachine = &machine;
    // The pair polls only ever set the flag, and a missed telemetry poll is remembered in
    // m_bRestart; a new operation starts with both clear, whatever an operation cut short by its
    // time-out left behind.
    m_bGotReply = 0;
    m_bRestart = 0;
    m_wire.Forget();
    EnableMainControl(kMainTree, FALSE);
    EnableMainControl(kMainOpen, FALSE);
    EnableMainControl(kMainTab, FALSE);
}

void CSensorPage::OnBnClickedRead() {
    if (const auto* m = MachineOnTimer(timers::kRead)) StartOperation(*m);
}

void CSensorPage::OnBnClickedWrite() {
    if (const auto* m = MachineOnTimer(timers::kWrite)) StartOperation(*m);
}

void CSensorPage::OnBnClickedDefault() {
    if (const auto* m = MachineOnTimer(timers::kDefault)) StartOperation(*m);
}

sensor_steps::TickInputs CSensorPage::ReadTickInputs(const sensor_steps::Machine& machine) {
    using sensor_steps::Input;
    sensor_steps::TickInputs in;
    for (const Input& input : machine.inputs) {
        std::optional<int> n;
        switch (input.source) {
            case Input::Source::Edit:
                n = sensor_steps::EditNumber(*this, input.id);
                break;
            case Input::Source::Combo: {
                auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(input.id));
                const int sel = combo ? combo->GetCurSel() : CB_ERR;
                if (sel >= 0) n = sel;
                break;
            }
            case Input::Source::Page:
                if (input.read) n = input.read(*this);
                break;
        }
        if (!n) {
            in.complete = false;
            n = 0;
        }
        if (input.lo < input.hi) n = std::clamp(*n, input.lo, input.hi);
        in.values.push_back(*n / std::max(input.divisor, 1) + input.offset);
    }
    return in;
}

void CSensorPage::RunMachineOnTimer(UINT timer) {
    const sensor_steps::Machine* m = MachineOnTimer(timer);
    if (!m) return;
    const sensor_steps::Outcome outcome =
        sensor_steps::RunTick(*this, *m, ReadTickInputs(*m), Bus());
    if (outcome.state == sensor_steps::Outcome::State::Running) return;
    // The machine kills its timer before its closing box: the box's loop must not run it on.
    if (m_runningMachine == m) m_runningMachine = nullptr;
    KillTimer(m->timer);
    if (outcome.state == sensor_steps::Outcome::State::Completed) MachineCompleted(*m);
    if (outcome.message) AfxMessageBox(outcome.message);
}

void CSensorPage::OnTimer(UINT_PTR id) {
    if (id == timers::kTimeout)
        FinishOperation();
    else if (id == timers::kProgress)
        StepProgress();
    else
        RunMachineOnTimer(static_cast<UINT>(id));
    CDialogEx::OnTimer(id);
}

void CSensorPage::StepProgress() {
    CWnd* bar = GetDlgItem(kProgress);
    if (bar) bar->ShowWindow(SW_SHOW);
    m_nProgress += 1;
    if (m_nProgress >= kProgressEnd) {
        if (bar) bar->ShowWindow(SW_HIDE);
        KillTimer(timers::kProgress);
        m_nProgress = 0;
        FinishOperation();
    }
    if (bar) bar->SendMessage(PBM_SETPOS, static_cast<WPARAM>(m_nProgress));
}

void CSensorPage::FinishOperation() {
    EnableAfterOperation(m_nOperation);
    if (m_nOperation >= sensor_operation::kConfigureRun &&
        m_nOperation <= sensor_operation::kDefault) {
        EnableMainControl(kMainTree, TRUE);
        EnableMainControl(kMainTab, TRUE);
    }
    if (CWnd* main = MainWindow()) main->SetTimer(main_timers::kScan, timers::kScanPeriodMs);
    for (int id = 0; id < OperationTimerCount(); ++id) KillTimer(static_cast<UINT_PTR>(id));
    // A machine that has not reached its last step has failed, whatever its step counter
    // says: a machine that retries from step 0 may stand at 0 when the time-out comes.
    const bool failed = m_runningMachine != nullptr;
    m_runningMachine = nullptr;
    m_nReadStep = 0;
    m_nDefaultStep = 0;
    // However the operation ended (its time-out, a check that kept failing, a machine cut short),
    // the sensor leaves configuration access before anything is said.
    CKestrovaDlg::LeaveAccess(m_wire.requests);
    m_wire.Forget();
    if (failed) AfxMessageBox(messages::kOperationFailed);
}
