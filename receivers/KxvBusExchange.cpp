// The KXV page on the bus: Read, Write and Default as step sequences on their timers with
// their reply parsers, the progress run, the time-out that ends an operation, and the
// calibration's three frames.

#include <string>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "bus/frame.h"
#include "bus/protocol.h"
#include "receivers/Receiver_KXVDlg.h"
#include "receivers/kxv_messages.h"
#include "resources/messages.h"

using namespace kxv;

namespace {

// Read: enter, two polls, then per parameter k its read frame (step 2k+3) and polls (step 2k+4)
// until its answer is in, then leave.
constexpr UINT kReadFirstParameterStep = 3;
constexpr UINT kReadLastStep = kReadFirstParameterStep + 2 * kParameterCount;  // 55
// Write: enter, two polls, then per parameter k its write (3k+3), read (3k+4) and poll (3k+5)
// until its read-back matches, then leave.
constexpr UINT kWriteFirstParameterStep = 3;
constexpr UINT kWriteLastStep = kWriteFirstParameterStep + 3 * kParameterCount;  // 81

BYTE Code(int k) {
    return kParameters[static_cast<std::size_t>(k)].code;
}

// The parameter an answer body carries, when it is an answer about one of the 26.
const Parameter* AnsweredParameter(const BYTE* body) {
    if (body[0] != bus::kTypeAnswer) return nullptr;
    return FindByCode(body[3]);
}

}  // namespace

void CReceiver_KXVDlg::SendRequest(BYTE type, BYTE code, BYTE value, int step) {
    m_requests.Send(CKestrovaDlg::BusLink(), {bus::kStabilizerAddress, type, kDataId, code, value},
                    step);
}

std::optional<int> CReceiver_KXVDlg::ResendUnheard() {
    const auto resent = m_requests.ResendUnheard(CKestrovaDlg::BusLink());
    if (!resent) return std::nullopt;
    m_nRetryTicks = 0;
    return resent->step + 1;
}

bool CReceiver_KXVDlg::EndWhenHeard() {
    if (!m_requests.AllHeard(CKestrovaDlg::BusLink())) return false;
    // Its own leave frame was heard: there is nothing left to leave.
    m_requests.Clear();
    return true;
}

void CReceiver_KXVDlg::SendPoll() {
    unsigned char poll[bus::kPollLength] = {bus::kFrameStart,
                                            bus::kPhysIdTable[static_cast<std::size_t>(kPhysId)]};
    CKestrovaDlg::SendBusFrame(poll, static_cast<int>(bus::kPollLength));
}

void CReceiver_KXVDlg::EndEverything() {
    for (UINT_PTR id = 0; id <= timers::kLast; ++id) KillTimer(id);
    // A receiver left in configuration access stops polling its sensors for good.
    CKestrovaDlg::LeaveAccess(m_requests);
    if (m_progress.m_hWnd) m_progress.ShowWindow(SW_HIDE);
    m_nProgress = 0;
    m_sequenceRunning = false;
    m_calibrating = false;
}

void CReceiver_KXVDlg::StartOperation(Operation operation) {
    // One master on the bus: whatever still runs (an earlier sequence, a calibration) ends here.
    EndEverything();
    m_operation = operation;
    m_sequenceRunning = true;
    for (int& flag : m_nAckFlags) flag = 0;
    if (operation == Operation::kRead) {
        m_nReadStep = 0;
        SetTimer(timers::kProgress, timers::kReadProgressMs);
        SetTimer(timers::kReadReply, timers::kReadReplyMs);
        SetTimer(timers::kReadSequence, timers::kReadSequenceMs);
        SetTimer(timers::kTimeout, timers::kReadTimeoutMs);
    } else {
        m_nWriteStep = 0;
        SetTimer(timers::kProgress, timers::kWriteProgressMs);
        SetTimer(timers::kWriteReply, timers::kWriteReplyMs);
        SetTimer(timers::kWriteSequence, timers::kWriteSequenceMs);
        SetTimer(timers::kTimeout, timers::kWriteTimeoutMs);
    }
    EnableControls(FALSE);
}

void CReceiver_KXVDlg::OnBnClickedRead() {
    CKestrovaDlg::PurgePort();
    StartOperation(Operation::kRead);
}

void CReceiver_KXVDlg::OnBnClickedWrite() {
    // Untouched values would send directions and gains nobody chose.
    if (!AllKnown(texts::kNothingWritten)) return;
    if (!EditsHoldNumbers(texts::kNothingWritten)) return;
    ExchangeSubPages(2);
    CKestrovaDlg::PurgePort();
    StartOperation(Operation::kWrite);
}

void CReceiver_KXVDlg::OnBnClickedDefault() {
    ExchangeSubPages(3);
    m_known.set();
    CKestrovaDlg::PurgePort();
    StartOperation(Operation::kDefault);
}

void CReceiver_KXVDlg::RunReadSequence() {
    if (const auto next = ResendUnheard()) {
        m_nReadStep = static_cast<UINT>(*next);
        return;
    }
    const UINT step = m_nReadStep;
    if (step == 0) {
        SendRequest(bus::kTypeEnter, 0, 0, static_cast<int>(step));
    } else if (step < kReadFirstParameterStep) {
        SendPoll();
    } else if (step < kReadLastStep && (step - kReadFirstParameterStep) % 2 == 0) {
        SendRequest(bus::kTypeRead, Code(static_cast<int>(step - kReadFirstParameterStep) / 2), 0,
                    static_cast<int>(step));
    } else if (step < kReadLastStep) {
        const UINT k = (step - kReadFirstParameterStep) / 2;
        SendPoll();
        if (m_nAckFlags[k]) {
            m_nReadStep = 2 * k + kReadFirstParameterStep + 2;
            m_nRetryTicks = 0;
        } else if (m_nRetryTicks >= kReadRetryTicks) {
            m_nReadStep = 2 * k + kReadFirstParameterStep;  // the request again
            m_nRetryTicks = 0;
        }
        return;
    } else if (step == kReadLastStep) {
        for (int k = 0; k < kParameterCount; ++k)
            HeldValue(k) = m_readValues[static_cast<std::size_t>(k)];
        ExchangeSubPages(1);
        m_known.set();
        SendRequest(bus::kTypeLeave, 0, 0, static_cast<int>(step));
    } else {
        // A receiver that did not hear the leave frame would stay in configuration access.
        if (!EndWhenHeard()) return;
        KillTimer(timers::kReadSequence);
        KillTimer(timers::kReadReply);
        m_sequenceRunning = false;
        return;
    }
    m_nReadStep += 1;
}

void CReceiver_KXVDlg::ParseReadReply() {
    m_nRetryTicks += 1;
    BYTE body[bus::kBodyLength] = {};
    CKestrovaDlg::ReadBusFrame(body);
    if (const Parameter* p = AnsweredParameter(body)) {
        m_readValues[static_cast<std::size_t>(p->k)] = body[4];
        m_nAckFlags[p->k] = 1;
    }
}

void CReceiver_KXVDlg::RunWriteSequence() {
    if (const auto next = ResendUnheard()) {
        m_nWriteStep = static_cast<UINT>(*next);
        return;
    }
    const UINT step = m_nWriteStep;
    if (step == 0) {
        SendRequest(bus::kTypeEnter, 0, 0, static_cast<int>(step));
    } else if (step < kWriteFirstParameterStep) {
        SendPoll();
    } else if (step < kWriteLastStep) {
        const UINT k = (step - kWriteFirstParameterStep) / 3;
        switch ((step - kWriteFirstParameterStep) % 3) {
            case 0:
                SendRequest(bus::kTypeWrite, Code(static_cast<int>(k)),
                            static_cast<BYTE>(HeldValue(static_cast<int>(k))),
                            static_cast<int>(step));
                break;
            case 1:
                SendRequest(bus::kTypeRead, Code(static_cast<int>(k)), 0, static_cast<int>(step));
                break;
            default:
                SendPoll();
                // A read-back that came too late for this pass counts at the next one.
                m_nWriteStep = 3 * k + kWriteFirstParameterStep + (m_nAckFlags[k] ? 3 : 0);
                return;
        }
    } else if (step == kWriteLastStep) {
        SendRequest(bus::kTypeLeave, 0, 0, static_cast<int>(step));
    } else {
        if (!EndWhenHeard()) return;
        KillTimer(timers::kWriteSequence);
        KillTimer(timers::kWriteReply);
        m_sequenceRunning = false;
        return;
    }
    m_nWriteStep += 1;
}

void CReceiver_KXVDlg::ParseWriteReply() {
    BYTE body[bus::kBodyLength] = {};
    CKestrovaDlg::ReadBusFrame(body);
    const Parameter* p = AnsweredParameter(body);
    // Compared on the byte that went out, so a held value the byte cannot carry still ends.
    if (p && body[4] == static_cast<BYTE>(HeldValue(p->k))) m_nAckFlags[p->k] = 1;
}

void CReceiver_KXVDlg::StepProgress() {
    m_progress.ShowWindow(SW_SHOW);
    m_nProgress += 1;
    if (m_nProgress >= kProgressTicks) {
        m_progress.ShowWindow(SW_HIDE);
        KillTimer(timers::kProgress);
        m_nProgress = 0;
    }
    m_progress.SetPos(m_nProgress);
}

void CReceiver_KXVDlg::FinishOperation() {
    KillTimer(timers::kTimeout);
    const bool unfinished = m_sequenceRunning;
    if (unfinished) {
        // A sequence left polling would go on for ever and hold the bus against the next one.
        EndEverything();
    }
    m_operation = Operation::kNone;
    EnableControls(TRUE);
    if (unfinished) AfxMessageBox(messages::kOperationFailed);
}

void CReceiver_KXVDlg::StopTimers() {
    const bool locked = m_operation != Operation::kNone;
    const bool calibrating = m_calibrating;
    EndEverything();
    m_operation = Operation::kNone;
    // The operation's own end will not come now; what it locked comes back with the stop.
    if (locked) EnableControls(TRUE);
    if (calibrating && !locked) EnableCalibrationButton(1, 1);
}

void CReceiver_KXVDlg::StartCalibration() {
    if (m_operation != Operation::kNone) return;
    m_calibrationStep = 0;
    m_calibrating = true;
    // Until its leave frame is back, a second press could only cut it short.
    EnableCalibrationButton(1, 0);
    SetTimer(timers::kCalibration, timers::kCalibrationMs);
}

void CReceiver_KXVDlg::RunCalibrationSequence() {
    // Nothing else reads the wire during a calibration: its echoes tell whether the receiver
    // heard each frame as written.
    CKestrovaDlg::ReadWire();
    if (const auto next = ResendUnheard()) {
        m_calibrationStep = *next;
        return;
    }
    switch (m_calibrationStep) {
        case 0:
            SendRequest(bus::kTypeEnter, 0, 0, 0);
            m_calibrationStep = 1;
            break;
        case 1:
            SendRequest(bus::kTypeWrite, kCalibrationCode,
                        static_cast<BYTE>(g_receiverKXV_AccelerometerCalibration.m_nOrientation),
                        1);
            m_calibrationStep = 2;
            break;
        case 2:
            SendRequest(bus::kTypeLeave, 0, 0, 2);
            m_calibrationStep = 3;
            break;
        case 3:
            if (!EndWhenHeard()) break;
            KillTimer(timers::kCalibration);
            m_calibrating = false;
            EnableCalibrationButton(1, 1);
            break;
        default:
            m_calibrationStep = 1;
            break;
    }
}
