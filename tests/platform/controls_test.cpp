// Controls whose behaviour the program leans on: sorted combo boxes and silent programmatic
// selection, tree and tab notifications, progress bar messages and tooltips.

#include <QApplication>
#include <QHelpEvent>
#include <QProgressBar>
#include <QTabBar>
#include <QToolTip>
#include <QTreeWidget>

#include "platform/afx.h"
#include "platform/tab_widget.h"
#include "support/ui_harness.h"

namespace {

using namespace kestrova::test;

const platform::DialogTemplate kHost{
    9200,
    "Host",
    300,
    200,
    WS_POPUP | WS_CAPTION,
    "MS Shell Dlg",
    9,
    {
        {platform::CtrlKind::ComboBox, 1003, "", WS_VISIBLE | CBS_DROPDOWN | CBS_SORT | WS_VSCROLL,
         13, 13, 48, 109},
        {platform::CtrlKind::ComboBox, 1005, "", WS_VISIBLE | CBS_DROPDOWNLIST, 70, 13, 48, 80},
        {platform::CtrlKind::Tree, 1000, "",
         WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_INFOTIP, 7, 36, 100,
         150},
        {platform::CtrlKind::Tab, 1001, "", WS_VISIBLE | TCS_MULTILINE, 127, 7, 160, 150},
        {platform::CtrlKind::Progress, 1104, "", WS_VISIBLE, 10, 190, 100, 8},
        {platform::CtrlKind::PushButton, 1002, "Open", WS_VISIBLE, 130, 170, 50, 14},
    }};

class HostDlg : public CDialogEx {
  public:
    HostDlg() : CDialogEx(9200) { platform::RegisterDialogTemplate(kHost); }
    CComboBox m_combo;
    CTreeCtrl m_tree;
    CTabCtrl m_tab;
    int comboChanges = 0;
    int tabChanges = 0;
    std::vector<NMTREEVIEW> treeChanges;

    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, 1003, m_combo);
        DDX_Control(dx, 1000, m_tree);
        DDX_Control(dx, 1001, m_tab);
    }
    const platform::MessageMap* GetMessageMap() const override {
        static const platform::MessageMap map{
            CDialogEx::ThisMessageMap(),
            {
                platform::OnCbnSelchange(1003, &HostDlg::OnCombo),
                platform::OnNotifyCode(TVN_SELCHANGED, 1000, &HostDlg::OnTree),
                platform::OnNotifyCode(TCN_SELCHANGE, 1001, &HostDlg::OnTab),
            }};
        return &map;
    }
    void OnCombo() { ++comboChanges; }
    void OnTree(NMHDR* h, LRESULT* result) {
        treeChanges.push_back(*reinterpret_cast<NMTREEVIEW*>(h));
        *result = 0;
    }
    void OnTab(NMHDR*, LRESULT* result) {
        ++tabChanges;
        *result = 0;
    }
};

class ControlsTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(dlg.Create(9200));
        dlg.ShowWindow(SW_SHOW);
    }
    HostDlg dlg;
};

TEST_F(ControlsTest, SortedComboListsComTenBeforeComThreeAndSelectsSilently) {
    dlg.m_combo.AddString("COM3");
    dlg.m_combo.AddString("COM10");
    dlg.m_combo.AddString("com2");
    dlg.m_combo.AddString("COM32");
    CString first, second, third;
    dlg.m_combo.GetLBText(0, first);
    dlg.m_combo.GetLBText(1, second);
    dlg.m_combo.GetLBText(2, third);
    EXPECT_STREQ(first, "COM10");
    EXPECT_STREQ(second, "com2");
    EXPECT_STREQ(third, "COM3");
    EXPECT_EQ(dlg.m_combo.GetCurSel(), CB_ERR) << "adding never selects";

    dlg.m_combo.SetCurSel(0);
    EXPECT_EQ(dlg.comboChanges, 0) << "selecting by program raises no notification";
    CString text;
    dlg.m_combo.GetWindowText(text);
    EXPECT_STREQ(text, "COM10");

    ASSERT_TRUE(ChooseComboItem(&dlg, 1003, 2));
    EXPECT_EQ(dlg.comboChanges, 1);
    EXPECT_EQ(dlg.m_combo.GetCurSel(), 2);

    dlg.m_combo.ResetContent();
    EXPECT_EQ(dlg.m_combo.GetCount(), 0);
    EXPECT_EQ(dlg.comboChanges, 1);
}

TEST_F(ControlsTest, UnsortedComboKeepsInsertionOrder) {
    auto* list = static_cast<CComboBox*>(dlg.GetDlgItem(1005));
    list->AddString("b");
    list->AddString("a");
    CString t;
    list->GetLBText(0, t);
    EXPECT_STREQ(t, "b");
    EXPECT_EQ(list->FindStringExact(-1, "A"), 1);
}

TEST_F(ControlsTest, TreeSelectionNotifiesWithItemDataByUserAndByProgram) {
    HTREEITEM root = dlg.m_tree.InsertItem("Configuration", 0, 0);
    HTREEITEM group = dlg.m_tree.InsertItem("Sensors", 1, 1, root);
    HTREEITEM leaf = dlg.m_tree.InsertItem("AirSpeedSensor", 2, 2, group);
    dlg.m_tree.SetItemData(group, 1);
    dlg.m_tree.SetItemData(leaf, 3);
    EXPECT_EQ(dlg.m_tree.GetChildItem(root), group);
    EXPECT_EQ(dlg.m_tree.GetNextSiblingItem(group), nullptr);
    EXPECT_TRUE(dlg.m_tree.ItemHasChildren(group));
    dlg.m_tree.Expand(group, TVE_EXPAND);
    dlg.m_tree.Expand(root, TVE_EXPAND);

    ASSERT_TRUE(SelectTreeItem(&dlg, 1000, leaf));
    ASSERT_EQ(dlg.treeChanges.size(), 1u);
    EXPECT_EQ(dlg.treeChanges[0].itemNew.hItem, leaf);
    EXPECT_EQ(dlg.treeChanges[0].itemNew.lParam, 3);
    EXPECT_EQ(dlg.treeChanges[0].action, TVC_BYMOUSE);

    dlg.m_tree.SelectItem(group);
    ASSERT_EQ(dlg.treeChanges.size(), 2u);
    EXPECT_EQ(dlg.treeChanges[1].itemNew.lParam, 1);
    EXPECT_EQ(dlg.treeChanges[1].itemOld.hItem, leaf);
    EXPECT_EQ(dlg.treeChanges[1].action, TVC_UNKNOWN);

    dlg.m_tree.SelectItem(group);
    EXPECT_EQ(dlg.treeChanges.size(), 2u) << "selecting the selected item changes nothing";
    int image = -1, selected = -1;
    dlg.m_tree.GetItemImage(leaf, image, selected);
    EXPECT_EQ(image, 2);
}

TEST_F(ControlsTest, TreeTipShowsTheWholeTextOfAnItemShownCutOffAndOfNoOther) {
    const QString whole = "An item whose text is far too long for a tree this narrow";
    auto* tree = static_cast<QTreeWidget*>(dlg.m_tree.m_hWnd);
    auto* cut = reinterpret_cast<QTreeWidgetItem*>(dlg.m_tree.InsertItem(whole.toUtf8()));
    auto* shown = reinterpret_cast<QTreeWidgetItem*>(dlg.m_tree.InsertItem("ESC"));
    for (auto [item, tip] : {std::pair{cut, whole}, {shown, QString()}}) {
        const QPoint at = tree->visualItemRect(item).center();
        QHelpEvent rest(QEvent::ToolTip, at, tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &rest);
        // A tip fades out on a timer of its own.
        EXPECT_TRUE(
            WaitUntil([&] { return (QToolTip::isVisible() ? QToolTip::text() : "") == tip; }, 5000))
            << tip.toStdString();
    }
}

TEST_F(ControlsTest, TabNotifiesOnlyTheUsersChoice) {
    EXPECT_EQ(dlg.m_tab.GetCurSel(), -1);
    dlg.m_tab.InsertItem(0, "KXV");
    dlg.m_tab.InsertItem(1, " ");
    EXPECT_EQ(dlg.m_tab.GetItemCount(), 2);
    dlg.m_tab.SetCurSel(1);
    EXPECT_EQ(dlg.tabChanges, 0);
    ASSERT_TRUE(SelectTab(&dlg, 1001, 0));
    EXPECT_EQ(dlg.tabChanges, 1);
    EXPECT_EQ(dlg.m_tab.GetCurSel(), 0);
    EXPECT_EQ(dlg.m_tab.SetCurSel(5), -1) << "a tab that does not exist changes nothing";
    EXPECT_EQ(dlg.m_tab.GetCurSel(), 0);
    dlg.m_tab.DeleteAllItems();
    EXPECT_EQ(dlg.tabChanges, 1);
    EXPECT_EQ(dlg.m_tab.GetItemCount(), 0);
    // The client rectangle is the whole control; pages are placed inside it.
    CRect client, window;
    dlg.m_tab.GetClientRect(&client);
    dlg.m_tab.GetWindowRect(&window);
    EXPECT_EQ(client.Width(), window.Width());
    EXPECT_EQ(client.left, 0);
}

TEST_F(ControlsTest, ProgressBarFollowsItsMessages) {
    CWnd* bar = dlg.GetDlgItem(1104);
    bar->SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 140));
    bar->SendMessage(PBM_SETPOS, 70, 0);
    EXPECT_EQ(bar->SendMessage(PBM_GETPOS, 0, 0), 70);
    bar->SendMessage(PBM_SETBARCOLOR, 0, 0x66FF66);
    bar->SendMessage(PBM_SETBKCOLOR, 0, 0x242424);
    auto* q = static_cast<QProgressBar*>(bar->m_hWnd);
    EXPECT_EQ(q->maximum(), 140);
    EXPECT_TRUE(q->styleSheet().contains("#66ff66")) << q->styleSheet().toStdString();
    EXPECT_TRUE(q->styleSheet().contains("#242424"));
    // A position past the range shows a full bar, as the default 0..100 range does at 139.
    bar->SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    bar->SendMessage(PBM_SETPOS, 139, 0);
    EXPECT_EQ(q->value(), 100);
}

TEST_F(ControlsTest, TooltipShowsItsToolsTextOnlyWhileActive) {
    CToolTipCtrl tip;
    tip.Create(&dlg);
    tip.AddTool(dlg.GetDlgItem(1002), "Open the serial port");
    EXPECT_EQ(tip.TextFor(dlg.GetDlgItem(1002)), "");
    tip.Activate(TRUE);
    EXPECT_EQ(tip.TextFor(dlg.GetDlgItem(1002)), "Open the serial port");
    EXPECT_EQ(dlg.GetDlgItem(1002)->m_hWnd->toolTip().toStdString(), "Open the serial port");
}

TEST_F(ControlsTest, TextOfEachKindOfControl) {
    dlg.SetDlgItemText(1002, "Close");
    CString t;
    dlg.GetDlgItemText(1002, t);
    EXPECT_STREQ(t, "Close");
    dlg.SetWindowText("Kestrova");
    dlg.GetWindowText(t);
    EXPECT_STREQ(t, "Kestrova");
    EXPECT_EQ(dlg.GetDlgItem(4242), nullptr);
    EXPECT_EQ(dlg.GetDlgItem(1002)->GetParent(), &dlg);
    EXPECT_EQ(dlg.GetDlgItem(1003), &dlg.m_combo) << "the bound member stands for its control";
}

}  // namespace
