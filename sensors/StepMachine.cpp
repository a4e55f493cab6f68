#include "sensors/StepMachine.h"

#include <algorithm>
#include <cstdlib>

#include "app/KestrovaDlg.h"
#include "bus/frame.h"
#include "bus/protocol.h"
#include "resources/messages.h"
#include "sensors/SensorPage.h"

namespace sensor_steps {
namespace {

using namespace bus;

// The inputs of one tick, read from the page's controls before its step.
struct Inputs {
    std::vector<int> values;
    bool complete = true;  // false when a combo box has no selection
};

Inputs ReadInputs(CSensorPage& page, const Machine& machine) {
    Inputs in;
    for (const Input& input : machine.inputs) {
        int n = 0;
        if (input.source == Input::Source::Combo) {
            auto* combo = dynamic_cast<CComboBox*>(page.GetDlgItem(input.id));
            n = combo ? combo->GetCurSel() : CB_ERR;
            if (n < 0) in.complete = false;
        } else {
            n = EditNumber(page, input.id);
        }
        n = std::clamp(n, input.lo, input.hi);
        in.values.push_back(n / std::max(input.divisor, 1) + input.offset);
    }
    return in;
}

int ValueOf(const Operand& operand, const Inputs& in) {
    if (operand.input >= 0 && operand.input < static_cast<int>(in.values.size()))
        return in.values[static_cast<std::size_t>(operand.input)];
    return operand.constant;
}

void SendRequest(CSensorPage& page, const Machine& machine, BYTE type, const Step& step,
                 int value) {
    WORD dataId = StreamDataId(page, step.stream);
    // Value bytes beyond the step's width stay 0.
    unsigned v = static_cast<unsigned>(value);
    if (step.width < 3) v &= (1u << (8 * step.width)) - 1u;
    unsigned char frame[10] = {bus::kFrameStart,
                               machine.address,
                               type,
                               static_cast<unsigned char>(dataId & 0xFF),
                               static_cast<unsigned char>(dataId >> 8),
                               step.param,
                               static_cast<unsigned char>(v & 0xFF),
                               static_cast<unsigned char>((v >> 8) & 0xFF),
                               static_cast<unsigned char>((v >> 16) & 0xFF),
                               0};
    CKestrovaDlg::SendBusFrame(frame, 10);
}

// The poll of the page's sensor and the reply read in the same tick.
void PollAndRead(CSensorPage& page, BYTE* body) {
    // The index comes from the scan or from a clamped Write; an index outside the table would
    // read past it, so such a poll goes to physical ID 0 instead.
    int index = page.m_nPhysIdIndex;
    if (index < 0 || index >= bus::kPhysIdCount) index = 0;
    unsigned char poll[2] = {bus::kFrameStart, bus::kPhysIdTable[static_cast<std::size_t>(index)]};
    CKestrovaDlg::SendBusFrame(poll, 2);
    CKestrovaDlg::ReadBusFrame(body);
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
    return AnswerValue(body, step.width) == expected;
}

void RunPairPoll(CSensorPage& page, const Step& step, BYTE* body, int expected) {
    PollAndRead(page, body);
    bool answer = body[0] == kTypeAnswer;
    if (AnswerPasses(page, step, body, expected)) {
        page.m_bGotReply = 1;
    } else if (answer) {
        if (step.check == Check::StrictExpect) page.m_bRestart = 1;
    } else if (step.kind == StepKind::PairSecond && !page.m_bGotReply) {
        page.m_bRestart = 1;
    }
    if (step.kind == StepKind::PairSecond) page.m_bGotReply = 0;
}

void RunStep(CSensorPage& page, const Machine& machine, const Step& step, const Inputs& in,
             BYTE* body) {
    int value = ValueOf(step.value, in);
    switch (step.kind) {
        case StepKind::Enter:
            SendRequest(page, machine, kTypeEnter, step, 0);
            return;
        case StepKind::Leave:
            SendRequest(page, machine, kTypeLeave, step, 0);
            return;
        case StepKind::Read:
            SendRequest(page, machine, kTypeRead, step, 0);
            return;
        case StepKind::Write:
            // The request still carries the IDs the page held before this step.
            SendRequest(page, machine, kTypeWrite, step, value);
            Store(page, step.assign, value);
            return;
        case StepKind::StreamPoll:
            PollAndRead(page, body);
            if (body[0] == kTypeTelemetry) page.m_bRestart = 1;
            return;
        case StepKind::PairFirst:
        case StepKind::PairSecond:
            RunPairPoll(page, step, body, value);
            return;
        case StepKind::Response:
            CKestrovaDlg::ReadBusResponseFrame(body);
            if (AnswerPasses(page, step, body, value))
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
    CString text;
    text.Format("%.d", body[4] * 100);
    page.SetDlgItemText(id, text);
}

void RunTick(CSensorPage& page, const Machine& machine) {
    BYTE body[bus::kBodyLength] = {};
    int& step = page.*machine.counter;
    Inputs in = ReadInputs(page, machine);
    if (!in.complete) {
        // Nothing sensible can be written: stop before sending anything and let the next
        // progress tick end the operation.
        step = 0;
        page.m_bRestart = 0;
        page.KillTimer(machine.timer);
        page.m_nProgress = sensor_ids::kProgressEnd;
        AfxMessageBox(messages::kSelectCorrectParameters);
        return;
    }
    if (step >= 0 && step < machine.Limit())
        RunStep(page, machine, machine.steps[static_cast<std::size_t>(step)], in, body);

    step += 1;
    page.m_nProgress = static_cast<int>(step * machine.progressFactor);
    if (step >= machine.Limit()) {
        step = 0;
        page.m_bRestart = 0;
        page.KillTimer(machine.timer);
        if (machine.closingMessage) AfxMessageBox(machine.closingMessage);
    }
    if (page.m_bRestart == 1) {
        step = machine.retryBack > 0 ? std::max(step - machine.retryBack, 0) : 0;
        page.m_bRestart = 0;
        if (machine.clearGotReplyOnRestart) page.m_bGotReply = 0;
    }
}

}  // namespace sensor_steps
