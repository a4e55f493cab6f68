// The KXV page on the simulated bus with the virtual clock: the Read, Write and Default
// sequences frame by frame, silent and odd receivers, the time-out, and what happens when an
// operation is started, stopped or cut short.

#include <map>
#include <optional>
#include <tuple>

#include "kxv_page_harness.h"
#include "receivers/kxv_messages.h"

namespace {

using namespace kestrova::test;
using namespace kxv;
using kxv::page_ids::kDefault;
using kxv::page_ids::kRead;
using kxv::page_ids::kWrite;

class KxvExchangeTest : public KxvPageTest {};

// Values of the receiver unlike the factory ones, so what the pages show must come from it.
struct ReceiverSet {
    const char* key;
    int value;
};
constexpr ReceiverSet kOwnValues[] = {
    {"WingType", 2},
    {"MountingType", 3},
    {"CompensationDirection_Aileron1", 0},
    {"CompensationDirection_Elevator1", 255},
    {"CompensationDirection_Rudder", 0},
    {"CompensationDirection_Aileron2", 255},
    {"CompensationDirection_Elevator2", 0},
    {"StabilizeGain_Aileron", 10},
    {"StabilizeGain_Elevator", 20},
    {"StabilizeGain_Rudder", 30},
    {"AutoLevelGain_Aileron", 40},
    {"AutoLevelGain_Elevator", 60},
    {"UprightGain_Elevator", 70},
    {"UprightGain_Rudder", 90},
    {"CrabGain_Aileron", 150},
    {"CrabGain_Rudder", 200},
    {"AutoLevelOffsetAngle_Aileron", 108},
    {"AutoLevelOffsetAngle_Elevator", 148},
    {"UprightOffsetAngle_Elevator", 120},
    {"UprightOffsetAngle_Rudder", 128},
    {"CrabOffsetAngle_Aileron", 135},
    {"CrabOffsetAngle_Rudder", 110},
    {"KXV_Enable", 1},
    {"AUX1", 1},
    {"AUX2", 0},
    {"QuickMode", 1},
};

TEST_F(KxvExchangeTest, ReadSendsEnterPollsEachParameterUntilItsAnswerThenLeaveAndShowsAll26) {
    for (const ReceiverSet& s : kOwnValues) SetReceiverValue(s.key, s.value);
    StartOnReceiver();
    const std::size_t first = wire->frames.size();
    ASSERT_TRUE(Click(&page, kRead));
    AdvanceMs(kReadMs);
    EXPECT_FALSE(page.SequenceRunning());

    const std::vector<WrittenFrame> f = Since(first, true);
    ASSERT_GE(f.size(), 4u);
    EXPECT_FALSE(f[0].poll);
    EXPECT_EQ(f[0].type, bus::kTypeEnter);
    EXPECT_EQ(f[0].address, 0xBA);
    EXPECT_EQ(f[0].dataId, 0x0C30);
    EXPECT_TRUE(f[1].poll && f[1].address == 0xBA);
    EXPECT_TRUE(f[2].poll && f[2].address == 0xBA);
    std::size_t i = 3;
    for (const Parameter& p : kParameters) {
        ASSERT_LT(i, f.size());
        EXPECT_FALSE(f[i].poll) << p.key;
        EXPECT_EQ(f[i].type, bus::kTypeRead) << p.key;
        EXPECT_EQ(f[i].param, p.code) << p.key << ": parameters go in the exchange order";
        ++i;
        int polls = 0;
        while (i < f.size() && f[i].poll) ++polls, ++i;
        EXPECT_GE(polls, 1) << p.key;
        EXPECT_LE(polls, 3) << p.key << ": an answering receiver needs no repeat";
    }
    ASSERT_EQ(i + 1, f.size()) << "the leave frame ends it";
    EXPECT_EQ(f[i].type, bus::kTypeLeave);

    for (const ReceiverSet& s : kOwnValues) EXPECT_EQ(page.HeldValue(K(s.key)), s.value) << s.key;
    EXPECT_EQ(Checked(wing, wing_ids::kFirstRadio + 2), BST_CHECKED) << "Wing_Vtail_Ail";
    EXPECT_EQ(Checked(mounting, mounting_ids::kFirstRadio + 3), BST_CHECKED) << "Left up";
    EXPECT_EQ(ComboSelection(Control("CompensationDirection_Aileron1")), 1) << "AIL1 Reverse";
    EXPECT_EQ(ComboSelection(Control("CompensationDirection_Elevator1")), 0) << "ELE1 Positive";
    EXPECT_STREQ(Text(gains, Control("StabilizeGain_Aileron")), "10");
    EXPECT_STREQ(Text(gains, Control("CrabGain_Rudder")), "200");
    EXPECT_STREQ(Text(angles, Control("AutoLevelOffsetAngle_Aileron")), "-20");
    EXPECT_STREQ(Text(angles, Control("AutoLevelOffsetAngle_Elevator")), "20");
    EXPECT_STREQ(Text(angles, Control("CrabOffsetAngle_Aileron")), "7");
    EXPECT_EQ(Checked(page, page_ids::kKxvEnable), BST_CHECKED);
    EXPECT_EQ(Checked(wing, wing_ids::kAux1), BST_CHECKED);
    EXPECT_EQ(Checked(wing, wing_ids::kQuickMode), BST_CHECKED);
    EXPECT_TRUE(modal.shown().empty()) << "a Read that ran through says nothing";
}

TEST_F(KxvExchangeTest, TheControlsStayLockedUntilTheTimeOutAndTheProgressRunsOnTime) {
    StartOnReceiver();
    ASSERT_TRUE(Click(&page, kRead));
    EXPECT_FALSE(ControlsEnabled());
    AdvanceMs(kReadMs);
    EXPECT_FALSE(ControlsEnabled()) << "the lock does not follow the sequence";
    EXPECT_TRUE(page.GetDlgItem(page_ids::kProgress)->IsWindowVisible());
    AdvanceMs(100 * 130 - kReadMs);
    EXPECT_FALSE(page.GetDlgItem(page_ids::kProgress)->IsWindowVisible()) << "100 ticks of 130 ms";
    EXPECT_EQ(page.m_nProgress, 0);
    AdvanceMs(15000 - 100 * 130 - 1);
    EXPECT_FALSE(ControlsEnabled());
    AdvanceMs(1);
    EXPECT_TRUE(ControlsEnabled());
    EXPECT_FALSE(AnyTimerRunning());
    EXPECT_TRUE(modal.shown().empty());
}

TEST_F(KxvExchangeTest,
       ReadOfASilentReceiverRepeatsItsFirstRequestEvery26TicksAndEndsAtTheTimeOut) {
    receiver->SetFault(sim::DeviceFault::kSilent, true);
    StartOnReceiver();
    const std::size_t first = wire->frames.size();
    ASSERT_TRUE(Click(&page, kRead));
    AdvanceMs(14999);
    EXPECT_TRUE(modal.shown().empty());
    const std::vector<WrittenFrame> reads = OfType(Since(first), bus::kTypeRead);
    ASSERT_GE(reads.size(), 10u);
    // The first wait is shorter: its reply ticks count from the start of the Read.
    for (std::size_t i = 2; i < reads.size(); ++i) {
        EXPECT_EQ(reads[i].param, Code("WingType"));
        EXPECT_EQ(reads[i].at - reads[i - 1].at, 260'000) << "26 reply ticks of 10 ms";
    }
    int polls = 0;
    for (const WrittenFrame& f : Since(first, true))
        if (f.poll && f.at > reads[1].at && f.at < reads[2].at) ++polls;
    EXPECT_EQ(polls, 25);

    AdvanceMs(1);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kOperationFailed});
    EXPECT_FALSE(AnyTimerRunning()) << "the time-out ends the sequence";
    EXPECT_TRUE(ControlsEnabled());
    const std::size_t atTimeOut = wire->frames.size();
    AdvanceMs(2000);
    EXPECT_EQ(wire->frames.size(), atTimeOut) << "no master left polling after the time-out";
}

TEST_F(KxvExchangeTest, AnswersOfAnotherTypeOrForACodeThatIsNoParameterSetNoFlag) {
    auto line = std::make_shared<ScriptedLine>();
    int polls = 0;
    line->answer = [&](const WrittenFrame& f,
                       const std::vector<WrittenFrame>&) -> std::optional<ScriptedLine::Body> {
        if (!f.poll) return std::nullopt;
        // Alternately an answer about 0x8A and telemetry that carries 0x80 where a code would be.
        if (++polls % 2) return ScriptedLine::Body{0x32, 0x30, 0x0C, 0x8A, 7, 0, 0, 0};
        return ScriptedLine::Body{0x10, 0x30, 0x0C, 0x80, 7, 0, 0, 0};
    };
    StartOn(line);
    const std::size_t first = wire->frames.size();
    ASSERT_TRUE(Click(&page, kRead));
    AdvanceMs(2000);
    EXPECT_EQ(page.m_nReadStep, 4u) << "still waiting for the answer about 0x80";
    for (int flag : page.m_nAckFlags) EXPECT_EQ(flag, 0);
    EXPECT_EQ(page.HeldValue(K("WingType")), 0);
    for (const WrittenFrame& f : OfType(Since(first), bus::kTypeRead))
        EXPECT_EQ(f.param, Code("WingType"));
}

TEST_F(KxvExchangeTest, WriteClampsATypedGainOf250To200AndWaitsForThatReadBack) {
    StartOnReceiver();
    ReadAll();
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 2));
    ASSERT_TRUE(Type(&gains, Control("StabilizeGain_Aileron"), "250"));
    modal.Clear();
    const std::size_t first = wire->frames.size();
    Run(kWrite, kWriteMs);
    EXPECT_FALSE(page.SequenceRunning());
    EXPECT_TRUE(modal.shown().empty());

    const std::vector<WrittenFrame> writes = OfType(Since(first), bus::kTypeWrite);
    for (const Parameter& p : kParameters) {
        int count = 0;
        for (const WrittenFrame& w : writes)
            if (w.param == p.code) {
                ++count;
                EXPECT_EQ(w.value, p.k == 7 ? 200 : p.factory) << p.key;
            }
        EXPECT_GE(count, 1) << p.key;
        // The read-back of a pass is taken after that pass's test, so it counts at the next.
        EXPECT_LE(count, 2) << p.key;
    }
    EXPECT_EQ(ReceiverValue("StabilizeGain_Aileron"), 200);
    EXPECT_EQ(page.HeldValue(K("StabilizeGain_Aileron")), 200);
    EXPECT_STREQ(Text(gains, Control("StabilizeGain_Aileron")), "200")
        << "the edit shows what was sent";
    EXPECT_EQ(Since(first).back().type, bus::kTypeLeave);
}

TEST_F(KxvExchangeTest, DefaultTicksKxvEnableAndWritesEveryFactoryValue) {
    for (const ReceiverSet& s : kOwnValues) SetReceiverValue(s.key, s.value);
    SetReceiverValue("KXV_Enable", 0);
    StartOnReceiver();
    EXPECT_EQ(Checked(page, page_ids::kKxvEnable), BST_UNCHECKED);
    const std::size_t first = wire->frames.size();
    ASSERT_TRUE(Click(&page, kDefault));
    EXPECT_EQ(Checked(page, page_ids::kKxvEnable), BST_CHECKED);
    AdvanceMs(kWriteMs);
    for (const Parameter& p : kParameters) EXPECT_EQ(ReceiverValue(p.k), p.factory) << p.key;
    bool enableSent = false;
    for (const WrittenFrame& w : OfType(Since(first), bus::kTypeWrite))
        enableSent |= w.param == Code("KXV_Enable") && w.value == 1;
    EXPECT_TRUE(enableSent);
    EXPECT_STREQ(Text(gains, Control("StabilizeGain_Elevator")), "80");
    EXPECT_EQ(ComboSelection(Control("CompensationDirection_Rudder")), 0) << "RUD Positive";
    EXPECT_EQ(kxv::ShownPicture(wing, wing_ids::kPicture), IDB_KXV_WING_NORMAL);
    EXPECT_EQ(kxv::ShownPicture(mounting, mounting_ids::kPicture), IDB_KXV_MOUNT_LEVEL);
}

TEST_F(KxvExchangeTest, ASecondReadStartsFromStepZeroWithClearedFlagsAndOnlyOneSequenceRuns) {
    StartOnReceiver();
    ASSERT_TRUE(Click(&page, kRead));
    AdvanceMs(300);
    ASSERT_GT(page.m_nReadStep, 10u);
    const std::size_t second = wire->frames.size();
    page.OnBnClickedRead();  // its button is locked; the command can still arrive
    EXPECT_EQ(page.m_nReadStep, 0u);
    for (int flag : page.m_nAckFlags) EXPECT_EQ(flag, 0);
    AdvanceMs(kReadMs);
    const std::vector<WrittenFrame> f = Since(second, true);
    ASSERT_GE(f.size(), 2u);
    EXPECT_EQ(f[0].type, bus::kTypeLeave) << "the first Read leaves before the second enters";
    EXPECT_EQ(f[1].type, bus::kTypeEnter);
    EXPECT_EQ(OfType(f, bus::kTypeLeave).size(), 2u);
    EXPECT_EQ(OfType(f, bus::kTypeRead).size(), 26u);
    for (std::size_t i = 1; i < f.size(); ++i)
        EXPECT_GT(f[i].at, f[i - 1].at) << "one frame a tick: a single master";
}

TEST_F(KxvExchangeTest, AWriteStartedDuringAReadEndsTheRead) {
    StartOnReceiver();
    ReadAll();
    ASSERT_TRUE(Click(&page, kRead));
    AdvanceMs(200);
    page.OnBnClickedWrite();
    EXPECT_FALSE(Running(timers::kReadSequence));
    EXPECT_FALSE(Running(timers::kReadReply));
    const std::size_t first = wire->frames.size();
    AdvanceMs(kWriteMs);
    const std::vector<WrittenFrame> f = Since(first, true);
    for (std::size_t i = 1; i < f.size(); ++i) EXPECT_GT(f[i].at, f[i - 1].at);
    EXPECT_EQ(f.back().type, bus::kTypeLeave);
    EXPECT_TRUE(modal.shown().empty());
}

TEST_F(KxvExchangeTest, AWriteThatTimesOutEndsItsSequenceAndSaysSo) {
    StartOnReceiver();
    ReadAll();
    receiver->SetFault(sim::DeviceFault::kCutFrames, true);
    Run(kWrite, 9999);
    EXPECT_TRUE(modal.shown().empty());
    AdvanceMs(1);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kOperationFailed});
    EXPECT_FALSE(receiver->InConfig()) << "the leave frame went out first";
    EXPECT_FALSE(AnyTimerRunning());
    EXPECT_TRUE(ControlsEnabled());
    const std::size_t atTimeOut = wire->frames.size();
    AdvanceMs(1000);
    EXPECT_EQ(wire->frames.size(), atTimeOut);
}

TEST_F(KxvExchangeTest, WriteBeforeAnyReadLoadOrDefaultSendsNothingAndSaysWhy) {
    StartOnReceiver();
    const std::size_t first = wire->frames.size();
    ASSERT_TRUE(Click(&page, kWrite));
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{std::string(texts::kNothingWritten) +
                                                             " " + texts::kNoneKnownYet +
                                                             texts::kHowToKnow});
    AdvanceMs(kWriteMs);
    EXPECT_TRUE(Since(first, true).empty());
    EXPECT_FALSE(AnyTimerRunning());
    EXPECT_TRUE(ControlsEnabled());
    for (const Parameter& p : kParameters) EXPECT_EQ(ReceiverValue(p.k), p.factory) << p.key;
}

TEST_F(KxvExchangeTest, AReadThatTimedOutDoesNotUnlockWrite) {
    receiver->SetFault(sim::DeviceFault::kSilent, true);
    StartOnReceiver();
    ReadAll();
    modal.Clear();
    ASSERT_TRUE(Click(&page, kWrite));
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{std::string(texts::kNothingWritten) +
                                                             " " + texts::kNoneKnownYet +
                                                             texts::kHowToKnow});
}

TEST_F(KxvExchangeTest, TextThatIsNoNumberStopsTheWriteBeforeAnyFrameAndNamesTheField) {
    StartOnReceiver();
    ReadAll();
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 2));
    ASSERT_TRUE(Type(&gains, Control("StabilizeGain_Elevator"), "150"));
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 3));
    ASSERT_TRUE(Type(&angles, Control("UprightOffsetAngle_Elevator"), "12x"));
    modal.Clear();
    const std::size_t first = wire->frames.size();
    ASSERT_TRUE(Click(&page, kWrite));
    ASSERT_EQ(modal.MessageTexts().size(), 1u);
    const std::string said = modal.MessageTexts()[0];
    EXPECT_NE(said.find("Offset Angle of Hover, Elevator"), std::string::npos) << said;
    EXPECT_NE(said.find("\"12x\""), std::string::npos) << said;
    EXPECT_NE(said.find(texts::kNothingWritten), std::string::npos) << said;
    AdvanceMs(kWriteMs);
    EXPECT_TRUE(Since(first, true).empty());
    EXPECT_EQ(page.HeldValue(K("StabilizeGain_Elevator")), 80)
        << "nothing was taken from the controls";
    EXPECT_EQ(ReceiverValue("StabilizeGain_Elevator"), 80);
}

TEST_F(KxvExchangeTest, GainsAndAnglesBeyondWhatTheEditsTakeAreWrittenBackClamped) {
    const std::tuple<const char*, int, int> odd[] = {{"StabilizeGain_Aileron", 250, 200},
                                                     {"CrabOffsetAngle_Rudder", 0, 108}};
    for (const auto& [key, reported, written] : odd) SetReceiverValue(key, reported);
    StartOnReceiver();
    ReadAll();
    modal.Clear();
    Run(kWrite, kWriteMs);
    EXPECT_TRUE(modal.shown().empty()) << "the read-back matches, so the Write ends";
    EXPECT_FALSE(page.SequenceRunning());
    for (const auto& [key, reported, written] : odd) EXPECT_EQ(ReceiverValue(key), written) << key;
}

TEST_F(KxvExchangeTest, AWriteOfAValueTheReceiverKeepsOtherwiseEndsAtTheTimeOut) {
    // The receiver turns every gain of 200 down to 150: the read-back never matches.
    auto line = std::make_shared<ScriptedLine>();
    std::map<BYTE, BYTE> held;
    for (const Parameter& p : kParameters) held[p.code] = static_cast<BYTE>(p.factory);
    BYTE pending = 0;
    line->answer = [&](const WrittenFrame& f,
                       const std::vector<WrittenFrame>&) -> std::optional<ScriptedLine::Body> {
        if (!f.poll && f.type == bus::kTypeWrite)
            held[f.param] = static_cast<BYTE>(f.value == 200 ? 150 : f.value);
        if (!f.poll && f.type == bus::kTypeRead) pending = f.param;
        if (!f.poll || !pending) return std::nullopt;
        return ScriptedLine::Body{0x32, 0x30, 0x0C, pending, held[pending], 0, 0, 0};
    };
    StartOn(line);
    ReadAll();
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 2));
    ASSERT_TRUE(Type(&gains, Control("StabilizeGain_Rudder"), "200"));
    modal.Clear();
    Run(kWrite, 10000);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kOperationFailed});
    EXPECT_FALSE(AnyTimerRunning());
    EXPECT_EQ(page.m_nAckFlags[K("StabilizeGain_Rudder")], 0);
}

TEST_F(KxvExchangeTest, ADeviceArrivalDuringAReadStopsItAndTheNextReadRunsWhole) {
    StartOnReceiver();
    ASSERT_TRUE(Click(&page, kRead));
    AdvanceMs(200);
    main().OnDeviceChange(DBT_DEVICEARRIVAL, 0);
    EXPECT_FALSE(AnyTimerRunning());
    EXPECT_FALSE(page.GetDlgItem(page_ids::kProgress)->IsWindowVisible());
    const std::size_t atStop = wire->frames.size();
    AdvanceMs(2000);
    EXPECT_EQ(wire->frames.size(), atStop);
    EXPECT_FALSE(Enabled(page, kRead)) << "the port is closed now";
    OpenPort();
    ASSERT_TRUE(Click(&page, kRead));
    AdvanceMs(kReadMs);
    EXPECT_FALSE(page.SequenceRunning());
    EXPECT_TRUE(modal.MessageTexts().empty());
}

TEST_F(KxvExchangeTest, AnyOtherDeviceEventDuringAWriteStopsItAndGivesTheControlsBack) {
    StartOnReceiver();
    ReadAll();
    ASSERT_TRUE(Click(&page, kWrite));
    AdvanceMs(500);
    main().OnDeviceChange(DBT_DEVNODES_CHANGED, 0);
    EXPECT_FALSE(receiver->InConfig());
    EXPECT_FALSE(AnyTimerRunning());
    EXPECT_TRUE(ControlsEnabled()) << "the port stays open and the page usable";
    modal.Clear();
    Run(kWrite, kWriteMs);
    EXPECT_FALSE(page.SequenceRunning());
    EXPECT_TRUE(modal.shown().empty());
}

TEST_F(KxvExchangeTest, ClosingThePortDuringACalibrationStopsIt) {
    StartOnReceiver();
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 4));
    ASSERT_TRUE(Click(&calibration, calibration_ids::kCalibration));
    AdvanceMs(150);
    ASSERT_TRUE(Click(&main(), sensor_ids::kMainOpen));  // Close
    EXPECT_FALSE(receiver->InConfig()) << "left while the port could still carry it";
    EXPECT_FALSE(AnyTimerRunning());
    EXPECT_FALSE(page.Calibrating());
    EXPECT_FALSE(Enabled(calibration, calibration_ids::kCalibration));
    const std::size_t atClose = wire->frames.size();
    AdvanceMs(1000);
    EXPECT_EQ(wire->frames.size(), atClose);
    EXPECT_TRUE(modal.shown().empty()) << "no tick met the closed port";
}

TEST_F(KxvExchangeTest, ThePortStateSwitchesTheFiveButtonsAndCalibration) {
    BindPort(4);
    StartMainWindow();
    using namespace page_ids;
    for (int id : {kLoad, kSave, kRead, kWrite, kDefault}) EXPECT_FALSE(Enabled(page, id)) << id;
    EXPECT_FALSE(Enabled(calibration, calibration_ids::kCalibration));
    EXPECT_TRUE(Enabled(page, kKxvEnable)) << "the check box is never switched";
    OpenPort();
    for (int id : {kLoad, kSave, kRead, kWrite, kDefault}) EXPECT_TRUE(Enabled(page, id)) << id;
    EXPECT_TRUE(Enabled(calibration, calibration_ids::kCalibration));
}


TEST_F(KxvExchangeTest, EndingTheProgramDuringAReadTakesTheReceiverOutOfConfiguration) {
    wire = std::make_shared<RecordingLine>(std::make_shared<SimVirtualLine>(bus));
    BindPort(4, wire);
    modal.AnswerWith([this](const platform::ModalRecord& r) {
        if (r.kind == platform::ModalKind::Dialog && r.dialogId == CKestrovaDlg::IDD) {
            auto* main = static_cast<CKestrovaDlg*>(r.dialog);
            EXPECT_TRUE(Click(main, sensor_ids::kMainOpen));
            EXPECT_TRUE(SelectTreeItem(main, 1000, main->m_hTreeItems[kKxvItem]));
            EXPECT_TRUE(Click(&page, kRead));
            AdvanceMs(200);
            EXPECT_TRUE(receiver->InConfig());
            main->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
        }
        return platform::ModalAnswer{IDOK};
    });
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_FALSE(receiver->InConfig());
    ASSERT_FALSE(wire->Requests().empty());
    EXPECT_EQ(wire->Requests().back().type, bus::kTypeLeave);
}

}  // namespace
