// The accelerometer calibration: the six positions and their pictures, the three frames each
// calibration sends, and the Calibration button's place beside the page's operations.

#include "kxv_page_harness.h"

namespace {

using namespace kestrova::test;
using namespace kxv;
using kxv::calibration_ids::kCalibration;
using kxv::calibration_ids::kNext;
using kxv::calibration_ids::kPrevious;

class KxvCalibrationTest : public KxvPageTest {
  protected:
    void StartOnCalibrationTab() {
        StartOnReceiver();
        ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 4));
    }
    UINT Picture() { return kxv::ShownPicture(calibration, calibration_ids::kPicture); }
};

// Position index, its picture, and the command frame as it goes on the wire.
struct Position {
    int index;
    UINT bitmap;
};
// Enter, command and leave 100 ms apart, and a tick for the leave frame's echo.
constexpr int kCalibrationMs = 450;

constexpr Position kPositions[] = {
    {0, 183}, {1, 179}, {2, 181}, {3, 182}, {4, 180}, {5, 178},
};

TEST_F(KxvCalibrationTest, EachOfTheSixPositionsSendsEnterItsCommandAndLeave100MsApart) {
    StartOnCalibrationTab();
    for (const Position& p : kPositions) {
        EXPECT_EQ(calibration.m_nOrientation, p.index);
        EXPECT_EQ(Picture(), p.bitmap) << "position " << p.index;
        const std::size_t first = wire->frames.size();
        ASSERT_TRUE(Click(&calibration, kCalibration));
        AdvanceMs(kCalibrationMs);
        const std::vector<WrittenFrame> f = Since(first, true);
        ASSERT_EQ(f.size(), 3u) << "position " << p.index << ": no polls, nothing read";
        EXPECT_EQ(f[0].type, bus::kTypeEnter);
        EXPECT_EQ(f[1].type, bus::kTypeWrite);
        EXPECT_EQ(f[1].address, 0xBA);
        EXPECT_EQ(f[1].dataId, 0x0C30);
        EXPECT_EQ(f[1].param, kxv::kCalibrationCode);
        EXPECT_EQ(f[1].value, p.index);
        EXPECT_EQ(f[2].type, bus::kTypeLeave);
        EXPECT_EQ(f[1].at - f[0].at, 100'000);
        EXPECT_EQ(f[2].at - f[1].at, 100'000);
        ASSERT_TRUE(Click(&calibration, kNext));
    }
    std::vector<std::uint32_t> expected{0, 1, 2, 3, 4, 5};
    EXPECT_EQ(receiver->Commands(), expected);
    EXPECT_EQ(calibration.m_nOrientation, 0) << "Next from 5 comes back to 0";
    EXPECT_EQ(Picture(), IDB_KXV_CAL_FLAT);
    EXPECT_TRUE(modal.shown().empty());
    EXPECT_FALSE(page.GetDlgItem(page_ids::kProgress)->IsWindowVisible());
}

TEST_F(KxvCalibrationTest, PreviousFromTheFirstPositionShowsTheLast) {
    StartOnCalibrationTab();
    ASSERT_TRUE(Click(&calibration, kPrevious));
    EXPECT_EQ(calibration.m_nOrientation, 5);
    EXPECT_EQ(Picture(), IDB_KXV_CAL_LEFT_SIDE);
    ASSERT_TRUE(Click(&calibration, kPrevious));
    EXPECT_EQ(Picture(), IDB_KXV_CAL_RIGHT_SIDE);
}

TEST_F(KxvCalibrationTest, OnePositionShowsOnePictureWhicheverWayItIsReached) {
    StartOnCalibrationTab();
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(Click(&calibration, kNext));
    const UINT byButton = Picture();
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 5));
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 4));
    EXPECT_EQ(Picture(), byButton);
    calibration.SendMessage(WM_PAINT);
    EXPECT_EQ(Picture(), byButton);
    EXPECT_EQ(byButton, IDB_KXV_CAL_NOSE_UP);
}

TEST_F(KxvCalibrationTest, TwoCalibrationsInARowEachSendTheirThreeFrames) {
    StartOnCalibrationTab();
    ASSERT_TRUE(Click(&calibration, kCalibration));
    EXPECT_FALSE(Click(&calibration, kCalibration)) << "locked until its leave frame is back";
    AdvanceMs(kCalibrationMs);
    ASSERT_TRUE(Click(&calibration, kCalibration));
    AdvanceMs(kCalibrationMs);
    EXPECT_EQ(receiver->Commands(), (std::vector<std::uint32_t>{0, 0}));
    const std::vector<WrittenFrame> all = Since(0);
    EXPECT_EQ(OfType(all, bus::kTypeEnter).size(), 2u);
    EXPECT_EQ(OfType(all, bus::kTypeLeave).size(), 2u);
    EXPECT_FALSE(receiver->InConfig());
}

TEST_F(KxvCalibrationTest, CalibrationIsLockedWhileAnOperationRunsAndKeepsToItsOwnStep) {
    StartOnCalibrationTab();
    ASSERT_TRUE(Click(&page, page_ids::kDefault));
    EXPECT_FALSE(Enabled(calibration, kCalibration));
    AdvanceMs(1000);
    const UINT writeStep = page.m_nWriteStep;
    calibration.OnBnClickedCalibration();  // the command alone cannot pull the Write back
    EXPECT_FALSE(page.Calibrating());
    AdvanceMs(kWriteMs);
    EXPECT_FALSE(page.SequenceRunning()) << "the Default ran to its end";
    EXPECT_GT(page.m_nWriteStep, writeStep);
    EXPECT_TRUE(receiver->Commands().empty());
    AdvanceMs(10000);
    ASSERT_TRUE(Enabled(calibration, kCalibration));
    const UINT finished = page.m_nWriteStep;
    ASSERT_TRUE(Click(&calibration, kCalibration));
    AdvanceMs(300);
    EXPECT_EQ(page.m_nWriteStep, finished) << "the calibration counts on its own";
    EXPECT_EQ(receiver->Commands().size(), 1u);
}

TEST_F(KxvCalibrationTest, AReadStartedDuringACalibrationEndsTheCalibration) {
    StartOnCalibrationTab();
    ASSERT_TRUE(Click(&calibration, kCalibration));
    AdvanceMs(150);
    ASSERT_TRUE(Click(&page, page_ids::kRead));
    EXPECT_FALSE(Running(timers::kCalibration));
    AdvanceMs(kReadMs);
    EXPECT_TRUE(receiver->Commands().empty());
    EXPECT_FALSE(page.SequenceRunning());
    EXPECT_TRUE(modal.shown().empty());
}

}  // namespace
