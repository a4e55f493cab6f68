#pragma once
// The vocabulary of the configuration step machines. A machine is a table: each tick of its
// page timer runs one step, then ends the tick by the shared rules (step + 1, progress, limit,
// restart). Pages describe their machines with these tables; the engine in StepMachine.cpp
// runs any of them.

#include <cstdint>
#include <optional>
#include <vector>

#include "bus/protocol.h"
#include "bus/request_tracker.h"
#include "platform/win_types.h"
#include "sensors/SensorTimers.h"

class CSensorPage;

namespace sensor_steps {

// What one step does on the bus.
enum class StepKind : std::uint8_t {
    Enter,       // request 0x21 on a stream: open configuration access
    Leave,       // request 0x20 on a stream: close it
    Read,        // request 0x30 for a parameter
    Write,       // request 0x31 of a parameter with a value
    StreamPoll,  // poll; a telemetry reply means the sensor did not enter: restart
    PairFirst,   // poll, first of an answer pair
    PairSecond,  // poll, second of an answer pair; restarts when neither poll got a passing answer
    Response,    // no poll: the answer that follows the request's echo; a bad one retries it
    ShowIds,     // no bus action: the page's application and physical IDs into their edits
    Idle,        // no action
    // Polls of a device read from its telemetry, without configuration access: a telemetry
    // reply is shown through `show`; any other reply is a miss the machine remembers
    // (m_bRestart = kMissedPoll), and a miss at the last such poll restarts it only when an
    // earlier poll missed too.
    TelemetryPoll,
    TelemetryPollLast,
};

// m_bRestart's third value: a telemetry poll got no telemetry. It does not restart the machine
// by itself; the end of a tick restarts only on 1.
inline constexpr int kMissedPoll = 2;

// How an answer is judged.
enum class Check : std::uint8_t {
    Expect,  // the value must equal the step's operand: another means the setting did not take
    Show,    // any answer counts; its value is shown through `show`
};

// What a step stores on the page once its value is settled: after a Write is sent, after a
// Response has matched.
enum class Assign : std::uint8_t { None, AppId, PhysIdIndex };

// A value a Write sends or an answer is compared with: one of the machine's inputs, read from
// the page's controls at the start of every tick, or a constant.
struct Operand {
    int input = -1;  // index into Machine::inputs, or -1
    int constant = 0;
};

// A number a page reads for itself (a lookup, several controls at once); nullopt when the
// controls hold nothing that can be sent.
using ReadFn = std::optional<int> (*)(CSensorPage& page);

// A number the user typed (or chose) that the machine sends: atoi of the edit's text, the
// selected index of a combo box, or what the page's own reader gives; clamped to lo..hi when
// lo < hi, divided by `divisor`, plus `offset`. An input with nothing to send (a combo box
// without a selection, a reader's nullopt) stops the machine before anything is sent.
struct Input {
    enum class Source : std::uint8_t { Edit, Combo, Page };
    Source source = Source::Edit;
    int id = 0;
    int lo = 0;
    int hi = 0;
    int divisor = 1;
    int offset = 0;
    ReadFn read = nullptr;  // Source::Page
};

// The inputs of one tick, as the page read them from its controls before the step.
struct TickInputs {
    std::vector<int> values;
    bool complete = true;  // false when an input had nothing to send
};

// Shows an answer's value (reply body bytes 4..6) in the control `id` of the page.
using ShowFn = void (*)(CSensorPage& page, int id, const BYTE* body);

struct Step {
    StepKind kind = StepKind::Idle;
    std::uint8_t stream = 0;  // index into the page's stream bases
    std::uint8_t param = 0;
    Operand value;  // Write: what is sent; answers judged by Expect: what must come back
    Check check = Check::Expect;
    ShowFn show = nullptr;  // Check::Show
    int showId = 0;         // the control `show` writes into
    Assign assign = Assign::None;
    std::uint8_t width = 1;        // value bytes a Write fills (1 to 3); the rest stay 0
    std::uint8_t answerWidth = 0;  // value bytes an answer is compared on; 0: as `width`
};

struct Machine {
    // How the starter runs it: its timer, the period of that timer, the time-out (timer 2) and
    // the progress period (timer 3), and what FinishOperation ends (m_nOperation).
    UINT timer = sensor_timers::kRead;
    UINT periodMs = 0;
    UINT timeoutMs = 0;
    UINT progressMs = 0;
    int operation = sensor_operation::kReadWrite;
    // Its step counter on the page: m_nReadStep or m_nDefaultStep.
    int CSensorPage::*counter = nullptr;
    double progressFactor = 1.0;  // m_nProgress = step × this, cut to an integer
    // How far a restart goes back: 0 = to step 0, otherwise this many steps.
    int retryBack = 0;
    // A restart that the last step asks for goes back instead of ending the machine, so a
    // machine whose last step checks an answer ends only when that answer came.
    bool lastStepMustPass = false;
    // The Write and Default machines forget a half-seen answer pair on restart; Read keeps it.
    bool clearGotReplyOnRestart = true;
    BYTE address = bus::kSensorConfigAddress;  // frame byte 1 of its requests
    const char* closingMessage = nullptr;
    std::vector<Input> inputs;
    std::vector<Step> steps;

    // The step limit N: the machine ends when its counter reaches it.
    int Limit() const { return static_cast<int>(steps.size()); }
};

// What a running machine keeps of the wire between its ticks: a frame counts for the step whose
// poll it follows on the wire, whichever tick reads it; the run's requests are tracked until the
// devices are known to have heard each as written (one that was not goes out again); and a step
// whose end depends on the wire waits until the wire has shown it. Whether a frame answers the
// request at all is the reader's one rule (bus::WireReader::Answers).
struct WireTrack {
    struct Poll {
        std::uint32_t seq;  // the number the reader of the wire gave it
        int step;
    };
    std::vector<Poll> polls;       // of this run, still open to their answers
    bus::RequestTracker requests;  // of this run, and the access it entered
    std::uint32_t pairFirst = 0;
    std::uint32_t pairSecond = 0;
    // The step that has run and whose end waits for the wire (its answer; at the last step, the
    // echoes of all the run sent), and since when (µs); -1: none.
    int waitingStep = -1;
    std::int64_t waitingSinceUs = 0;
    // Forgets what the run knew of the wire, but not where it entered configuration access.
    void Forget() {
        polls.clear();
        requests.ForgetRequests();
        pairFirst = pairSecond = 0;
        waitingStep = -1;
    }
};

// How a tick left the machine; the page kills the machine's timer when it is no longer
// running and shows the message, if there is one.
struct Outcome {
    enum class State : std::uint8_t {
        Running,    // more steps to come
        Completed,  // reached its last step
        Abandoned,  // stopped before sending anything: the inputs had nothing to send
    };
    State state = State::Running;
    const char* message = nullptr;
};

// Builders that keep the tables readable.
inline Operand In(int input) {
    return Operand{input, 0};
}
inline Operand Const(int value) {
    return Operand{-1, value};
}
inline Step Enter(int stream = 0) {
    return Step{.kind = StepKind::Enter, .stream = static_cast<std::uint8_t>(stream)};
}
inline Step Leave(int stream = 0) {
    return Step{.kind = StepKind::Leave, .stream = static_cast<std::uint8_t>(stream)};
}
inline Step ReadParam(BYTE param, int stream = 0) {
    return Step{
        .kind = StepKind::Read, .stream = static_cast<std::uint8_t>(stream), .param = param};
}
inline Step WriteParam(BYTE param, Operand value, int stream = 0, Assign assign = Assign::None) {
    return Step{.kind = StepKind::Write,
                .stream = static_cast<std::uint8_t>(stream),
                .param = param,
                .value = value,
                .assign = assign};
}
inline Step StreamPoll() {
    return Step{.kind = StepKind::StreamPoll};
}
inline Step ShowIds() {
    return Step{.kind = StepKind::ShowIds};
}
inline Step Idle() {
    return Step{.kind = StepKind::Idle};
}
// A poll whose telemetry reply is shown through `show`; the last one of a run restarts the
// machine when it and an earlier one missed.
inline Step TelemetryPoll(ShowFn show, bool last = false) {
    return Step{.kind = last ? StepKind::TelemetryPollLast : StepKind::TelemetryPoll,
                .check = Check::Show,
                .show = show};
}
// An answer taken without a poll, judged against `expected` on `answerWidth` bytes; `assign`
// stores the value once it matched.
inline Step ResponseAgainst(Operand expected, int answerWidth = 1, Assign assign = Assign::None) {
    return Step{.kind = StepKind::Response,
                .value = expected,
                .assign = assign,
                .answerWidth = static_cast<std::uint8_t>(answerWidth)};
}
// An answer taken without a poll and shown in control `id`.
inline Step ResponseShowing(ShowFn show, int id) {
    return Step{.kind = StepKind::Response, .check = Check::Show, .show = show, .showId = id};
}
// The two polls of an answer pair judged against `expected`.
inline void AppendPairAgainst(std::vector<Step>& steps, Operand expected) {
    steps.push_back(Step{.kind = StepKind::PairFirst, .value = expected});
    steps.push_back(Step{.kind = StepKind::PairSecond, .value = expected});
}
// The two polls of an answer pair whose answers are shown in control `id` (`show` may be null:
// then any answer counts and nothing is shown).
inline void AppendPairShowing(std::vector<Step>& steps, ShowFn show, int id) {
    steps.push_back(
        Step{.kind = StepKind::PairFirst, .check = Check::Show, .show = show, .showId = id});
    steps.push_back(
        Step{.kind = StepKind::PairSecond, .check = Check::Show, .show = show, .showId = id});
}

// The common ways an answer is shown.
// Firmware: one BCD byte, 0x23 shows as "2.3".
void ShowFirmware(CSensorPage& page, int id, const BYTE* body);
// Data rate: the byte in 100 ms units, shown in ms with no digits for 0.
void ShowDataRate(CSensorPage& page, int id, const BYTE* body);
// The value byte as it is, with no digits for 0.
void ShowByte(CSensorPage& page, int id, const BYTE* body);
// The 16-bit and 24-bit values, with no digits for 0.
void ShowWord(CSensorPage& page, int id, const BYTE* body);
void ShowWord24(CSensorPage& page, int id, const BYTE* body);

// The value of an answer body: bytes 4.. low first, `width` bytes.
int AnswerValue(const BYTE* body, int width);

// Inputs most Writes read: an ID edit clamped to its range, and a data-rate edit in ms sent in
// 100 ms units.
inline Input IdInput(int edit, int hi) {
    return Input{.id = edit, .lo = 0, .hi = hi};
}
inline Input RateInput(int edit) {
    return Input{.id = edit, .lo = 100, .hi = 25500, .divisor = 100};
}

}  // namespace sensor_steps
