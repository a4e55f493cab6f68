#include "sensors/StepMachine.h"

#include <algorithm>
#include <cstdlib>

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

void SendRequest(CSensorPage& page, const Machine& machine, SensorBus& bus, BYTE type,
                 const Step& step, int value) {
    WORD dataId = StreamDataId(page, step.stream);
    // Value bytes beyond the step's width stay 0.
    unsigned v = static_cast<unsigned>(value);
    if (step.width < 3) v &= (1u << (8 * step.width)) - 1u;
    unsigned char frame[kFrameLength] = {kFrameStart,
                                         machine.address,
                                         type,
                                         static_cast<unsigned char>(dataId & 0xFF),
                                         static_cast<unsigned char>(dataId >> 8),
                                         step.param,
                                         static_cast<unsigned char>(v & 0xFF),
                                         static_cast<unsigned char>((v >> 8) & 0xFF),
                                         static_cast<unsigned char>((v >> 16) & 0xFF),
                                         0};
    bus.Send(frame, static_cast<int>(kFrameLength));
}

// The poll of the page's sensor and the reply read in the same tick.
void PollAndRead(CSensorPage& page, SensorBus& bus, BYTE* body) {
    // The index comes from the scan or from a clamped Write; an index outside the table would
    // read past it, so such a poll goes to physical ID 0 instead.
    int index = page.m_nPhysIdIndex;
    if (index < 0 || index >= kPhysIdCount) index = 0;
    unsigned char poll[kPollLength] = {kFrameStart, kPhysIdTable[static_cast<std::size_t>(index)]};
    bus.Send(poll, static_cast<int>(kPollLength));
    bus.ReadBody(body);
}

void ShowNumber(CSensorPage& page, int id, int value) {
    CString text;
    text.Format("%.d", value);
    page.SetDlgItemText(id, text);
}

void Store(CSensorPage& page, Assign assign, int value) {
    if (assign == Assign::AppId) page.m_nAppId = value;
    if (assign == Assign::PhysIdIndex) page.m_nPhysIdIndex = value;
}

// True when the answer in `body` passes the step's check (showing it where the step shows).
bool AnswerPasses(CSensorPage& page, const Step& step, const BYTE* body, int expected) {
    if (body[0] != kTypeAnswer) return false;
    if (step.check == Check::Show) {
        if (step.show) step.show(page, step.showId, body);
        return true;
    }
    return AnswerValue(body, AnswerWidthOf(step)) == expected;
}

// An answer frame, and with matchAnswers one to the pair's own request.
bool IsAnswerTo(const CSensorPage& page, const Machine& machine, const Step& step,
                const BYTE* body) {
    if (body[0] != kTypeAnswer) return false;
    if (!machine.matchAnswers) return true;
    const WORD dataId = StreamDataId(page, step.stream);
    return body[3] == step.param && body[1] == (dataId & 0xFF) && body[2] == (dataId >> 8);
}

void RunPairPoll(CSensorPage& page, const Machine& machine, SensorBus& bus, const Step& step,
                 BYTE* body, int expected) {
    PollAndRead(page, bus, body);
    const bool answer = IsAnswerTo(page, machine, step, body);
    // The polls only ever set the flag; the operation's start and the pair's end clear it.
    if (answer && AnswerPasses(page, step, body, expected)) {
        page.m_bGotReply = 1;
    } else if (answer) {
        if (step.check == Check::StrictExpect) page.m_bRestart = 1;
    } else if (step.kind == StepKind::PairSecond && !page.m_bGotReply) {
        page.m_bRestart = 1;
    }
    if (step.kind == StepKind::PairSecond) page.m_bGotReply = 0;
}

void RunStep(CSensorPage& page, const Machine& machine, SensorBus& bus, const Step& step,
             const TickInputs& in, BYTE* body) {
    const int value = ValueOf(step.value, in);
    switch (step.kind) {
        case StepKind::Enter:
            SendRequest(page, machine, bus, kTypeEnter, step, 0);
            return;
        case StepKind::Leave:
            SendRequest(page, machine, bus, kTypeLeave, step, 0);
            return;
        case StepKind::Read:
            SendRequest(page, machine, bus, kTypeRead, step, 0);
            return;
        case StepKind::Write:
            // The request still carries the IDs the page held before this step.
            SendRequest(page, machine, bus, kTypeWrite, step, value);
            Store(page, step.assign, value);
            return;
        case StepKind::StreamPoll:
            PollAndRead(page, bus, body);
            if (body[0] == kTypeTelemetry) page.m_bRestart = 1;
            return;
        case StepKind::PairFirst:
        case StepKind::PairSecond:
            RunPairPoll(page, machine, bus, step, body, value);
            return;
        case StepKind::Response:
            bus.ReadAnswerBody(body);
            if ((!machine.matchAnswers || body[3] == step.param) &&
                AnswerPasses(page, step, body, value))
                Store(page, step.assign, value);
            else
                page.m_bRestart = 1;
            return;
        case StepKind::ShowIds:
            page.SetDlgItemText(sensor_ids::kAppIdEdit, IdText(page.m_nAppId));
            page.SetDlgItemText(sensor_ids::kPhysIdEdit, IdText(page.m_nPhysIdIndex));
            return;
        case StepKind::Custom:
            page.RunCustomStep(step, body);
            return;
        case StepKind::TelemetryPoll:
        case StepKind::TelemetryPollLast:
            PollAndRead(page, bus, body);
            if (body[0] == kTypeTelemetry) {
                if (step.show) step.show(page, step.showId, body);
            } else if (step.kind == StepKind::TelemetryPoll) {
                page.m_bRestart = kMissedPoll;
            } else if (page.m_bRestart == kMissedPoll) {
                page.m_bRestart = 1;
            }
            return;
        case StepKind::Idle:
            return;
    }
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

Outcome RunTick(CSensorPage& page, const Machine& machine, const TickInputs& in,
                SensorBus& bus) {
    int& step = page.*machine.counter;
    if (!in.complete) {
        // Nothing sensible can be written: stop before sending anything and let the next
        // progress tick end the operation.
        step = 0;
        page.m_bRestart = 0;
        page.m_nProgress = sensor_ids::kProgressEnd;
        return {Outcome::State::Abandoned, messages::kSelectCorrectParameters};
    }
    BYTE body[kBodyLength] = {};
    if (step >= 0 && step < machine.Limit())
        RunStep(page, machine, bus, machine.steps[static_cast<std::size_t>(step)], in, body);

    Outcome outcome;
    step += 1;
    page.m_nProgress = static_cast<int>(step * machine.progressFactor);
    const bool lastStepFailed =
        machine.lastStepMustPass && page.m_bRestart == 1 && step >= machine.Limit();
    if (step >= machine.Limit() && !lastStepFailed) {
        step = 0;
        page.m_bRestart = 0;
        outcome = {Outcome::State::Completed, machine.closingMessage};
    }
    if (page.m_bRestart == 1) {
        step = machine.retryBack > 0 ? std::max(step - machine.retryBack, 0) : 0;
        page.m_bRestart = 0;
        if (machine.clearGotReplyOnRestart) page.m_bGotReply = 0;
        // The bar goes back with the step; left at the end value, the progress run would end
        // the operation before the retry.
        if (lastStepFailed) page.m_nProgress = static_cast<int>(step * machine.progressFactor);
    }
    return outcome;
}

}  // namespace sensor_steps
