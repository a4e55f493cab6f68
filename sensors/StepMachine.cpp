#include "sensors/StepMachine.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "bus/frame.h"
#include "bus/protocol.h"
#include "resources/messages.h"
#include "sensors/SensorPage.h"

namespace sensor_steps {
namespace {

using namespace bus;

int ValueOf(const Operand& operand, const TickInputs& in) {
    if (operand.input >= 0 && operand.input < static_cast<int>(in.values.size()))
        return in.values[static_cast<std::size_t>(operand.input)];
    return operand.constant;
}

int AnswerWidthOf(const Step& step) {
    return step.answerWidth ? step.answerWidth : step.width;
}

void SendRequest(CSensorPage& page, const Machine& machine, bus::Link& bus, BYTE type,
                 const Step& step, int value, int stepIndex) {
    // Value bytes beyond the step's width stay 0.
    unsigned v = static_cast<unsigned>(value);
    if (step.width < 3) v &= (1u << (8 * step.width)) - 1u;
    page.m_wire.requests.Send(
        bus, {machine.address, type, StreamDataId(page, step.stream), step.param, v}, stepIndex);
}

// The poll of the page's sensor; its answer counts for `stepIndex` whenever it is read.
std::uint32_t SendPoll(CSensorPage& page, bus::Link& bus, int stepIndex) {
    // The index comes from the scan or from a clamped Write; an index outside the table would
    // read past it, so such a poll goes to physical ID 0 instead.
    int index = page.m_nPhysIdIndex;
    if (index < 0 || index >= kPhysIdCount) index = 0;
    unsigned char poll[kPollLength] = {kFrameStart, kPhysIdTable[static_cast<std::size_t>(index)]};
    const std::uint32_t seq = bus.Send(poll, static_cast<int>(kPollLength));
    std::vector<WireTrack::Poll>& polls = page.m_wire.polls;
    // A poll whose echo the reader no longer awaits gets no answer; a machine that loops
    // without restarting would otherwise keep them all.
    if (polls.size() >= bus::WireReader::kMaxAwaited) polls.erase(polls.begin());
    polls.push_back({seq, stepIndex});
    return seq;
}

void Store(CSensorPage& page, Assign assign, int value) {
    if (assign == Assign::AppId) page.m_nAppId = value;
    if (assign == Assign::PhysIdIndex) page.m_nPhysIdIndex = value;
}

// True when the answer in `body` passes the step's check (showing it where the step shows). Its
// data ID and parameter code are not looked at: where it stands on the wire makes it ours.
bool AnswerPasses(CSensorPage& page, const Step& step, const BYTE* body, int expected) {
    if (body[0] != kTypeAnswer) return false;
    if (step.check == Check::Show) {
        if (step.show) step.show(page, step.showId, body);
        return true;
    }
    return AnswerValue(body, AnswerWidthOf(step)) == expected;
}

// What one read brought for the running machine.
struct Heard {
    bool telemetry = false;           // a telemetry answer to one of the run's polls
    std::optional<bus::Body> answer;  // the first answer frame to the run's latest request
};

// Gives every frame of the read to the step whose poll it follows. Frames that follow no poll
// of this run's (the scan's, an earlier run's) are not the machine's; of an answer pair's, only
// those that answer the request before the pair count.
Heard TakeAnswers(CSensorPage& page, const Machine& machine, bus::Link& bus, const TickInputs& in) {
    Heard heard;
    const WireTrack& w = page.m_wire;
    const bus::WireReader& wire = bus.Wire();
    for (const bus::WireEvent& e : bus.Read()) {
        if (e.kind != bus::WireEvent::Kind::kFrame) continue;
        const BYTE* body = e.body.data();
        const bool answers = wire.Answers(e);
        if (!heard.answer && answers && body[0] == kTypeAnswer) heard.answer = e.body;
        const auto poll = std::find_if(w.polls.begin(), w.polls.end(),
                                       [&](const WireTrack::Poll& p) { return p.seq == e.seq; });
        if (poll == w.polls.end()) continue;
        const Step& step = machine.steps[static_cast<std::size_t>(poll->step)];
        switch (step.kind) {
            case StepKind::StreamPoll:
                // The sensor did not enter configuration access and still streams.
                if (body[0] == kTypeTelemetry) page.m_bRestart = 1;
                break;
            case StepKind::PairFirst:
            case StepKind::PairSecond:
                if (answers && AnswerPasses(page, step, body, ValueOf(step.value, in)))
                    page.m_bGotReply = 1;
                break;
            case StepKind::TelemetryPoll:
            case StepKind::TelemetryPollLast:
                if (body[0] == kTypeTelemetry) {
                    heard.telemetry = true;
                    if (step.show) step.show(page, step.showId, body);
                }
                break;
            default:
                break;
        }
    }
    return heard;
}

// Whether the end of a step can judge by what came after `seq`, or must wait another tick: a read
// made longer than an echo can take after the step began to wait found nothing more.
bool WireKnown(CSensorPage& page, bus::Link& bus, std::uint32_t seq) {
    const WireTrack& w = page.m_wire;
    const std::int64_t longestUs = std::int64_t{bus::kLongestEchoWaitMs} * 1000;
    return bus.Wire().Settled(seq) ||
           (w.waitingStep >= 0 && bus.LastReadUs() - w.waitingSinceUs >= longestUs);
}

// A request of this run that the devices did not hear as written is sent again exactly as it
// was written (a Write that stored new IDs on the page went out on the old ones), and the run
// goes on from the step after it: the steps after it went out on the wrong footing. After a last
// step sent again, the machine's end waits for its echo as before. True when one was sent again.
bool ResendUnheard(CSensorPage& page, const Machine& machine, bus::Link& bus) {
    WireTrack& w = page.m_wire;
    const auto resent = w.requests.ResendUnheard(bus);
    if (!resent) return false;
    std::erase_if(w.polls, [&](const WireTrack::Poll& p) { return p.seq > resent->was; });
    int& step = page.*machine.counter;
    step = resent->step + 1;
    w.waitingStep = step >= machine.Limit() ? step : -1;
    w.waitingSinceUs = bus.NowUs();
    page.m_bGotReply = 0;
    page.m_bRestart = 0;
    return true;
}

// The end of a step that judges what the wire brought after its poll or request: false while
// that is not known yet. An answer pair restarts when neither poll got a passing answer, and its
// polls are closed, so an answer to them still on its way counts for nothing. A Response takes
// the answer that follows its request's echo.
bool EndJudgingStep(CSensorPage& page, const Machine& machine, bus::Link& bus, const Step& step,
                    const Heard& heard, int expected) {
    WireTrack& w = page.m_wire;
    if (step.kind == StepKind::PairSecond) {
        // A passing answer to either poll passes the pair. Without one to the first (none came,
        // noise hit it, or the poll), it is the second poll's answer that tells: wait for it.
        if (!page.m_bGotReply && !WireKnown(page, bus, w.pairSecond)) return false;
        if (!page.m_bGotReply) page.m_bRestart = 1;
        page.m_bGotReply = 0;
        std::erase_if(w.polls, [&](const WireTrack::Poll& p) { return p.seq >= w.pairFirst; });
        return true;
    }
    if (!heard.answer && !WireKnown(page, bus, w.requests.Latest())) return false;
    if (heard.answer && AnswerPasses(page, step, heard.answer->data(), expected))
        Store(page, step.assign, expected);
    else
        page.m_bRestart = 1;
    return true;
}

// Runs the step at `index`; false when its end waits for the wire.
bool RunStep(CSensorPage& page, const Machine& machine, bus::Link& bus, int index,
             const TickInputs& in) {
    const Step& step = machine.steps[static_cast<std::size_t>(index)];
    WireTrack& w = page.m_wire;
    const int value = ValueOf(step.value, in);
    switch (step.kind) {
        case StepKind::Enter:
            SendRequest(page, machine, bus, kTypeEnter, step, 0, index);
            return true;
        case StepKind::Leave:
            SendRequest(page, machine, bus, kTypeLeave, step, 0, index);
            return true;
        case StepKind::Read:
            SendRequest(page, machine, bus, kTypeRead, step, 0, index);
            return true;
        case StepKind::Write:
            // The request still carries the IDs the page held before this step.
            SendRequest(page, machine, bus, kTypeWrite, step, value, index);
            Store(page, step.assign, value);
            return true;
        case StepKind::StreamPoll:
            SendPoll(page, bus, index);
            TakeAnswers(page, machine, bus, in);
            return true;
        case StepKind::PairFirst:
            w.pairFirst = SendPoll(page, bus, index);
            TakeAnswers(page, machine, bus, in);
            return true;
        case StepKind::PairSecond:
            w.pairSecond = SendPoll(page, bus, index);
            return EndJudgingStep(page, machine, bus, step, TakeAnswers(page, machine, bus, in),
                                  value);
        case StepKind::Response:
            return EndJudgingStep(page, machine, bus, step, TakeAnswers(page, machine, bus, in),
                                  value);
        case StepKind::ShowIds:
            page.SetDlgItemText(sensor_ids::kAppIdEdit, IdText(page.m_nAppId));
            page.SetDlgItemText(sensor_ids::kPhysIdEdit, IdText(page.m_nPhysIdIndex));
            return true;
        case StepKind::TelemetryPoll:
        case StepKind::TelemetryPollLast:
            SendPoll(page, bus, index);
            if (TakeAnswers(page, machine, bus, in).telemetry) return true;
            if (step.kind == StepKind::TelemetryPoll)
                page.m_bRestart = kMissedPoll;
            else if (page.m_bRestart == kMissedPoll)
                page.m_bRestart = 1;
            return true;
        case StepKind::Idle:
            return true;
    }
    return true;
}

// A tick of a step whose end waits for the wire: nothing is sent, what arrives is taken, and a
// step that judges what came ends once the wire is known. Past the last step it is the
// machine's end that waits, until the devices are known to have heard all the run sent. False
// while it still waits.
bool GoOnWaiting(CSensorPage& page, const Machine& machine, bus::Link& bus, int index,
                 const TickInputs& in) {
    const Heard heard = TakeAnswers(page, machine, bus, in);
    if (index >= machine.Limit()) return page.m_wire.requests.AllHeard(bus);
    const Step& step = machine.steps[static_cast<std::size_t>(index)];
    if (step.kind != StepKind::PairSecond && step.kind != StepKind::Response) return true;
    return EndJudgingStep(page, machine, bus, step, heard, ValueOf(step.value, in));
}

}  // namespace

WORD StreamDataId(const CSensorPage& page, int stream) {
    auto bases = page.StreamBases();
    WORD base = stream >= 0 && stream < static_cast<int>(bases.size())
                    ? bases[static_cast<std::size_t>(stream)]
                    : 0;
    // The low byte is the stream offset plus the application ID, the high byte the family.
    return static_cast<WORD>((base & 0xFF00) | ((base + page.m_nAppId) & 0xFF));
}

int EditNumber(CSensorPage& page, int id) {
    CString text;
    page.GetDlgItemText(id, text);
    return std::atoi(text);
}

CString IdText(int value) {
    CString text;
    if (value == 0)
        text = "0";
    else
        text.Format("%.d", value);
    return text;
}

int AnswerValue(const BYTE* body, int width) {
    int value = 0;
    for (int i = std::min(std::max(width, 1), 3) - 1; i >= 0; --i)
        value = value * 256 + body[4 + i];
    return value;
}

namespace {

void ShowNumber(CSensorPage& page, int id, int value) {
    CString text;
    text.Format("%.d", value);
    page.SetDlgItemText(id, text);
}

}  // namespace

void ShowFirmware(CSensorPage& page, int id, const BYTE* body) {
    BYTE b = body[4];
    CString text;
    text.Format("%.1f", ((b >> 4) * 10 + (b & 0x0F)) / 10.0);
    page.SetDlgItemText(id, text);
}

void ShowDataRate(CSensorPage& page, int id, const BYTE* body) {
    ShowNumber(page, id, body[4] * 100);
}

void ShowByte(CSensorPage& page, int id, const BYTE* body) {
    ShowNumber(page, id, body[4]);
}

void ShowWord(CSensorPage& page, int id, const BYTE* body) {
    ShowNumber(page, id, AnswerValue(body, 2));
}

void ShowWord24(CSensorPage& page, int id, const BYTE* body) {
    ShowNumber(page, id, AnswerValue(body, 3));
}

Outcome RunTick(CSensorPage& page, const Machine& machine, const TickInputs& in, bus::Link& bus) {
    int& step = page.*machine.counter;
    WireTrack& w = page.m_wire;
    if (!in.complete) {
        // Nothing sensible can be written: stop before sending anything and let the next
        // progress tick end the operation.
        step = 0;
        page.m_bRestart = 0;
        page.m_nProgress = sensor_ids::kProgressEnd;
        w.Forget();
        return {Outcome::State::Abandoned, messages::kSelectCorrectParameters};
    }
    // While the machine sends again or waits, the bar stands at the step it goes on from, so
    // that the progress run cannot end the operation before the machine can: only the time-out
    // does.
    const auto barAt = [&](int at) {
        page.m_nProgress =
            static_cast<int>(std::min(at, machine.Limit() - 1) * machine.progressFactor);
        return Outcome{};
    };
    const auto waitAt = [&](int at) {
        if (w.waitingStep != at) {
            w.waitingStep = at;
            w.waitingSinceUs = bus.NowUs();
        }
        return barAt(at);
    };
    // What the wire showed so far may be that the devices did not hear a request: sending it
    // again is this tick's one write, as a write during a device's answer would collide with it.
    if (ResendUnheard(page, machine, bus)) return barAt(step);
    const bool done = w.waitingStep == step || step >= machine.Limit()
                          ? GoOnWaiting(page, machine, bus, step, in)
                          : RunStep(page, machine, bus, step, in);
    // A request the devices did not hear goes out again at the next tick, before anything this
    // step found (a pair that got no answer to it) is acted on.
    if (!done || w.requests.AnyUnheard(bus)) return waitAt(step);
    w.waitingStep = -1;
    const auto complete = [&] {
        page.m_nProgress = static_cast<int>(machine.Limit() * machine.progressFactor);
        step = 0;
        page.m_bRestart = 0;
        // The run's own leave frames were heard: there is nothing left to leave.
        w.requests.Clear();
        return Outcome{Outcome::State::Completed, machine.closingMessage};
    };
    if (step >= machine.Limit()) return complete();

    step += 1;
    page.m_nProgress = static_cast<int>(step * machine.progressFactor);
    const bool lastStepFailed =
        machine.lastStepMustPass && page.m_bRestart == 1 && step >= machine.Limit();
    if (step >= machine.Limit() && !lastStepFailed) {
        // The machine ends only once the wire has shown that the devices heard all it sent, its
        // leave frame above all: a sensor that did not hear that one stays in configuration
        // access, where it sends no telemetry, and the success box would not be true. Nothing
        // after this reads the wire for it.
        bus.Read();
        if (!w.requests.AllHeard(bus)) return waitAt(step);
        return complete();
    }
    if (page.m_bRestart == 1) {
        step = machine.retryBack > 0 ? std::max(step - machine.retryBack, 0) : 0;
        page.m_bRestart = 0;
        if (machine.clearGotReplyOnRestart) page.m_bGotReply = 0;
        // Answers to the polls of the run that failed count for nothing in the next.
        if (step == 0) w.Forget();
        // The bar goes back with the step; left at the end value, the progress run would end
        // the operation before the retry.
        if (lastStepFailed) page.m_nProgress = static_cast<int>(step * machine.progressFactor);
    }
    return {};
}

}  // namespace sensor_steps
