// The KXV page with its real timers against `kestrova-sim --receiver` on a pty: Read, Write of
// changed values, a Read that shows them, Save and Load of the parameter file.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "receivers/kxv_parameter_file.h"
#include "support/app_on_pty.h"

namespace {

using kestrova::test::WaitUntil;

class KxvPageOnPty : public kestrova::test::AppOnPty {
  protected:
    void SetUp() override {
        AppOnPty::SetUp();
        fileName = "receiver.csv";
        std::vector<std::string> args = {"--receiver"};
        if (noisy)
            args.insert(args.end(), {"--latency", "16", "--noise", "4:3", "--answer-noise", "1",
                                     "--log", Log().string()});
        Start(args);
    }
    std::filesystem::path Log() const { return dir / "wire.log"; }
    // Starts an operation and waits for its sequence's leave frame (about a second after a Read,
    // five after a Write); the controls' lock-out that follows is the page's own and needs no
    // waiting here.
    ::testing::AssertionResult Operate(void (CReceiver_KXVDlg::*start)()) {
        messages.clear();
        (page.*start)();
        if (!WaitUntil([&] { return !page.SequenceRunning(); }, kDeadlineMs))
            return ::testing::AssertionFailure() << "the sequence did not end";
        if (!messages.empty()) return ::testing::AssertionFailure() << messages[0];
        return ::testing::AssertionSuccess();
    }

    bool noisy = false;
    CReceiver_KXVDlg& page = g_receiverKXV;
    CReceiver_KXV_GainSettingDlg& gains = g_receiverKXV_GainSetting;
    CReceiver_KXV_OffsetAngleSettingDlg& angles = g_receiverKXV_OffsetAngleSetting;
};

// Behind a slow adapter, with the Read's first read request hit by noise in its data ID: the
// receiver does not hear it, the page sends it again, and the Read ends as on a clean wire,
// with the leave frame heard. Its first answer is hit in its value, and the value is not taken.
class KxvPageOnNoisyPty : public KxvPageOnPty {
  public:
    KxvPageOnNoisyPty() { noisy = true; }
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

TEST_F(KxvPageOnNoisyPty, AReadWithItsFirstReadRequestHitStillReadsAll26) {
    ASSERT_TRUE(Operate(&CReceiver_KXVDlg::OnBnClickedRead));
    EXPECT_EQ(page.HeldValues(), kxv::FactoryValues());
    std::ifstream in(Log());
    std::stringstream text;
    text << in.rdbuf();
    const std::string log = text.str();
    EXPECT_NE(log.find("noise    7E BA 30 31 0C 80"), std::string::npos) << "the noise struck";
    EXPECT_NE(log.find("noise    32 30 0C 80"), std::string::npos) << "and struck an answer";
    EXPECT_NE(log.find("7E BA 20 30 0C 00 00 00 00 A3"), std::string::npos) << "the leave frame";
}

}  // namespace
