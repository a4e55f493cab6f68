#pragma once
// The main window: device tree, page host, COM port list and Open/Close, device arrival and
// removal, the bus scan and monitoring timers, and the static bus operations the pages call.

#include <span>

#include "bus/link.h"
#include "bus/request_tracker.h"
#include "bus/wire_reader.h"
#include "platform/afx.h"

class CException;

// The main window's timers: the Monitoring listener and the bus scan. A device change or a
// failing port stops ids 0 up to kLast.
namespace main_timers {
inline constexpr UINT_PTR kListener = 0;
inline constexpr UINT_PTR kScan = 1;
inline constexpr UINT_PTR kLast = 6;
}  // namespace main_timers

struct PortSettings {
    CString strPortName = "COM1";
    DWORD dwBaudRate = 57600;
    int nParity = 0;
    BYTE nDataBits = 8;
    int nStopBits = 0;
};

class CKestrovaDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 102;
    explicit CKestrovaDlg(CWnd* parent = nullptr);
    ~CKestrovaDlg() override;

    // Bus operations on the one port; they need no window.
    static void SendBusFrame(unsigned char* frame, int length);
    static void ReadBusFrame(unsigned char* body);
    static void ReadBusResponseFrame(unsigned char* body);
    static int PurgePort();
    // The one reader of the wire that every tick reading the port takes its frames from; what
    // WriteBus writes is remembered in it, so its echo is known (returns its number there).
    static bus::WireReader& Wire();
    static std::uint32_t WriteBus(unsigned char* frame, int length);
    // Reads what waits on the port into the reader and returns what it completed; a backlog
    // beyond the bound is purged unread (`flooded`).
    static std::span<const bus::WireEvent> ReadWire(bool* flooded = nullptr);
    // The one port, its reader and the clock, as every run on the bus reaches them.
    static bus::Link& BusLink();
    // Takes the devices out of the configuration access `run` entered, as the tracker's way out
    // does, on the one port; true when each leave frame came back heard. A port that fails on
    // the way is gone: nothing more can be sent.
    static bool LeaveAccess(bus::RequestTracker& run);
    static void BroadcastToSensorPages(int mode, int flag);
    void EnableKxvControls(int mode, int flag);

    // Ports.
    void EnumeratePorts();
    int ProbePort(CString portName);
    int OpenPort();
    void ClosePort();

    // Device tree and page host.
    void InitDeviceTree();
    void ExpandTreeItem(HTREEITEM item);
    void CreatePages();
    void HideAllPages();
    void ShowSensorsGroup();
    void ShowReceiversGroup();
    void ShowRadiosGroup();
    void ShowSensorPage(int index);
    void ShowReceiverPage(int index);
    void ShowRadioPage(int index);

    // Online update at start-up.
    void DeleteOldExecutable();
    void CheckForUpdate();
    void ShowUpdateProgress();

    // A port that fails under any handler (a CSerialException from the scan, the listener or a
    // page's exchange) is treated as gone: every bus timer stops, the port closes, the window
    // shows its closed state and one box says why. Returns true: the failure is dealt with.
    bool PortFailed(CException& error);
    // Every timer that drives the bus: the main window's and those of every page.
    void StopBusTimers();
    // The connection lamps follow the port: off on every sensor page.
    void TurnLampsOff();

    // The bus scan (timer 1) and the monitoring listener (timer 0).
    void ScanBusStep();
    void DecodeScanReply();
    void PublishPresence();
    void DecodeMonitorData();

    // Handlers.
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnBnClickedOpen();
    void OnCbnSelchangePort();
    BOOL OnDeviceChange(UINT event, DWORD_PTR data);
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnTimer(UINT_PTR id);
    void OnTvnSelchangedTree(NMHDR* header, LRESULT* result);
    void OnTcnSelchangeTab(NMHDR* header, LRESULT* result);

    const platform::MessageMap* GetMessageMap() const override;

    HICON m_hIcon;
    PortSettings m_portSettings;
    CButton m_btnOpen;
    CComboBox m_comboPort;
    BOOL m_bPortOpen = FALSE;
    CTreeCtrl m_treeDevices;
    CTabCtrl m_tabPages;
    HTREEITEM m_hTreeItems[28] = {};
    BOOL m_bSensorsGroup = FALSE;
    BOOL m_bReceiversGroup = FALSE;
    BOOL m_bRadiosGroup = FALSE;
    int m_nPollIndex = 0;
    // Presence in the sweep now polling, and in the one before it, which late answers (an
    // adapter that holds bytes back) still reach until it is shown.
    BYTE m_bPresent[30] = {};
    BYTE m_bPresentLastSweep[30] = {};
    bool m_bLastSweepToShow = false;
    // Device arrivals and removals handled so far, and whether a port failure's box is open or
    // waiting to be shown.
    unsigned m_deviceChangeCount = 0;
    bool m_portFailureToTell = false;
    // Set when start-up lists the ports; device changes before it are left to that listing.
    bool m_portsListed = false;

  protected:
    void DoDataExchange(CDataExchange* dx) override;

  private:
    CRect PageRect();
};
