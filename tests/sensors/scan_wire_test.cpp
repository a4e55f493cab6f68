// The scan's reading rules byte for byte, on a scripted line: the echo of every poll, the
// answer that follows it, and the backlog bound at exactly 2000 bytes.

#include <deque>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "bus/frame.h"
#include "support/app_harness.h"

namespace {

using namespace kestrova::test;

// A wire whose incoming bytes the test lays down; it counts purges.
class ScriptedLine : public platform::VirtualLine {
  public:
    void Write(const std::uint8_t* data, std::size_t n, platform::Micros) override {
        written.insert(written.end(), data, data + n);
    }
    std::size_t Available(platform::Micros) override { return incoming.size(); }
    std::size_t Read(std::uint8_t* out, std::size_t max, platform::Micros) override {
        std::size_t n = std::min(max, incoming.size());
        std::copy_n(incoming.begin(), n, out);
        incoming.erase(incoming.begin(), incoming.begin() + static_cast<std::ptrdiff_t>(n));
        return n;
    }
    void DiscardInput(platform::Micros) override {
        incoming.clear();
        ++purges;
    }

    std::deque<std::uint8_t> incoming;
    std::vector<std::uint8_t> written;
    int purges = 0;
};

class ScanWireTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        line = std::make_shared<ScriptedLine>();
        BindPort(4, line);
        StartMainWindow();
        OpenPort();
        line->written.clear();
        line->purges = 0;
    }
    // What the wire carries back after the poll of `physId`: its echo, then a device's answer of
    // type, data ID and value, stuffed and checksummed as the device sends it.
    void EchoAndAnswer(int physId, std::vector<std::uint8_t> content) {
        std::array<std::uint8_t, bus::kFrameLength> frame{
            bus::kFrameStart, bus::kPhysIdTable[static_cast<std::size_t>(physId)]};
        std::copy(content.begin(), content.end(), frame.begin() + 2);
        std::array<std::uint8_t, bus::kMaxEncodedLength> out{};
        const std::size_t n = bus::EncodeFrame(frame, out);
        line->incoming.insert(line->incoming.end(), out.begin(),
                              out.begin() + static_cast<std::ptrdiff_t>(n));
    }
    std::shared_ptr<ScriptedLine> line;
};

TEST_F(ScanWireTest, PollsGoOutBareAndTheAnswerCountsForThePreviousPoll) {
    main().m_nPollIndex = 12;
    EchoAndAnswer(11, {0x10, 0x07, 0x0A, 0x7E, 0x01, 0x00, 0x00});
    main().ScanBusStep();
    EXPECT_EQ(line->written, (std::vector<std::uint8_t>{0x7E, bus::kPhysIdTable[12]}));
    EXPECT_EQ(g_sensorAirSpeed.m_nPhysIdIndex, 11);
    EXPECT_EQ(g_sensorAirSpeed.m_nAppId, 7);
    EXPECT_DOUBLE_EQ(g_sensorAirSpeed.m_dAirSpeed, 0x017E / 10.0) << "the stuffed 7E is a value";
    EXPECT_EQ(main().m_nPollIndex, 13);
    EXPECT_EQ(main().m_bPresent[2], 1);
}

TEST_F(ScanWireTest, TheLastPollOfASweepIsDecodedOnTheFirstTickOfTheNext) {
    main().m_nPollIndex = 27;
    main().ScanBusStep();  // polls 27, publishes the sweep
    EXPECT_EQ(main().m_nPollIndex, 0);
    EchoAndAnswer(27, {0x10, 0x00, 0x04, 0x50, 0x00, 0x00, 0x00});
    main().ScanBusStep();
    EXPECT_EQ(g_sensorRPM.m_nPhysIdIndex, 27);
    EXPECT_EQ(g_sensorRPM.m_nTemperature1, 80);
    EXPECT_EQ(g_sensorRPM.m_nConnState, 0) << "its sweep is shown once its late answers are in";
    for (int i = 1; i < 28; ++i) main().ScanBusStep();
    EXPECT_EQ(g_sensorRPM.m_nConnState, 1);
}

TEST_F(ScanWireTest, BacklogBeyondTwoThousandBytesIsPurgedUnreadAndTwoThousandAreRead) {
    g_sensorRPM.m_nTemperature1 = 5;
    line->incoming.assign(2001, 0x00);
    main().ScanBusStep();
    EXPECT_EQ(line->purges, 1);
    EXPECT_EQ(g_sensorRPM.m_nTemperature1, 5);

    // 200 whole answers behind their echoes, all in one read: each counts for its echo's ID.
    main().m_nPollIndex = 20;
    for (int i = 0; i < 200; ++i) EchoAndAnswer(4, {0x10, 0x00, 0x04, 0x50, 0x00, 0x00, 0x00});
    ASSERT_EQ(line->incoming.size(), 2000u);
    main().ScanBusStep();
    EXPECT_EQ(line->purges, 1);
    EXPECT_TRUE(line->incoming.empty()) << "read";
    EXPECT_EQ(g_sensorRPM.m_nTemperature1, 80);
    EXPECT_EQ(g_sensorRPM.m_nPhysIdIndex, 4) << "not the previous poll, 19";
    EXPECT_TRUE(modal.shown().empty());
}

}  // namespace
