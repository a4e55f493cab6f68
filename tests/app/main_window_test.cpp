// The main window as a user meets it: the port list, Open and Close, device arrival and
// removal, the device tree and its pages, the about box and the end of the program.

#include <QTreeWidget>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "platform/timer_service.h"
#include "platform/virtual_port.h"
#include "platform/win32_comm.h"
#include "support/app_harness.h"
#include "support/quiet_line.h"

namespace {

using namespace kestrova::test;

class MainWindowTest : public AppTest {
  protected:
    void Bind(int n) { BindPort(n); }
    void Start() { StartMainWindow(); }
    CString ButtonText() {
        CString t;
        main().GetDlgItemText(1002, t);
        return t;
    }
    std::vector<std::string> ComboItems() {
        std::vector<std::string> items;
        for (int i = 0; i < main().m_comboPort.GetCount(); ++i) {
            CString t;
            main().m_comboPort.GetLBText(i, t);
            items.push_back(t.str());
        }
        return items;
    }
    bool Visible(CWnd& page) { return page.m_hWnd && page.m_hWnd->isVisible(); }
};

TEST_F(MainWindowTest, PortListSortsAsTextAndSelectsTheFirst) {
    Bind(3);
    Bind(10);
    Start();
    EXPECT_EQ(ComboItems(), (std::vector<std::string>{"COM10", "COM3"}));
    EXPECT_EQ(main().m_comboPort.GetCurSel(), 0);
    EXPECT_STREQ(main().m_portSettings.strPortName, "COM10");
    EXPECT_FALSE(g_serialPort.IsOpen()) << "the last probe was COM32, which is absent";
    EXPECT_TRUE(modal.MessageTexts().empty());
}

TEST_F(MainWindowTest, NoPortAtAllSaysSoAndOpenThenFails) {
    Start();
    ASSERT_EQ(modal.MessageTexts(), std::vector<std::string>{"No serial port found"});
    EXPECT_STREQ(main().m_portSettings.strPortName, "COM1");
    modal.Clear();
    ASSERT_TRUE(Click(&main(), 1002));
    ASSERT_EQ(modal.shown().size(), 1u);
    EXPECT_EQ(modal.shown()[0].text,
              "This serial port is not found or occupied or state change failed !");
    EXPECT_EQ(modal.shown()[0].caption, "Tip");
    EXPECT_EQ(modal.shown()[0].type & MB_ICONMASK, MB_ICONWARNING);
    EXPECT_STREQ(ButtonText(), "Open");
    EXPECT_FALSE(main().m_bPortOpen);
}

TEST_F(MainWindowTest, OnlyComThirtyTwoStaysOpenAfterTheProbeAndOpensAgain) {
    Bind(32);
    Start();
    EXPECT_TRUE(g_serialPort.IsOpen());
    EXPECT_STREQ(ButtonText(), "Open");
    ASSERT_TRUE(Click(&main(), 1002));
    EXPECT_TRUE(modal.MessageTexts().empty());
    EXPECT_STREQ(ButtonText(), "Close");
    EXPECT_FALSE(main().m_comboPort.IsWindowEnabled());
    EXPECT_EQ(g_sensorAirSpeed.m_bPortOpen, 1);
    ASSERT_TRUE(Click(&main(), 1002));
    EXPECT_STREQ(ButtonText(), "Open");
    EXPECT_FALSE(g_serialPort.IsOpen());
    EXPECT_EQ(g_sensorAirSpeed.m_bPortOpen, 0);
}

TEST_F(MainWindowTest, PortHeldByAnotherProgramIsRefusedWithTheWarning) {
    Bind(3);
    Start();
    HANDLE other =
        CreateFileA("COM3", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(Click(&main(), 1002));
    ASSERT_EQ(modal.MessageTexts().size(), 1u);
    EXPECT_EQ(modal.MessageTexts()[0],
              "This serial port is not found or occupied or state change failed !");
    EXPECT_STREQ(ButtonText(), "Open");
    EXPECT_FALSE(g_serialPort.IsOpen());
    CloseHandle(other);
    modal.Clear();
    ASSERT_TRUE(Click(&main(), 1002));
    EXPECT_TRUE(modal.MessageTexts().empty());
    EXPECT_STREQ(ButtonText(), "Close");
}

TEST_F(MainWindowTest, DeviceArrivalWhileOpenClosesResetsAndListsAgain) {
    Bind(5);
    Start();
    ASSERT_TRUE(Click(&main(), 1002));
    ASSERT_STREQ(ButtonText(), "Close");
    main().SetTimer(1, 4);
    platform::BindVirtualPort(2, std::make_shared<QuietLine>(), /*announce=*/true);
    ProcessEvents();
    EXPECT_STREQ(ButtonText(), "Open");
    EXPECT_FALSE(main().m_bPortOpen);
    EXPECT_FALSE(g_serialPort.IsOpen());
    EXPECT_TRUE(main().m_comboPort.IsWindowEnabled());
    EXPECT_EQ(ComboItems(), (std::vector<std::string>{"COM2", "COM5"}));
    EXPECT_STREQ(main().m_portSettings.strPortName, "COM2");
    EXPECT_EQ(g_sensorAirSpeed.m_bPortOpen, 0);
    EXPECT_FALSE(platform::TimerService::Instance().IsRunning(&main(), 1));

    platform::UnbindVirtualPort(2, /*announce=*/true);
    ProcessEvents();
    EXPECT_EQ(ComboItems(), std::vector<std::string>{"COM5"});
}

TEST_F(MainWindowTest, OtherDeviceEventsOnlyStopTimersAndEnableTreeAndTab) {
    Bind(5);
    Start();
    ASSERT_TRUE(Click(&main(), 1002));
    main().SetTimer(0, 1);
    main().m_treeDevices.EnableWindow(FALSE);
    main().SendMessage(WM_DEVICECHANGE, DBT_CONFIGCHANGED, 0);
    EXPECT_STREQ(ButtonText(), "Close");
    EXPECT_TRUE(g_serialPort.IsOpen());
    EXPECT_TRUE(main().m_treeDevices.IsWindowEnabled());
    EXPECT_FALSE(platform::TimerService::Instance().IsRunning(&main(), 0));
}

TEST_F(MainWindowTest, StartShowsTheExpandedTreeAndTheLipoPageWithoutTabs) {
    Start();
    EXPECT_EQ(main().m_treeDevices.GetCount(), 17u);
    for (int d : {0, 1, 18})
        EXPECT_TRUE(main().m_treeDevices.IsExpanded(main().m_hTreeItems[d])) << d;
    EXPECT_TRUE(Visible(g_sensorLipoVoltage));
    EXPECT_FALSE(Visible(g_sensorAirSpeed));
    EXPECT_EQ(main().m_tabPages.GetItemCount(), 0);
    EXPECT_STREQ(main().m_treeDevices.GetItemText(main().m_hTreeItems[12]), "ZA-3");
    // Every page fills the tab's client rectangle less one pixel on each side.
    CRect tab, page;
    main().m_tabPages.GetClientRect(&tab);
    g_sensorLipoVoltage.GetClientRect(&page);
    EXPECT_EQ(page.Width(), tab.Width() - 2);
    EXPECT_EQ(g_sensorLipoVoltage.m_hWnd->pos(), QPoint(1, 1));
}

TEST_F(MainWindowTest, TreeSelectionsSwitchPagesAndGroups) {
    Start();
    ASSERT_TRUE(SelectTreeItem(&main(), 1000, main().m_hTreeItems[3]));
    EXPECT_TRUE(Visible(g_sensorAirSpeed));
    EXPECT_FALSE(Visible(g_sensorLipoVoltage));
    EXPECT_EQ(main().m_tabPages.GetItemCount(), 0);

    main().SetTimer(1, 4);
    ASSERT_TRUE(SelectTreeItem(&main(), 1000, main().m_hTreeItems[18]));
    EXPECT_TRUE(Visible(g_receiverKXV));
    EXPECT_FALSE(Visible(g_sensorAirSpeed));
    EXPECT_EQ(main().m_tabPages.GetItemCount(), 1);
    EXPECT_STREQ(main().m_tabPages.GetItemText(0), "KXV");
    EXPECT_FALSE(platform::TimerService::Instance().IsRunning(&main(), 1))
        << "switching group stops the scan";

    ASSERT_TRUE(SelectTreeItem(&main(), 1000, main().m_hTreeItems[22]));
    EXPECT_TRUE(Visible(g_receiverKXV));
    EXPECT_FALSE(Visible(g_receiverK4V));

    ASSERT_TRUE(SelectTreeItem(&main(), 1000, main().m_hTreeItems[9]));
    EXPECT_TRUE(Visible(g_sensorGPS));
    EXPECT_FALSE(Visible(g_receiverKXV));
    EXPECT_EQ(main().m_tabPages.GetItemCount(), 0);

    ASSERT_TRUE(SelectTreeItem(&main(), 1000, main().m_hTreeItems[1]));
    EXPECT_TRUE(Visible(g_sensorLipoVoltage)) << "the group item always shows the LiPo page";
    EXPECT_FALSE(Visible(g_sensorGPS));

    ASSERT_TRUE(SelectTreeItem(&main(), 1000, main().m_hTreeItems[0]));
    EXPECT_TRUE(Visible(g_sensorLipoVoltage)) << "the root changes nothing";
}

TEST_F(MainWindowTest, AboutBoxOpensFromTheSystemMenu) {
    Start();
    CMenu* sys = main().GetSystemMenu(FALSE);
    ASSERT_NE(sys, nullptr);
    // The window's Close, then the separator and the item the program appends.
    ASSERT_EQ(sys->GetMenuItemCount(), 3);
    EXPECT_EQ(sys->Items()[2].text, "关于 Kestrova(&A)...");
    modal.Clear();
    main().SendMessage(WM_SYSCOMMAND, sys->Items()[2].id, 0);
    ASSERT_EQ(modal.shown().size(), 1u);
    EXPECT_EQ(modal.shown()[0].dialogId, 100u);
    EXPECT_EQ(modal.shown()[0].caption, "关于 Kestrova");
}

TEST_F(MainWindowTest, EnterOrEscapeEndsTheProgram) {
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
        modal.Clear();
        modal.AnswerWith([key](const platform::ModalRecord& r) {
            if (r.kind == platform::ModalKind::Dialog && r.dialogId == CKestrovaDlg::IDD) {
                EXPECT_TRUE(PressKey(r.dialog, 1000, key));
            }
            return platform::ModalAnswer{-7};
        });
        EXPECT_FALSE(theApp.InitInstance());
        bool sawMain = false;
        for (const auto& s : modal.shown()) sawMain = sawMain || s.dialogId == CKestrovaDlg::IDD;
        EXPECT_TRUE(sawMain);
    }
}

}  // namespace

namespace {

TEST_F(MainWindowTest, LeavingTheSensorsForTheReceiversGivesTheOpenButtonBack) {
    Bind(3);
    Start();
    OpenPort();
    ASSERT_TRUE(SelectTreeItem(&main(), 1000, main().m_hTreeItems[3]));
    ASSERT_TRUE(Click(&g_sensorAirSpeed, 1099));  // Monitoring, confirmed
    EXPECT_FALSE(main().GetDlgItem(1002)->IsWindowEnabled()) << "Monitoring locks Open/Close";
    ASSERT_TRUE(SelectTreeItem(&main(), 1000, main().m_hTreeItems[18]));
    EXPECT_TRUE(main().GetDlgItem(1002)->IsWindowEnabled());
    CString caption;
    g_sensorAirSpeed.GetDlgItemText(1099, caption);
    EXPECT_STREQ(caption, "Monitoring");
}

}  // namespace
