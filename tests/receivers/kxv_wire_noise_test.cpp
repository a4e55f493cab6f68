// One poll or frame of the KXV page hit by noise on the wire (one bit of its address or data ID
// changed, heard so by the receiver and in the echo), at every place of Read, Write, Default and
// the calibration: each still does what it is for and leaves the receiver out of configuration
// access, at the cost of at most one retry of the step hit.

#include "kxv_page_harness.h"
#include "support/noise_sweep.h"

namespace {

using namespace kestrova::test;
using namespace kxv;

constexpr int kGainTab = 2;
constexpr int kCalibrationTab = 4;

struct Operation {
    const char* name;
    CWnd* owner;
    int button;
    int retryMs;  // what one retry of the step hit may add
};

class KxvWireNoiseTest : public KxvPageTest {
  protected:
    bool Busy() { return page.SequenceRunning() || page.Calibrating(); }

    // One run of `op` with `noise` on the wire, to the end of the page's lock-out.
    NoiseOutcome Run(const Operation& op, const std::vector<sim::Noise>& noise, int run) {
        // A new gain each time: a write the receiver did not hear shows in its value.
        EXPECT_TRUE(SelectTab(&page, page_ids::kSubPageTab, kGainTab));
        EXPECT_TRUE(Type(&gains, Control("StabilizeGain_Aileron"), run % 2 ? "20" : "10"));
        EXPECT_TRUE(SelectTab(&page, page_ids::kSubPageTab, kCalibrationTab));
        const std::size_t commands = receiver->Commands().size();
        bus->SetNoise(noise);
        modal.Clear();
        const std::size_t first = wire->frames.size();
        EXPECT_TRUE(Click(op.owner, op.button));
        int ms = 0;
        for (; Busy() && ms < 20000; ++ms) AdvanceMs(1);
        const std::size_t written = wire->frames.size() - first;
        const int answers = bus->SentSinceNoise(sim::Noise::On::kAnswer);
        const bool left = !receiver->InConfig();
        while (Running(timers::kTimeout)) AdvanceMs(10);
        bus->SetNoise({});
        bool succeeded = modal.MessageTexts().empty() && left;
        if (op.button == calibration_ids::kCalibration)
            succeeded = succeeded && receiver->Commands().size() == commands + 1;
        else
            for (int k = 0; k < kParameterCount; ++k)
                succeeded = succeeded && page.HeldValue(k) == ReceiverValue(k);
        return {succeeded, ms, written, answers};
    }
};

TEST_F(KxvWireNoiseTest, EveryOperationDoesItsWorkWithOneWriteHitAnywhere) {
    StartOnReceiver();
    const Operation operations[] = {
        // The frame hit sent again at the next tick, once its echo is in.
        {"Read", &page, page_ids::kRead, 40},
        // A parameter written, read and polled again: three ticks.
        {"Write", &page, page_ids::kWrite, 100},
        {"Default", &page, page_ids::kDefault, 100},
        {"Calibration", &calibration, calibration_ids::kCalibration, 100},
    };
    int run = 0;
    // Behind an adapter that hands bytes over at once, and one that holds them for 16 ms.
    for (int latencyMs : {0, 16}) {
        sim::Timing timing = bus->GetTiming();
        timing.handOverPeriod = latencyMs * 1000;
        bus->SetTiming(timing);
        for (const Operation& op : operations)
            SweepNoise(std::string("KXV ") + op.name + (latencyMs ? ", slow adapter" : ""),
                       op.retryMs,
                       [&](const std::vector<sim::Noise>& noise) { return Run(op, noise, run++); });
    }
}

// A receiver that stops answering after some of the 26, and one that keeps other values than
// those written: the Read, Write and Default it makes fail end at their time-outs with the
// receiver out of configuration access, so that it polls its sensors again; and so does a
// calibration that Close cuts short.
TEST_F(KxvWireNoiseTest, AnOperationCutShortLeavesTheReceiverOutOfConfiguration) {
    StartOnReceiver();
    ReadAll();
    for (const int button : {page_ids::kWrite, page_ids::kDefault, page_ids::kRead}) {
        for (const bool silent : {true, false}) {
            SCOPED_TRACE(std::to_string(button) +
                         (silent ? ", silent after its fifth answer" : ", keeps other values"));
            receiver->SetFault(sim::DeviceFault::kWrongValue, !silent);
            receiver->SilenceAfter(silent ? 5 : 0);
            modal.Clear();
            ASSERT_TRUE(Click(&page, button));
            while (Running(timers::kTimeout)) AdvanceMs(10);
            EXPECT_FALSE(receiver->InConfig());
            if (silent || button != page_ids::kRead)
                EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{kOperationFailed});
            receiver->SetFault(sim::DeviceFault::kSilent, false);
        }
    }

    // Close in the middle of a calibration, its leave frame hit by noise (in its address byte;
    // in its frame start, so that its echo is nothing the reader can tell): it is sent until
    // heard.
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, kCalibrationTab));
    for (const int byte : {1, 0}) {
        SCOPED_TRACE("Close, the leave frame hit in byte " + std::to_string(byte));
        ASSERT_TRUE(Click(&calibration, calibration_ids::kCalibration));
        AdvanceMs(150);
        ASSERT_TRUE(receiver->InConfig());
        bus->SetNoise({{1, byte}});
        ASSERT_TRUE(Click(&main(), sensor_ids::kMainOpen));
        EXPECT_FALSE(receiver->InConfig());
        bus->SetNoise({});
        OpenPort();
    }
}

}  // namespace
