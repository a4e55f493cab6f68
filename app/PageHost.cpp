// The device tree and the page host: which page the tab control shows for each tree item.

#include <array>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"

namespace {

struct TreeEntry {
    int parent;  // item data of the parent, -1 for the tree root
    const char* text;
    int image;
    int data;  // -1: no item data is set
};

// Root first, then groups and leaves in the order they are appended.
constexpr std::array<TreeEntry, 17> kTree = {{
    {-1, "Configuration", 0, -1},
    {0, "Sensors and Control", 1, 1},
    {1, "LipoVoltageSensor", 2, 2},
    {1, "AirSpeedSensor", 2, 3},
    {1, "CurrentSensor(40A)", 2, 4},
    {1, "CurrentSensor(150A)", 2, 5},
    {1, "RPM Sensor", 2, 6},
    {1, "VariometerSensor", 2, 7},
    {1, "FuelKitSensor", 2, 8},
    {1, "GPS Sensor", 2, 9},
    {1, "RedundancyBusSensor", 2, 10},
    {1, "Q.WireToUARTConverter Sensor", 2, 11},
    {1, "ZA-3", 2, 12},
    {1, "ESC", 2, 13},
    {1, "TQ450", 2, 14},
    {0, "Receivers", 1, 18},
    {18, "KXV", 2, 22},
}};

CDialogEx* SensorPage(int index) {
    static CDialogEx* const pages[16] = {
        &g_sensorLipoVoltage,   &g_sensorAirSpeed,    &g_sensorCurrentL,       &g_sensorCurrentH,
        &g_sensorRPM,           &g_sensorVariometer,  &g_sensorFuelKit,        &g_sensorGPS,
        &g_sensorRedundancyBus, &g_sensorQWireToUART, &g_sensorSteeringEngine, &g_sensorReserve1,
        &g_sensorReserve2,      &g_sensorReserve3,    &g_sensorReserve4,       &g_sensorReserve5,
    };
    return pages[index];
}

CDialogEx* ReceiverPage(int index) {
    static CDialogEx* const pages[4] = {&g_receiverK4V, &g_receiverK5V, &g_receiverK7L,
                                        &g_receiverKXV};
    return pages[index];
}

CDialogEx* RadioPage(int index) {
    static CDialogEx* const pages[4] = {&g_radiosFileManagement, &g_radiosReserve1,
                                        &g_radiosReserve2, &g_radiosReserve3};
    return pages[index];
}

void Place(CDialogEx* page, const CRect& r, bool show) {
    page->SetWindowPos(&CWnd::wndTop, r.left, r.top, r.Width(), r.Height(),
                       show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
}

}  // namespace

void CKestrovaDlg::InitDeviceTree() {
    for (const TreeEntry& e : kTree) {
        HTREEITEM parent = e.parent < 0 ? TVI_ROOT : m_hTreeItems[e.parent];
        HTREEITEM item = m_treeDevices.InsertItem(e.text, e.image, e.image, parent, TVI_LAST);
        if (e.data >= 0) m_treeDevices.SetItemData(item, static_cast<DWORD_PTR>(e.data));
        m_hTreeItems[e.data < 0 ? 0 : e.data] = item;
    }
}

void CKestrovaDlg::ExpandTreeItem(HTREEITEM item) {
    if (!item) return;
    if (m_treeDevices.ItemHasChildren(item)) {
        for (HTREEITEM child = m_treeDevices.GetChildItem(item); child;
             child = m_treeDevices.GetNextSiblingItem(child))
            ExpandTreeItem(child);
    }
    m_treeDevices.Expand(item, TVE_EXPAND);
}

CRect CKestrovaDlg::PageRect() {
    CRect r;
    m_tabPages.GetClientRect(&r);
    r.DeflateRect(1, 1, 1, 1);
    return r;
}

void CKestrovaDlg::CreatePages() {
    m_bSensorsGroup = TRUE;
    m_bReceiversGroup = FALSE;
    for (int i = 0; i < 16; ++i) SensorPage(i)->Create(SensorPage(i)->TemplateId(), &m_tabPages);
    for (int i = 0; i < 4; ++i) RadioPage(i)->Create(RadioPage(i)->TemplateId(), &m_tabPages);
    CRect r = PageRect();
    Place(SensorPage(0), r, true);
    for (int i = 1; i < 16; ++i) Place(SensorPage(i), r, false);
    for (int i = 0; i < 4; ++i) ReceiverPage(i)->Create(ReceiverPage(i)->TemplateId(), &m_tabPages);
    for (int i = 0; i < 4; ++i) {
        Place(ReceiverPage(i), r, false);
        Place(RadioPage(i), r, false);
    }
}

void CKestrovaDlg::HideAllPages() {
    CRect r = PageRect();
    for (int i = 0; i < 16; ++i) Place(SensorPage(i), r, false);
    for (int i = 0; i < 4; ++i) {
        Place(ReceiverPage(i), r, false);
        Place(RadioPage(i), r, false);
    }
    for (UINT_PTR id = 0; id <= 6; ++id) KillTimer(id);
}

void CKestrovaDlg::ShowSensorsGroup() {
    HideAllPages();
    m_tabPages.DeleteAllItems();
    Place(SensorPage(0), PageRect(), true);
}

void CKestrovaDlg::ShowReceiversGroup() {
    HideAllPages();
    m_tabPages.DeleteAllItems();
    m_tabPages.InsertItem(0, "KXV");
    Place(&g_receiverKXV, PageRect(), true);
}

void CKestrovaDlg::ShowRadiosGroup() {
    HideAllPages();
    m_tabPages.DeleteAllItems();
    m_tabPages.InsertItem(0, " ");
    Place(&g_radiosFileManagement, PageRect(), true);
}

void CKestrovaDlg::ShowSensorPage(int index) {
    if (index < 0 || index > 15) return;
    CRect r = PageRect();
    for (int i = 0; i < 16; ++i) Place(SensorPage(i), r, i == index);
    m_treeDevices.SelectItem(m_hTreeItems[index + 2]);
}

void CKestrovaDlg::ShowRadioPage(int index) {
    if (index < 0 || index > 3) return;
    CRect r = PageRect();
    for (int i = 0; i < 4; ++i) Place(RadioPage(i), r, i == index);
    m_treeDevices.SelectItem(m_hTreeItems[index + 24]);
}

void CKestrovaDlg::ShowReceiverPage(int) {
    // Every receiver item shows the KXV page, which serves all the models.
    CRect r = PageRect();
    for (int i = 0; i < 3; ++i) Place(ReceiverPage(i), r, false);
    Place(&g_receiverKXV, r, true);
    m_treeDevices.SelectItem(m_hTreeItems[22]);
}

void CKestrovaDlg::OnTvnSelchangedTree(NMHDR* header, LRESULT* result) {
    auto* tree = reinterpret_cast<NMTREEVIEW*>(header);
    int d = static_cast<int>(tree->itemNew.lParam);
    *result = 0;
    if (d == 1) {
        m_bSensorsGroup = TRUE, m_bReceiversGroup = FALSE, m_bRadiosGroup = FALSE;
        ShowSensorsGroup();
    } else if (d >= 2 && d <= 17) {
        bool wasSensors = m_bSensorsGroup;
        m_bSensorsGroup = TRUE, m_bReceiversGroup = FALSE, m_bRadiosGroup = FALSE;
        if (!wasSensors) ShowSensorsGroup();
        m_tabPages.SetCurSel(d - 2);
        ShowSensorPage(d - 2);
    } else if (d == 18) {
        m_bSensorsGroup = FALSE, m_bReceiversGroup = TRUE, m_bRadiosGroup = FALSE;
        BroadcastToSensorPages(2, 0);
        ShowReceiversGroup();
    } else if (d >= 19 && d <= 22) {
        m_bSensorsGroup = FALSE, m_bReceiversGroup = TRUE, m_bRadiosGroup = FALSE;
        ShowReceiversGroup();
        m_tabPages.SetCurSel(d - 19);
        ShowReceiverPage(d - 19);
    } else if (d == 23) {
        m_bSensorsGroup = FALSE, m_bReceiversGroup = FALSE, m_bRadiosGroup = TRUE;
        BroadcastToSensorPages(2, 0);
        ShowRadiosGroup();
    } else if (d >= 24 && d <= 27) {
        m_bSensorsGroup = FALSE, m_bReceiversGroup = FALSE, m_bRadiosGroup = TRUE;
        ShowRadiosGroup();
        m_tabPages.SetCurSel(d - 24);
        ShowRadioPage(d - 24);
    }
}

void CKestrovaDlg::OnTcnSelchangeTab(NMHDR*, LRESULT* result) {
    int i = m_tabPages.GetCurSel();
    if (m_bSensorsGroup)
        ShowSensorPage(i);
    else if (m_bReceiversGroup)
        ShowReceiverPage(i);
    else if (m_bRadiosGroup)
        ShowRadioPage(i);
    *result = 0;
}
