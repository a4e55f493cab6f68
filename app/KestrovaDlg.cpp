// The main window: start-up, the COM port list and Open/Close, device arrival and removal, and
// the dispatch of its two timers.

#include "app/KestrovaDlg.h"

#include "app/AboutDlg.h"
#include "app/Globals.h"
#include "bus/serial_exception.h"
#include "platform/timer_service.h"
#include "resources/messages.h"
#include "resources/resource_ids.h"

CKestrovaDlg::CKestrovaDlg(CWnd* parent) : CDialogEx(IDD, parent) {
    m_hIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(IDR_MAINFRAME) : nullptr;
}

CKestrovaDlg::~CKestrovaDlg() {
    platform::SetHandlerExceptionHook(nullptr);
}

const platform::MessageMap* CKestrovaDlg::GetMessageMap() const {
    using namespace platform;
    static const MessageMap map{
        CDialogEx::ThisMessageMap(),
        {
            OnWmDeviceChange(&CKestrovaDlg::OnDeviceChange),
            OnWmSysCommand(&CKestrovaDlg::OnSysCommand),
            OnWmPaint(&CKestrovaDlg::OnPaint),
            OnWmQueryDragIcon(&CKestrovaDlg::OnQueryDragIcon),
            OnCbnSelchange(1003, &CKestrovaDlg::OnCbnSelchangePort),
            OnBnClicked(1002, &CKestrovaDlg::OnBnClickedOpen),
            OnNotifyCode(TVN_SELCHANGED, 1000, &CKestrovaDlg::OnTvnSelchangedTree),
            OnNotifyCode(TCN_SELCHANGE, 1001, &CKestrovaDlg::OnTcnSelchangeTab),
            OnWmTimer(&CKestrovaDlg::OnTimer),
        }};
    return &map;
}

void CKestrovaDlg::DoDataExchange(CDataExchange* dx) {
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, 1002, m_btnOpen);
    DDX_Control(dx, 1003, m_comboPort);
    DDX_Control(dx, 1001, m_tabPages);
    DDX_Control(dx, 1000, m_treeDevices);
}

BOOL CKestrovaDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();

    if (CMenu* sysMenu = GetSystemMenu(FALSE)) {
        CString about;
        about.LoadString(IDS_ABOUTBOX);
        if (!about.IsEmpty()) {
            sysMenu->AppendMenu(MF_SEPARATOR);
            sysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    DeleteOldExecutable();
    CheckForUpdate();

    m_portsListed = true;
    EnumeratePorts();
    InitDeviceTree();
    ExpandTreeItem(m_treeDevices.GetRootItem());
    CreatePages();

    BroadcastToSensorPages(3, 0);
    BroadcastToSensorPages(2, 0);
    BroadcastToSensorPages(5, 0);
    EnableKxvControls(1, 0);

    // Whatever handler a port error escapes from (scan, listener, any page's exchange), it ends
    // in one place.
    platform::SetHandlerExceptionHook([this](CException& e) { return PortFailed(e); });
    // The listener reads whatever arrived: it is woken when the port has bytes, not every
    // millisecond to find nothing.
    platform::TimerService::Instance().WakeOnInput(this, main_timers::kListener,
                                                   [] { return g_serialPort.GetHandle(); });

    EnableToolTips(TRUE);
    g_toolTip.Create(this, 0);
    g_toolTip.Activate(TRUE);
    g_toolTip.AddTool(GetDlgItem(1002), "Open the serial port");
    return TRUE;
}

void CKestrovaDlg::EnumeratePorts() {
    for (int i = 1; i <= 32; ++i) {
        CString name;
        name.Format("COM%d", i);
        if (ProbePort(name) == 1) m_comboPort.AddString(name);
    }
    if (m_comboPort.GetCount() <= 0) {
        m_portSettings.strPortName = "COM1";
        AfxMessageBox(messages::kNoSerialPort, MB_OK);
        return;
    }
    // The list sorts as text, so item 0 is the name that sorts first (COM10 before COM3).
    m_comboPort.SetCurSel(0);
    m_comboPort.GetLBText(0, m_portSettings.strPortName);
}

int CKestrovaDlg::ProbePort(CString portName) {
    ClosePort();
    try {
        g_serialPort.Open(portName, m_portSettings.dwBaudRate, m_portSettings.nParity,
                          m_portSettings.nDataBits, m_portSettings.nStopBits, 0, FALSE);
    } catch (CSerialException* e) {
        e->Delete();
    }
    if (!g_serialPort.IsOpen()) return 0;
    PurgePort();
    UpdateData(FALSE);
    return 1;
}

int CKestrovaDlg::OpenPort() {
    if (ProbePort(m_portSettings.strPortName) == 1) return 1;
    MessageBoxA(nullptr, messages::kPortOpenFailed, messages::kPortOpenFailedCaption,
                MB_OK | MB_ICONWARNING);
    return 0;
}

void CKestrovaDlg::ClosePort() {
    if (g_serialPort.IsOpen()) g_serialPort.Close();
}

void CKestrovaDlg::OnCbnSelchangePort() {
    UpdateData(TRUE);
    int sel = m_comboPort.GetCurSel();
    if (sel >= 0) m_comboPort.GetLBText(sel, m_portSettings.strPortName);
}

void CKestrovaDlg::OnBnClickedOpen() {
    UpdateData(TRUE);
    m_bPortOpen = !m_bPortOpen;
    if (!m_bPortOpen) {
        m_btnOpen.SetWindowText("Open");
        m_comboPort.EnableWindow(TRUE);
        // The KXV page stops first, while the port can still carry the frame that takes the
        // receiver out of configuration access.
        EnableKxvControls(1, 0);
        ClosePort();
        BroadcastToSensorPages(3, 0);
        BroadcastToSensorPages(2, 0);
        BroadcastToSensorPages(5, 0);
        TurnLampsOff();
    } else if (OpenPort() == 1) {
        m_btnOpen.SetWindowText("Close");
        m_comboPort.EnableWindow(FALSE);
        BroadcastToSensorPages(3, 1);
        BroadcastToSensorPages(2, 0);
        BroadcastToSensorPages(5, 1);
        EnableKxvControls(1, 1);
    } else {
        m_bPortOpen = FALSE;
    }
}

BOOL CKestrovaDlg::OnDeviceChange(UINT event, DWORD_PTR) {
    // Reached before start-up has listed the ports only from the loops of its boxes and of the
    // update's download; the listing still to come sees the change, and handling it here as well
    // would list every port twice.
    if (!m_portsListed) return TRUE;
    // Every bus timer stops before anything here can show a box: the box's loop would otherwise
    // go on running operations on a port that is about to close.
    StopBusTimers();
    if (event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE) {
        ++m_deviceChangeCount;
        BroadcastToSensorPages(3, 0);
        BroadcastToSensorPages(2, 0);
        EnableKxvControls(1, 0);
        ClosePort();
        m_bPortOpen = FALSE;
        m_btnOpen.SetWindowText("Open");
        m_comboPort.EnableWindow(TRUE);
        TurnLampsOff();
        m_comboPort.ResetContent();
        EnumeratePorts();
    }
    m_tabPages.EnableWindow(TRUE);
    m_treeDevices.EnableWindow(TRUE);
    return TRUE;
}

void CKestrovaDlg::OnTimer(UINT_PTR id) {
    if (id == 0) DecodeMonitorData();
    if (id == 1) ScanBusStep();
    CDialogEx::OnTimer(id);
}

void CKestrovaDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
    } else {
        CDialogEx::OnSysCommand(id, lParam);
    }
}

void CKestrovaDlg::OnPaint() {
    // Qt draws a minimised window's icon itself; a normal window paints as the base does.
    CDialogEx::OnPaint();
}

HCURSOR CKestrovaDlg::OnQueryDragIcon() {
    return m_hIcon;
}

BOOL CKestrovaDlg::PreTranslateMessage(MSG* msg) {
    g_toolTip.RelayEvent(msg);
    return CDialogEx::PreTranslateMessage(msg);
}
