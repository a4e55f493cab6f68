// Dialogs from templates: geometry in dialog units, modal results from Enter, Escape and the
// close box, data exchange, the system menu and the hint route of mouse moves.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "platform/afx.h"
#include "platform/timer_service.h"
#include "support/ui_harness.h"

namespace {

using namespace kestrova::test;

const platform::DialogTemplate kForm{
    9100,
    "Form",
    200,
    120,
    WS_POPUP | WS_CAPTION | WS_SYSMENU,
    "MS Shell Dlg",
    9,
    {
        {platform::CtrlKind::GroupBox, -1, "", WS_VISIBLE, 7, 5, 116, 25},
        {platform::CtrlKind::Edit, 1001, "", WS_VISIBLE | WS_TABSTOP, 13, 13, 48, 12},
        {platform::CtrlKind::Edit, 1002, "", WS_VISIBLE | ES_READONLY, 13, 30, 48, 12},
        {platform::CtrlKind::Static, 1003, "Label", WS_VISIBLE, 70, 30, 40, 8},
        {platform::CtrlKind::PushButton, 1004, "Go", WS_VISIBLE | WS_TABSTOP, 67, 12, 50, 14},
        {platform::CtrlKind::RadioButton, 1010, "A", WS_VISIBLE | WS_GROUP, 10, 60, 30, 10},
        {platform::CtrlKind::RadioButton, 1011, "B", WS_VISIBLE, 10, 72, 30, 10},
        {platform::CtrlKind::RadioButton, 1012, "C", WS_VISIBLE, 10, 84, 30, 10},
        {platform::CtrlKind::CheckBox, 1020, "Check", WS_VISIBLE | WS_GROUP, 60, 60, 40, 10},
        {platform::CtrlKind::Edit, 1030, "", WS_VISIBLE, 60, 80, 40, 12},
    }};

class FormDlg : public CDialogEx {
  public:
    FormDlg() : CDialogEx(9100) { platform::RegisterDialogTemplate(kForm); }
    int m_number = 7;
    double m_value = 0.0;
    CString m_text;
    int m_radio = 1;
    int m_check = 0;
    int clicks = 0;
    std::vector<MSG> hovered;

    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, 1001, m_number);
        DDX_Text(dx, 1002, m_value);
        DDX_Radio(dx, 1010, m_radio);
        DDX_Check(dx, 1020, m_check);
        DDX_Text(dx, 1030, m_text);
    }
    const platform::MessageMap* GetMessageMap() const override {
        static const platform::MessageMap map{CDialogEx::ThisMessageMap(),
                                              {platform::OnBnClicked(1004, &FormDlg::OnGo)}};
        return &map;
    }
    void OnGo() { ++clicks; }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_MOUSEMOVE) hovered.push_back(*msg);
        return CDialogEx::PreTranslateMessage(msg);
    }
};

class DialogTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(dlg.Create(9100));
        dlg.ShowWindow(SW_SHOW);
    }
    FormDlg dlg;
};

TEST_F(DialogTest, ControlsArePlacedInDialogUnitsOfTheTemplateFont) {
    platform::BaseUnits u = platform::DialogBaseUnits("MS Shell Dlg", 9);
    EXPECT_GE(u.x, 4);
    EXPECT_LE(u.x, 12);
    EXPECT_GE(u.y, 10);
    EXPECT_LE(u.y, 24);
    QWidget* go = dlg.GetDlgItem(1004)->m_hWnd;
    platform::PixelRect r = platform::DluToPixels(u, 67, 12, 50, 14);
    EXPECT_EQ(go->geometry(), QRect(r.x, r.y, r.cx, r.cy));
    // x = MulDiv(67, baseX, 4), rounded half away from zero
    EXPECT_EQ(r.x, (67 * u.x + 2) / 4);
    CRect client;
    dlg.GetClientRect(&client);
    EXPECT_EQ(client.Width(), (200 * u.x + 2) / 4);
    EXPECT_EQ(client.Height(), (120 * u.y + 4) / 8);
}

TEST_F(DialogTest, DataExchangeRoundTripsAndRejectsTextThatIsNotANumber) {
    CString shown;
    dlg.GetDlgItemText(1001, shown);
    EXPECT_STREQ(shown, "7");
    ASSERT_TRUE(Type(&dlg, 1001, " 42 "));
    ASSERT_TRUE(Click(&dlg, 1012));
    ASSERT_TRUE(Click(&dlg, 1020));
    ASSERT_TRUE(Type(&dlg, 1030, "free text"));
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_number, 42);
    EXPECT_EQ(dlg.m_radio, 2);
    EXPECT_EQ(dlg.m_check, 1);
    EXPECT_STREQ(dlg.m_text, "free text");

    ASSERT_TRUE(Type(&dlg, 1001, "12a"));
    dlg.m_text = "kept";
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_number, 42) << "the variable keeps its value";
    EXPECT_STREQ(dlg.m_text, "kept") << "the exchange stops at the bad field";
    ASSERT_EQ(modal.MessageTexts().size(), 1u);
    EXPECT_EQ(modal.MessageTexts()[0], "Please enter an integer.");
}

TEST_F(DialogTest, DoublesAreShownWithFifteenSignificantDigits) {
    dlg.m_value = 0.1 + 0.2;
    dlg.UpdateData(FALSE);
    CString text;
    dlg.GetDlgItemText(1002, text);
    EXPECT_STREQ(text, "0.3");
    dlg.m_value = -12.5;
    dlg.UpdateData(FALSE);
    dlg.GetDlgItemText(1002, text);
    EXPECT_STREQ(text, "-12.5");
}

TEST_F(DialogTest, RadioGroupKeepsOneCheckedAndStopsAtTheNextGroup) {
    ASSERT_TRUE(Click(&dlg, 1010));
    ASSERT_TRUE(Click(&dlg, 1011));
    auto* a = static_cast<CButton*>(dlg.GetDlgItem(1010));
    auto* b = static_cast<CButton*>(dlg.GetDlgItem(1011));
    auto* check = static_cast<CButton*>(dlg.GetDlgItem(1020));
    check->SetCheck(BST_CHECKED);
    EXPECT_EQ(a->GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(b->GetCheck(), BST_CHECKED);
    ASSERT_TRUE(Click(&dlg, 1012));
    EXPECT_EQ(check->GetCheck(), BST_CHECKED) << "the check box is in another group";
    dlg.m_radio = -1;
    dlg.UpdateData(FALSE);
    EXPECT_EQ(b->GetCheck(), BST_UNCHECKED);
}

TEST_F(DialogTest, ACheckBoxShowsTheThirdStateUntilTheUsersFirstClickAndNeverAgain) {
    dlg.m_check = BST_INDETERMINATE;
    dlg.UpdateData(FALSE);
    auto* check = static_cast<CButton*>(dlg.GetDlgItem(1020));
    EXPECT_EQ(check->GetCheck(), BST_INDETERMINATE);
    for (int expected : {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}) {
        ASSERT_TRUE(Click(&dlg, 1020));
        EXPECT_EQ(check->GetCheck(), expected);
    }
}

TEST_F(DialogTest, DisabledAndHiddenControlsCannotBeClicked) {
    dlg.GetDlgItem(1004)->EnableWindow(FALSE);
    EXPECT_FALSE(Click(&dlg, 1004));
    dlg.GetDlgItem(1004)->EnableWindow(TRUE);
    dlg.GetDlgItem(1004)->ShowWindow(SW_HIDE);
    EXPECT_FALSE(Click(&dlg, 1004));
    dlg.GetDlgItem(1004)->ShowWindow(SW_SHOW);
    EXPECT_TRUE(Click(&dlg, 1004));
    EXPECT_EQ(dlg.clicks, 1);
}

TEST_F(DialogTest, MouseMovesReachPreTranslateWithTheControlUnderTheMouse) {
    ASSERT_TRUE(MoveMouseOver(&dlg, 1003));
    ASSERT_TRUE(MoveMouseOver(&dlg, 1001));
    ASSERT_EQ(dlg.hovered.size(), 2u);
    EXPECT_EQ(dlg.hovered[0].hwnd, dlg.GetDlgItem(1003)->m_hWnd);
    EXPECT_EQ(dlg.hovered[1].hwnd, dlg.GetDlgItem(1001)->m_hWnd);
}

TEST_F(DialogTest, PictureStaticShowsABitmapCentredAndIgnoresTheSameImageAgain) {
    platform::RegisterBitmap(5001, ":/no-such-picture.svg");
    HBITMAP bmp = platform::LoadBitmapResource(5001);
    EXPECT_EQ(bmp, platform::LoadBitmapResource(5001)) << "one id, one handle";
    CWnd* pic = dlg.GetDlgItem(1003);
    pic->ModifyStyle(SS_TYPEMASK & 0x0F, SS_BITMAP | SS_CENTERIMAGE);
    EXPECT_EQ(pic->SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp)), 0);
    EXPECT_EQ(pic->SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp)),
              reinterpret_cast<LRESULT>(bmp));
    EXPECT_EQ(static_cast<QLabel*>(pic->m_hWnd)->alignment(), Qt::AlignCenter);
}

class ModalForm : public FormDlg {};

TEST_F(DialogTest, EnterAndEscapeEndAModalDialogWithOkAndCancel) {
    // The hook presses the key inside the open dialog, as a user would.
    auto pressing = [](UINT vk, int focusId) {
        return [vk, focusId](const platform::ModalRecord& r) {
            EXPECT_TRUE(kestrova::test::PressKey(r.dialog, focusId, vk));
            return platform::ModalAnswer{-5};
        };
    };
    {
        ModalForm form;
        modal.AnswerWith(pressing(VK_RETURN, 1001));
        EXPECT_EQ(form.DoModal(), IDOK);
        EXPECT_EQ(form.m_number, 7) << "OnOK saved the fields";
    }
    {
        ModalForm form;
        modal.AnswerWith(pressing(VK_ESCAPE, 1001));
        EXPECT_EQ(form.DoModal(), IDCANCEL);
    }
    {
        // Enter on a focused push button pushes it instead.
        ModalForm form;
        modal.AnswerWith([&](const platform::ModalRecord& r) {
            EXPECT_TRUE(kestrova::test::PressKey(r.dialog, 1004, VK_RETURN));
            EXPECT_EQ(static_cast<ModalForm*>(r.dialog)->clicks, 1);
            return platform::ModalAnswer{IDCANCEL};
        });
        EXPECT_EQ(form.DoModal(), IDCANCEL);
    }
}

TEST_F(DialogTest, BadFieldKeepsModalDialogOpenOnOk) {
    ModalForm form;
    modal.AnswerWith([&](const platform::ModalRecord& r) {
        if (r.kind != platform::ModalKind::Dialog) return platform::ModalAnswer{IDOK};
        EXPECT_TRUE(kestrova::test::Type(r.dialog, 1001, "x"));
        r.dialog->Dispatch(WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
        EXPECT_TRUE(r.dialog->m_hWnd->isVisible()) << "OK with a bad field must not end it";
        EXPECT_TRUE(kestrova::test::Type(r.dialog, 1001, "9"));
        return platform::ModalAnswer{IDOK};
    });
    EXPECT_EQ(form.DoModal(), IDOK);
    EXPECT_EQ(form.m_number, 9);
}

class MenuDlg : public FormDlg {
  public:
    UINT command = 0;
    const platform::MessageMap* GetMessageMap() const override {
        static const platform::MessageMap map{FormDlg::GetMessageMap(),
                                              {platform::OnWmSysCommand(&MenuDlg::OnSysCommand)}};
        return &map;
    }
    void OnSysCommand(UINT id, LPARAM lp) {
        command = id;
        CDialogEx::OnSysCommand(id, lp);
    }
};

TEST_F(DialogTest, SystemMenuItemsReachTheWindowAsSysCommands) {
    MenuDlg menuDlg;
    ASSERT_TRUE(menuDlg.Create(9100));
    CMenu* sys = menuDlg.GetSystemMenu(FALSE);
    ASSERT_NE(sys, nullptr);
    sys->AppendMenu(MF_SEPARATOR);
    sys->AppendMenu(MF_STRING, IDM_ABOUTBOX, "关于 Kestrova(&A)...");
    ASSERT_EQ(sys->GetMenuItemCount(), 3) << "appended after the window's own Close";
    EXPECT_EQ(sys->Items()[2].text, "关于 Kestrova(&A)...");
    menuDlg.SendMessage(WM_SYSCOMMAND, sys->Items()[2].id, 0);
    EXPECT_EQ(menuDlg.command, IDM_ABOUTBOX);
}

}  // namespace
