// The radio pages as a user would meet them through the page host: file management with its
// drive report, the model-creation host with the T70 wizard, its template pages and the flying
// wing's mixers, and the T90 and reserve pages.

#include <QLabel>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "platform/bitmaps.h"
#include "platform/win32_drives.h"
#include "support/app_harness.h"

namespace {

namespace fs = std::filesystem;
using namespace kestrova::test;

class RadioPagesTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        BindPort(3);
        StartMainWindow();
        modal.Clear();
    }
    void TearDown() override {
        platform::SetTestDrives(std::nullopt);
        for (const fs::path& d : made) fs::remove_all(d);
        AppTest::TearDown();
    }

    // Drive `letter` on a folder of its own.
    platform::TestDrive Drive(char letter, std::string label, UINT type = DRIVE_FIXED) {
        fs::path d = fs::temp_directory_path() /
                     ("kestrova-drive-" + std::to_string(getpid()) + "-" + letter);
        fs::create_directories(d);
        made.push_back(d);
        return {letter, d.string(), std::move(label), "ext4", type};
    }

    static bool Visible(CWnd& w) { return w.m_hWnd && w.m_hWnd->isVisible(); }

    std::vector<fs::path> made;
};

TEST_F(RadioPagesTest, TheTreeLeadsToNoRadioPageButTheHostHoldsThemAll) {
    EXPECT_EQ(main().m_treeDevices.GetCount(), 17u);
    for (int d = 23; d <= 27; ++d) EXPECT_EQ(main().m_hTreeItems[d], nullptr) << d;
    CWnd* pages[] = {&g_radiosFileManagement, &g_radiosReserve1, &g_radiosReserve2,
                     &g_radiosReserve3};
    for (CWnd* page : pages) {
        ASSERT_NE(page->m_hWnd, nullptr);
        EXPECT_EQ(page->GetParent(), &main().m_tabPages);
        EXPECT_FALSE(Visible(*page));
    }
}

TEST_F(RadioPagesTest, TheRadioGroupShowsOnePageAtATimeUnderABlankTab) {
    main().ShowRadiosGroup();
    ASSERT_EQ(main().m_tabPages.GetItemCount(), 1);
    EXPECT_STREQ(main().m_tabPages.GetItemText(0), " ");
    EXPECT_FALSE(Visible(g_sensorLipoVoltage));
    CWnd* pages[] = {&g_radiosFileManagement, &g_radiosReserve1, &g_radiosReserve2,
                     &g_radiosReserve3};
    EXPECT_TRUE(Visible(*pages[0]));
    for (int shown : {2, 3, 1, 0}) {
        main().ShowRadioPage(shown);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(Visible(*pages[i]), i == shown) << shown << " " << i;
    }
    CString corner;
    g_radiosReserve2.GetDlgItemText(-1, corner);
    EXPECT_STREQ(corner, "2");
    g_radiosReserve3.GetDlgItemText(-1, corner);
    EXPECT_STREQ(corner, "3");
    main().ShowSensorsGroup();
    EXPECT_TRUE(Visible(g_sensorLipoVoltage));
    EXPECT_FALSE(Visible(g_radiosFileManagement));
}

TEST_F(RadioPagesTest, ConnectReportsTheDrivesFromCOnInBoxes) {
    main().ShowRadiosGroup();
    struct Case {
        const char* name;
        std::vector<platform::TestDrive> drives;
        std::vector<std::string> boxes;
    };
    std::vector<platform::TestDrive> everyLetter;
    std::vector<std::string> everyBox;
    for (char l = 'C'; l <= 'Z'; ++l) {
        everyLetter.push_back(Drive(l, std::string("Disk") + l));
        everyBox.push_back("testC:\\.");
        everyBox.push_back(std::string("驱动器 ") + l + " 的名1字为:Disk" + l + ".");
    }
    const Case cases[] = {
        {"C and D, no E",
         {Drive('C', "System"), Drive('D', "Data")},
         {"testC:\\.", "驱动器 C 的名1字为:System.", "testC:\\.", "驱动器 D 的名1字为:Data."}},
        {"no C", {Drive('D', "Data"), Drive('E', "Backup")}, {}},
        {"a gap after D ends the report",
         {Drive('C', "System"), Drive('D', ""), Drive('F', "Far")},
         {"testC:\\.", "驱动器 C 的名1字为:System.", "testC:\\.", "驱动器 D 的名1字为:."}},
        {"every letter up to Z", everyLetter, everyBox},
    };
    for (const Case& c : cases) {
        platform::SetTestDrives(c.drives);
        modal.Clear();
        ASSERT_TRUE(Click(&g_radiosFileManagement, 1005)) << c.name;
        EXPECT_EQ(modal.MessageTexts(), c.boxes) << c.name;
    }
}

TEST_F(RadioPagesTest, DriveInformationLines) {
    platform::SetTestDrives(std::vector<platform::TestDrive>{
        Drive('C', "System"), Drive('D', "Stick", DRIVE_REMOVABLE),
        Drive('F', "Share", DRIVE_REMOTE), Drive('G', "Disc", DRIVE_CDROM),
        Drive('H', "Ram", DRIVE_RAMDISK), Drive('I', "Odd", DRIVE_UNKNOWN),
        Drive('J', "Strange", 9)});
    struct Case {
        char letter;
        int kind;
        std::string text;  // a regular expression
    };
    const Case cases[] = {
        {'C', 0, "驱动器 C 的名1字为:System\\."},
        {'d', 0, "驱动器 d 的名1字为:Stick\\."},
        {'C', 1, "驱动器 C 的序列号为:[0-9A-F]+\\.|获取驱动器序列号失败!"},
        {'C', 2, "驱动器 C 的文件系统为:ext4\\."},
        {'C', 3, "驱动器 C 的类型为:硬盘\\."},
        {'D', 3, "驱动器 D 的类型为:可移动磁盘\\."},
        {'F', 3, "驱动器 F 的类型为:网络驱动器\\."},
        {'G', 3, "驱动器 G 的类型为:光驱\\(CD-ROM\\)\\."},
        {'H', 3, "驱动器 H 的类型为:RAM磁盘\\(RAM Disk\\)\\."},
        {'I', 3, "驱动器 I 的类型为:未知类型!\\."},
        {'J', 3, "未知错误!"},
        {'C', 4, "驱动器 C 的总大小为:[0-9]+\\.[0-9]{2}GB\\."},
        {'C', 5, "驱动器 C 的剩余大小为:[0-9]+\\.[0-9]{2}GB\\.|获取驱动器剩余大小失败!"},
        {'C', 6, "获取驱动器信息时参数设置错误!"},
        {'E', 0, "驱动器 E 的名1字为:\\."},
        {'E', 1, "获取驱动器序列号失败!"},
        {'E', 2, "获取驱动器文件系统失败!"},
        {'E', 3, "没有根目录的驱动器!"},
        {'E', 4, "获取驱动器总大小失败!"},
        {'E', 5, "获取驱动器剩余大小失败!"},
        {'7', 0, "驱动器参数无效!"},
        {':', 3, "驱动器参数无效!"},
    };
    for (const Case& c : cases) {
        const std::string text = g_radiosFileManagement.GetDriveInfoText(c.letter, c.kind).str();
        EXPECT_TRUE(std::regex_match(text, std::regex(c.text)))
            << c.letter << " kind " << c.kind << ": " << text;
    }
}

TEST_F(RadioPagesTest, BackUpDoesNothing) {
    main().ShowRadiosGroup();
    ASSERT_TRUE(Click(&g_radiosFileManagement, 1006));
    EXPECT_TRUE(modal.shown().empty());
}

class T70WizardTest : public RadioPagesTest {
  protected:
    void SetUp() override {
        RadioPagesTest::SetUp();
        main().ShowRadiosGroup();
        main().ShowRadioPage(1);
    }
    CDialogEx* const templatePages[14] = {
        &g_radiosModelCreate_T70_Initialization,   &g_radiosModelCreate_T70_Airplane_FlyingWing1,
        &g_radiosModelCreate_T70_Airplane_Normal1, &g_radiosModelCreate_T70_Airplane_V_Tal1,
        &g_radiosModelCreate_T70_Helicopter_H_11,  &g_radiosModelCreate_T70_Helicopter_H_31,
        &g_radiosModelCreate_T70_Helicopter_H_41,  &g_radiosModelCreate_T70_Helicopter_H_4X1,
        &g_radiosModelCreate_T70_Helicopter_HE31,  &g_radiosModelCreate_T70_Helicopter_HR31,
        &g_radiosModelCreate_T70_Custom1,          &g_radiosModelCreate_T70_Glider_Normal1,
        &g_radiosModelCreate_T70_Glider_V_Tal1,    &g_radiosModelCreate_T70_Multicopter1,
    };
    int VisibleTemplatePages() {
        int n = 0;
        for (CDialogEx* p : templatePages) n += Visible(*p);
        return n;
    }
    CRadios_ModelCreate_T70Dlg& wizard = g_radiosModelCreate_T70;
};

TEST_F(T70WizardTest, StartsOnTheInitializationPageWithNothingChosen) {
    ASSERT_EQ(g_radiosReserve1.m_tabRadios.GetItemCount(), 2);
    EXPECT_STREQ(g_radiosReserve1.m_tabRadios.GetItemText(0), "T70");
    EXPECT_STREQ(g_radiosReserve1.m_tabRadios.GetItemText(1), "T90");
    EXPECT_TRUE(Visible(wizard));
    EXPECT_FALSE(Visible(g_radiosModelCreate_T90));
    EXPECT_TRUE(Visible(g_radiosModelCreate_T70_Initialization));
    EXPECT_EQ(VisibleTemplatePages(), 1);
    EXPECT_EQ(wizard.m_comboModelType.GetCount(), 13);
    EXPECT_EQ(wizard.m_comboModelType.GetCurSel(), CB_ERR);
    EXPECT_EQ(wizard.m_tabTemplates.GetItemCount(), 0) << "the frame never gets a tab";
}

TEST_F(T70WizardTest, EachModelTypeShowsItsTemplatePage) {
    struct Case {
        const char* item;
        CDialogEx* page;
        const char* name;
        bool inputMap;
    };
    const Case cases[] = {
        {"H_1", &g_radiosModelCreate_T70_Helicopter_H_11, "H_11", true},
        {"H_3", &g_radiosModelCreate_T70_Helicopter_H_31, "H_31", true},
        {"H_4", &g_radiosModelCreate_T70_Helicopter_H_41, "H_41", true},
        {"H_4X", &g_radiosModelCreate_T70_Helicopter_H_4X1, "H_4X1", true},
        {"HE3", &g_radiosModelCreate_T70_Helicopter_HE31, "HE31", true},
        {"HR3", &g_radiosModelCreate_T70_Helicopter_HR31, "HR31", true},
        {"Multicopter", &g_radiosModelCreate_T70_Multicopter1, "Multicopter1", true},
        {"Airplane_Normal", &g_radiosModelCreate_T70_Airplane_Normal1, "A_Normal1", true},
        {"Airplane_FlyingWing", &g_radiosModelCreate_T70_Airplane_FlyingWing1, "A_FlyingWing1",
         true},
        {"Airplane_V_Tal", &g_radiosModelCreate_T70_Airplane_V_Tal1, "A_V_TAL1", true},
        {"Glider_Normal", &g_radiosModelCreate_T70_Glider_Normal1, "Glider_Normal1", true},
        {"Glider_V_Tal", &g_radiosModelCreate_T70_Glider_V_Tal1, "Glider_V_Tal", true},
        {"Custom", &g_radiosModelCreate_T70_Custom1, "Custom1", false},
    };
    for (int i = 0; i < 13; ++i) {
        const Case& c = cases[i];
        CString item;
        wizard.m_comboModelType.GetLBText(i, item);
        EXPECT_STREQ(item, c.item);
        ASSERT_TRUE(ChooseComboItem(&wizard, 1176, i)) << c.item;
        EXPECT_TRUE(Visible(*c.page)) << c.item;
        EXPECT_EQ(VisibleTemplatePages(), 1) << c.item;
        EXPECT_EQ(wizard.m_nModelType, i);
        CString name;
        c.page->GetDlgItemText(-1, name);
        EXPECT_STREQ(name, c.name);
        CWnd* inputMap = c.page->GetDlgItem(1292);
        EXPECT_EQ(inputMap && Visible(*inputMap), c.inputMap) << c.item;
        if (inputMap) {
            EXPECT_TRUE(Click(c.page, 1292));
        }
        EXPECT_EQ(c.page->GetDlgItem(1294) != nullptr, c.page == templatePages[1]) << c.item;
    }
    EXPECT_TRUE(modal.shown().empty()) << "\"Input Map\" does nothing yet";
    wizard.ShowTemplatePage(13);
    EXPECT_TRUE(Visible(g_radiosModelCreate_T70_Custom1))
        << "an index past the list changes nothing";
}

TEST_F(T70WizardTest, TheMixerListAndItsFormOpenModallyAgainAndAgain) {
    ASSERT_TRUE(ChooseComboItem(&wizard, 1176, 8));
    CRadios_ModelCreate_T70_Airplane_FlyingWing1_ExMixerDlg& list =
        g_radiosModelCreate_T70_Airplane_FlyingWing1_ExMixer;
    int forms = 0;
    modal.AnswerWith([&](const platform::ModalRecord& r) -> platform::ModalAnswer {
        if (r.kind == platform::ModalKind::Dialog && r.dialogId == 405) {
            // The user tries every row: Edit opens the form, Reset asks and changes nothing.
            for (int n = 1; n <= 10; ++n) {
                EXPECT_TRUE(Click(r.dialog, 1294 + n)) << "Edit of row " << n;
                EXPECT_TRUE(Click(r.dialog, 1283 + n)) << "Reset of row " << n;
            }
            return {IDOK};
        }
        if (r.kind == platform::ModalKind::Dialog && r.dialogId == 406) {
            ++forms;
            EXPECT_TRUE(r.dialog->GetDlgItem(1176) && r.dialog->GetDlgItem(1213) &&
                        r.dialog->GetDlgItem(1311));
            return {forms % 2 ? IDOK : IDCANCEL};
        }
        return {forms % 2 ? IDYES : IDNO};
    });
    for (int opening = 1; opening <= 2; ++opening) {
        ASSERT_TRUE(Click(&g_radiosModelCreate_T70_Airplane_FlyingWing1, 1294));
        EXPECT_EQ(list.m_hWnd, nullptr) << "the list closed again";
        EXPECT_EQ(g_radiosModelCreate_T70_Airplane_FlyingWing1_ExMixer_Edit.m_hWnd, nullptr);
    }
    EXPECT_EQ(forms, 20);
    int lists = 0, resets = 0;
    for (const Shown& s : modal.shown()) {
        lists += s.dialogId == 405;
        if (s.kind == platform::ModalKind::MessageBox) {
            ++resets;
            EXPECT_EQ(s.text, "Are you sure you want to reset it?");
            EXPECT_EQ(s.type, MB_YESNO | MB_ICONQUESTION);
        }
    }
    EXPECT_EQ(lists, 2);
    EXPECT_EQ(resets, 20);
}

TEST_F(T70WizardTest, CreateDoesNothingAndTheHostSwitchesToT90AndBack) {
    ASSERT_TRUE(Click(&wizard, 1293));
    EXPECT_TRUE(modal.shown().empty());
    EXPECT_TRUE(Visible(g_radiosModelCreate_T70_Initialization));

    ASSERT_TRUE(SelectTab(&g_radiosReserve1, 1231, 1));
    EXPECT_FALSE(Visible(wizard));
    EXPECT_TRUE(Visible(g_radiosModelCreate_T90));
    // Only its name and the radio's picture.
    const auto controls =
        g_radiosModelCreate_T90.m_hWnd->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(
        g_radiosModelCreate_T90.m_hWnd->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(),
        2);
    ASSERT_EQ(controls.size(), 2);
    const bool namedT90 = controls[0]->text() == "T90" || controls[1]->text() == "T90";
    const bool pictured = !controls[0]->pixmap().isNull() || !controls[1]->pixmap().isNull();
    EXPECT_TRUE(namedT90);
    EXPECT_TRUE(pictured);

    ASSERT_TRUE(SelectTab(&g_radiosReserve1, 1231, 0));
    EXPECT_TRUE(Visible(wizard));
    EXPECT_FALSE(Visible(g_radiosModelCreate_T90));
}

}  // namespace
