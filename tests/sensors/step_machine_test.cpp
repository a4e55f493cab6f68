// The step-machine rules on a device the test plays byte for byte: answer pairs, restarts,
// what the Read shows, what the Write sends and when the IDs change, progress factors, and the
// engine's further step kinds that later pages use.

#include <map>
#include <set>

#include "sensor_page_harness.h"
#include "sensors/StandardMachines.h"
#include "sensors/StepLimits.h"
#include "sensors/StepMachine.h"

namespace {

using namespace kestrova::test;
using namespace sensor_ids;
using Body = ScriptedLine::Body;

constexpr const char* kSuccess = "Successful operation！";

// A sensor in configuration access: it answers a read request in the chosen polls of the pair
// that follows it, with the value of the parameter or the value it was told to answer.
struct PlayedSensor {
    std::map<BYTE, int> values;
    std::set<int> answerInPoll = {1, 2};
    // Answers that replace the true value, by (parameter, poll of the pair).
    std::map<std::pair<BYTE, int>, std::optional<int>> overrides;
    int telemetryPolls = 0;  // stream polls answered with telemetry before it enters

    std::optional<Body> operator()(const WrittenFrame& f, const std::vector<WrittenFrame>& before) {
        if (!f.poll) {
            if (f.type == 0x31) values[f.param] = f.value;
            return std::nullopt;
        }
        SincePoll since = LastRequest(f, before);
        if (since.request.type == 0x21 && telemetryPolls > 0) {
            --telemetryPolls;
            return TelemetryBody();
        }
        if (since.request.type != 0x30) return std::nullopt;
        auto o = overrides.find({since.request.param, since.polls});
        if (o != overrides.end())
            return o->second ? std::optional<Body>(AnswerBody(static_cast<BYTE>(*o->second)))
                             : std::nullopt;
        if (!answerInPoll.count(since.polls)) return std::nullopt;
        return AnswerBody(static_cast<BYTE>(values[since.request.param]));
    }
};

class StepMachineTest : public SensorPageTest {
  protected:
    void SetUp() override {
        SensorPageTest::SetUp();
        line = std::make_shared<ScriptedLine>();
        line->answer = [this](const WrittenFrame& f, const std::vector<WrittenFrame>& before) {
            return sensor(f, before);
        };
        StartOn(line);
        page.m_nAppId = 3;
        page.m_nPhysIdIndex = 9;
    }
    int Count(BYTE type, std::size_t from = 0) {
        int n = 0;
        for (std::size_t i = from; i < wire->frames.size(); ++i)
            n += !wire->frames[i].poll && wire->frames[i].type == type;
        return n;
    }

    void Tick(const sensor_steps::Machine& m) {
        sensor_steps::RunTick(page, m, page.ReadTickInputs(m), page.Bus());
    }

    CSensor_AirSpeedDlg& page = g_sensorAirSpeed;
    std::shared_ptr<ScriptedLine> line;
    PlayedSensor sensor{.values = {{0x0C, 0x10}, {0x22, 3}}};
};

TEST_F(StepMachineTest, ReadSucceedsWhenOnlyTheSecondPollOfEachPairAnswers) {
    sensor.answerInPoll = {2};
    page.OnBnClickedRead();
    AdvanceMs(110);
    EXPECT_EQ(page.m_nProgress, 132) << "11 steps × 12";
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});
    EXPECT_STREQ(Text(page, kFirmwareEdit), "1.0");
    EXPECT_STREQ(Text(page, kDataRateEdit), "300");
    EXPECT_STREQ(Text(page, kAppIdEdit), "3");
    EXPECT_STREQ(Text(page, kPhysIdEdit), "9");
    EXPECT_EQ(Count(0x21), 1);
    EXPECT_FALSE(Running(&page, sensor_timers::kRead)) << "the machine kills its own timer at its end";
    AdvanceMs(8 * 16);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess})
        << "the progress run ends without a failure box";
    EXPECT_TRUE(Enabled(page, kWrite));
}

TEST_F(StepMachineTest, RateByteZeroEmptiesTheRateEditAndIdsOfZeroShowAsZero) {
    sensor.values = {{0x0C, 0x23}, {0x22, 0}};
    page.m_nAppId = 0;
    page.m_nPhysIdIndex = 0;
    ASSERT_TRUE(Type(&page, kDataRateEdit, "700"));
    page.OnBnClickedRead();
    AdvanceMs(400);
    EXPECT_STREQ(Text(page, kFirmwareEdit), "2.3");
    EXPECT_STREQ(Text(page, kDataRateEdit), "");
    EXPECT_STREQ(Text(page, kAppIdEdit), "0");
    EXPECT_STREQ(Text(page, kPhysIdEdit), "0");
}

TEST_F(StepMachineTest, TelemetryInAStreamPollStartsAgainFromTheEnterFrame) {
    // Each telemetry answer to a stream poll means the sensor still streams: two of them, two
    // restarts.
    sensor.telemetryPolls = 2;
    page.OnBnClickedRead();
    AdvanceMs(400);
    EXPECT_EQ(Count(0x21), 3);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});
}

TEST_F(StepMachineTest, AnAnswerIsTheRequestsWhateverParameterItNames) {
    // Where an answer stands makes it the answer: after the echo of the rate's request and of
    // its poll, it is the rate, though this sensor writes the firmware's code into every answer.
    line->answer = [](const WrittenFrame& f, const std::vector<WrittenFrame>& before) {
        const SincePoll since = LastRequest(f, before);
        if (!f.poll || since.request.type != 0x30) return std::optional<Body>();
        const BYTE value = since.request.param == 0x22 ? 3 : 0x12;
        return std::optional<Body>(Body{0x32, 0x03, 0x0A, 0x0C, value, 0, 0, 0});
    };
    page.OnBnClickedRead();
    AdvanceMs(400);
    EXPECT_STREQ(Text(page, kFirmwareEdit), "1.2");
    EXPECT_STREQ(Text(page, kDataRateEdit), "300");
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});
}

TEST_F(StepMachineTest, AHalfSeenPairLeftByATimeOutDoesNotConfirmTheNextWrite) {
    // A Write cut short by its time-out right after a matching first poll leaves the flag set;
    // the next Write must not take it for an answer to a read-back that never comes.
    page.m_bGotReply = 1;
    ASSERT_TRUE(Type(&page, kDataRateEdit, "500"));
    sensor.overrides[{0x22, 1}] = std::nullopt;
    sensor.overrides[{0x22, 2}] = std::nullopt;
    page.OnBnClickedWrite();
    // The pair waits as long as an answer to its second poll may take, to the read after that.
    AdvanceMs(50 * 7 + bus::kLongestEchoWaitMs + 50);
    EXPECT_EQ(page.m_nDefaultStep, 0) << "the unanswered pair restarts the machine";
    EXPECT_TRUE(modal.MessageTexts().empty());
}

// A read-back with another value than the one written means the sensor did not take it: the
// Write starts again, and fails at its time-out if the sensor never takes it.
TEST_F(StepMachineTest, AReadBackWithAnotherValueRepeatsTheWriteUntilItsTimeOut) {
    ASSERT_TRUE(Type(&page, kAppIdEdit, "3"));
    ASSERT_TRUE(Type(&page, kPhysIdEdit, "9"));
    ASSERT_TRUE(Type(&page, kDataRateEdit, "500"));
    // The application-ID read-back answers a wrong value to both polls, once.
    sensor.overrides[{0x0D, 1}] = 7;
    sensor.overrides[{0x0D, 2}] = 7;
    page.OnBnClickedWrite();
    AdvanceMs(50 * 11);
    EXPECT_EQ(page.m_nDefaultStep, 0) << "the failed pair restarts at the end of its tick";
    EXPECT_EQ(page.m_bGotReply, 0);
    sensor.overrides.clear();
    AdvanceMs(50 * 16);
    EXPECT_EQ(Count(0x21), 2);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kSuccess});

    // The rate read-back answers 99 in its second poll, every time.
    modal.Clear();
    sensor.overrides[{0x22, 1}] = std::nullopt;
    sensor.overrides[{0x22, 2}] = 99;
    page.OnBnClickedWrite();
    AdvanceMs(sensor_timers::kWriteTimeoutMs + 50);
    EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{"Operation failed！"});
    EXPECT_GT(Count(0x21), 10) << "the exchange is repeated until the time-out";
}

TEST_F(StepMachineTest, WriteMovesToTheNewIdsAtStepsSevenAndEleven) {
    ASSERT_TRUE(Type(&page, kAppIdEdit, "5"));
    ASSERT_TRUE(Type(&page, kPhysIdEdit, "12"));
    ASSERT_TRUE(Type(&page, kDataRateEdit, "300"));
    page.OnBnClickedWrite();
    AdvanceMs(50 * 7);
    EXPECT_EQ(page.m_nAppId, 3);
    AdvanceMs(50);
    EXPECT_EQ(page.m_nAppId, 5) << "after step 7";
    EXPECT_EQ(page.m_nPhysIdIndex, 9);
    AdvanceMs(50 * 4);
    EXPECT_EQ(page.m_nPhysIdIndex, 12) << "after step 11";
    AdvanceMs(50 * 3);
    EXPECT_EQ(page.m_nProgress, 120) << "15 steps × 8";
    AdvanceMs(50);

    std::vector<WrittenFrame> frames = wire->frames;
    auto firstAppWrite = std::find_if(frames.begin(), frames.end(),
                                      [](auto& f) { return !f.poll && f.param == 0x0D; });
    ASSERT_NE(firstAppWrite, frames.end());
    EXPECT_EQ(firstAppWrite->dataId, 0x0A03);
    EXPECT_EQ((firstAppWrite + 1)->dataId, 0x0A05) << "the read-back goes to the new data ID";
    auto physRead = std::find_if(frames.begin(), frames.end(), [](auto& f) {
        return !f.poll && f.type == 0x30 && f.param == 0x01;
    });
    ASSERT_NE(physRead, frames.end());
    ASSERT_TRUE((physRead + 1)->poll);
    EXPECT_EQ((physRead + 1)->address, bus::kPhysIdTable[12]);
    EXPECT_EQ((physRead + 2)->address, bus::kPhysIdTable[12]);
    EXPECT_EQ(frames.back().type, 0x20);
    EXPECT_EQ(frames.back().dataId, 0x0A05);
}

TEST_F(StepMachineTest, DefaultSettingsEndsSilentlyWithItsOwnProgressFactor) {
    page.OnBnClickedDefault();
    AdvanceMs(50 * 7);
    EXPECT_EQ(page.m_nProgress, 119) << "7 steps × 17";
    AdvanceMs(50);
    EXPECT_FALSE(Running(&page, sensor_timers::kDefault));
    EXPECT_TRUE(modal.shown().empty());
}

TEST_F(StepMachineTest, EveryPagesMachinesMatchTheLimitsOfThatPage) {
    const std::pair<const char*, CSensorPage*> pages[] = {
        {"air speed", &g_sensorAirSpeed},
        {"150 A current", &g_sensorCurrentH},
        {"LiPo", &g_sensorLipoVoltage},
        {"40 A current", &g_sensorCurrentL},
        {"variometer", &g_sensorVariometer},
        {"RPM", &g_sensorRPM},
        {"GPS", &g_sensorGPS},
        {"redundancy bus", &g_sensorRedundancyBus},
        {"ESC", &g_sensorReserve1},
        {"Q.Wire-to-UART converter", &g_sensorQWireToUART},
        {"video transmitter", &g_sensorReserve2},
        {"servo", &g_sensorSteeringEngine},
        {"FuelKit", &g_sensorFuelKit},
    };
    for (auto [name, p] : pages) {
        const auto* limits = sensor_steps::FindPageLimits(name);
        ASSERT_NE(limits, nullptr) << name;
        const std::pair<UINT, sensor_steps::MachineLimit> expected[] = {
            {sensor_timers::kRead, limits->read},
            {sensor_timers::kWrite, limits->write},
            {sensor_timers::kDefault, limits->defaults},
        };
        for (auto [timer, limit] : expected) {
            const sensor_steps::Machine* found = nullptr;
            for (const sensor_steps::Machine* m : p->Machines())
                if (m->timer == timer) found = m;
            if (limit.steps == 0) {
                EXPECT_EQ(found, nullptr) << name << " has no machine on timer " << timer;
                continue;
            }
            ASSERT_NE(found, nullptr) << name << ", timer " << timer;
            EXPECT_EQ(found->Limit(), limit.steps) << name << ", timer " << timer;
            EXPECT_EQ(found->progressFactor, limit.factor) << name << ", timer " << timer;
        }
    }
}

// Kinds the one-stream pages do not use, on a machine of the test's own: an answer taken
// without a poll that retries its own exchange, a pair that gets only wrong answers, and a
// factor that is cut.
TEST_F(StepMachineTest, ResponseStepsRetryTheirExchangeAndStrictPairsRestartOnAWrongValue) {
    using namespace sensor_steps;
    Machine retry{
        .timer = sensor_timers::kTimerCount - 1,
        .counter = &CSensorPage::m_nDefaultStep,
        .progressFactor = 46.5,
        .retryBack = 2,
        .address = 0x1B,
        .steps = {ReadParam(0x93),
                  Step{.kind = StepKind::Response, .value = Const(1000), .answerWidth = 2}, Idle()}};
    int reads = 0;
    line->answer = [&](const WrittenFrame& f, const std::vector<WrittenFrame>&) {
        if (f.poll || f.type != 0x30) return std::optional<Body>();
        ++reads;
        return std::optional<Body>(reads == 1 ? AnswerBody(0)
                                              : Body{0x32, 0, 0, 0, 0xE8, 0x03, 0, 0});
    };
    Tick(retry);
    Tick(retry);
    EXPECT_EQ(page.m_nDefaultStep, 0) << "a wrong answer goes back to its request";
    Tick(retry);
    Tick(retry);
    EXPECT_EQ(page.m_nDefaultStep, 2);
    Tick(retry);
    EXPECT_EQ(page.m_nDefaultStep, 0);
    EXPECT_EQ(page.m_nProgress, 139) << "3 × 46.5 is cut";
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(wire->frames.front().address, 0x1B);

    Machine strict{.timer = sensor_timers::kTimerCount - 1, .counter = &CSensorPage::m_nDefaultStep, .steps = {ReadParam(0x22)}};
    AppendPairAgainst(strict.steps, Const(4));
    strict.steps.push_back(Leave());
    line->answer = [](const WrittenFrame& f, const std::vector<WrittenFrame>&) {
        return f.poll ? std::optional<Body>(AnswerBody(5)) : std::nullopt;
    };
    // The first poll reads the echo of the request; the second gets the wrong answer.
    Tick(strict);
    Tick(strict);
    Tick(strict);
    EXPECT_EQ(page.m_nDefaultStep, 0) << "a pair restarts on a wrong answer";
}

}  // namespace
