// The KXV page with its real timers against `kestrova-sim --receiver` on a pty: Read, Write of
// changed values, a Read that shows them, Save and Load of the parameter file.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "platform/modal_ui.h"
#include "platform/port_namespace.h"
#include "platform/ui_events.h"
#include "receivers/kxv_parameter_file.h"
#include "resources/resources.h"
#include "support/sim_process.h"
#include "support/ui_harness.h"

namespace {

namespace fs = std::filesystem;
using kestrova::test::SimProcess;
using kestrova::test::WaitUntil;

// A sequence on real timers ends in about a second (Read) or five (Write); a busy machine gets
// far more.
constexpr int kDeadlineMs = 60'000;

class KxvPageOnPty : public ::testing::Test {
  protected:
    void SetUp() override {
        kestrova::test::EnsureQtApp();
        platform::EnsureUiEvents();
        resources::RegisterAll();
        dir = fs::temp_directory_path() / ("kestrova-e2e-kxv-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        ::setenv("KESTROVA_DEVICES", dir.c_str(), 1);
        platform::SetDeviceScanRoots("/nonexistent-kestrova-dev", "/nonexistent-kestrova-sys");
        platform::SetModalHook([this](const platform::ModalRecord& r) {
            if (r.kind == platform::ModalKind::MessageBox) messages.push_back(r.text);
            return platform::ModalAnswer{IDOK, (dir / "receiver.csv").string()};
        });
        sim = std::make_unique<SimProcess>(
            dir, std::vector<std::string>{"--port", "COM7", "--receiver"});
        ASSERT_EQ(sim->Line(), "COM7");
        main = std::make_unique<CKestrovaDlg>();
        ASSERT_TRUE(main->Create(CKestrovaDlg::IDD));
        main->OnBnClickedOpen();
        ASSERT_TRUE(g_serialPort.IsOpen());
        messages.clear();
    }
    void TearDown() override {
        if (main) main->DestroyWindow();
        main.reset();
        g_serialPort.Close();
        platform::SetModalHook(nullptr);
        sim.reset();
        fs::remove_all(dir);
    }
    // Starts an operation and waits for its sequence's leave frame; the controls' lock-out that
    // follows is the page's own and needs no waiting here.
    ::testing::AssertionResult Operate(void (CReceiver_KXVDlg::*start)()) {
        messages.clear();
        (page.*start)();
        if (!WaitUntil([&] { return !page.SequenceRunning(); }, kDeadlineMs))
            return ::testing::AssertionFailure() << "the sequence did not end";
        if (!messages.empty()) return ::testing::AssertionFailure() << messages[0];
        return ::testing::AssertionSuccess();
    }
    CString Text(CWnd& w, int id) {
        CString t;
        w.GetDlgItemText(id, t);
        return t;
    }

    fs::path dir;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<CKestrovaDlg> main;
    std::vector<std::string> messages;
    CReceiver_KXVDlg& page = g_receiverKXV;
    CReceiver_KXV_GainSettingDlg& gains = g_receiverKXV_GainSetting;
    CReceiver_KXV_OffsetAngleSettingDlg& angles = g_receiverKXV_OffsetAngleSetting;
};

TEST_F(KxvPageOnPty, ReadWriteChangedValuesReadThemBackSaveAndLoad) {
    ASSERT_TRUE(Operate(&CReceiver_KXVDlg::OnBnClickedRead));
    EXPECT_EQ(page.HeldValues(), kxv::FactoryValues()) << "a fresh receiver holds its factory set";
    EXPECT_STREQ(Text(gains, 1184), "80");

    gains.SetDlgItemText(1184, "135");
    angles.SetDlgItemText(1194, "-12");
    static_cast<CButton*>(g_receiverKXV_WingType.GetDlgItem(1050))->SetCheck(BST_UNCHECKED);
    static_cast<CButton*>(g_receiverKXV_WingType.GetDlgItem(1052))->SetCheck(BST_CHECKED);
    ASSERT_TRUE(Operate(&CReceiver_KXVDlg::OnBnClickedWrite));

    gains.SetDlgItemText(1184, "");
    angles.SetDlgItemText(1194, "");
    ASSERT_TRUE(Operate(&CReceiver_KXVDlg::OnBnClickedRead));
    EXPECT_STREQ(Text(gains, 1184), "135");
    EXPECT_STREQ(Text(angles, 1194), "-12");
    EXPECT_EQ(page.HeldValue(0), 2);
    const kxv::Values written = page.HeldValues();

    page.OnBnClickedSave();
    EXPECT_TRUE(messages.empty());
    std::ifstream in(dir / "receiver.csv", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), kxv::FormatParameterFile(written));

    gains.SetDlgItemText(1184, "20");
    page.ExchangeSubPages(2);
    page.OnBnClickedLoad();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(page.HeldValues(), written);
    EXPECT_STREQ(Text(gains, 1184), "135");
}

}  // namespace
