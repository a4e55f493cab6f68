#include "sensors/StandardMachines.h"

#include "resources/messages.h"
#include "sensors/SensorPage.h"

namespace sensor_steps {
namespace {

using namespace sensor_timers;
using bus::kParamAppId;
using bus::kParamDataRate;
using bus::kParamFirmware;
using bus::kParamPhysId;
using bus::kParamRestoreDefaults;

// The Write's inputs: the two IDs first, then one per written parameter.
constexpr int kNewAppId = 0;
constexpr int kNewPhysId = 1;
constexpr int kFirstParamInput = 2;

void AppendEnters(std::vector<Step>& s, int streams, int polls) {
    for (int i = 0; i < streams; ++i) s.push_back(Enter(i));
    for (int i = 0; i < (polls > 0 ? polls : 2 * streams); ++i) s.push_back(StreamPoll());
}

void AppendLeaves(std::vector<Step>& s, int streams) {
    for (int i = 0; i < streams; ++i) s.push_back(Leave(i));
}

void AppendShown(std::vector<Step>& s, const ShownParam& p) {
    s.push_back(ReadParam(p.param, p.stream));
    AppendPairShowing(s, p.show, p.id);
}

// Write, read back, and the answer pair against the value written.
void AppendWritten(std::vector<Step>& s, BYTE param, int stream, int input,
                   Assign assign = Assign::None) {
    s.push_back(WriteParam(param, In(input), stream, assign));
    s.push_back(ReadParam(param, stream));
    AppendPairAgainst(s, In(input));
}

Machine MakeRead(const StandardPage& page) {
    Machine m{.timer = kRead,
              .periodMs = kReadPeriodMs,
              .timeoutMs = kReadTimeoutMs,
              .progressMs = kReadProgressMs,
              .operation = sensor_operation::kReadWrite,
              .counter = &CSensorPage::m_nReadStep,
              .progressFactor = page.readFactor,
              .clearGotReplyOnRestart = false,
              .closingMessage = messages::kSuccessfulOperation};
    auto& s = m.steps;
    AppendEnters(s, page.streams, page.readPolls);
    AppendShown(s, {0, kParamFirmware, ShowFirmware, sensor_ids::kFirmwareEdit});
    for (const ShownParam& p : page.shown) AppendShown(s, p);
    s.push_back(ShowIds());
    AppendLeaves(s, page.streams);
    return m;
}

Machine MakeWrite(const StandardPage& page) {
    Machine m{.timer = kWrite,
              .periodMs = kWritePeriodMs,
              .timeoutMs = kWriteTimeoutMs,
              .progressMs = kWriteProgressMs,
              .operation = sensor_operation::kReadWrite,
              .counter = &CSensorPage::m_nDefaultStep,
              .progressFactor = page.writeFactor,
              .closingMessage = messages::kSuccessfulOperation,
              .inputs = {IdInput(sensor_ids::kAppIdEdit, 15),
                         IdInput(sensor_ids::kPhysIdEdit, page.physIdMax)}};
    for (const WrittenParam& p : page.written) m.inputs.push_back(p.input);
    auto& s = m.steps;
    AppendEnters(s, page.streams, page.writePolls);
    for (std::size_t i = 0; i < page.written.size(); ++i)
        AppendWritten(s, page.written[i].param, page.written[i].stream,
                      kFirstParamInput + static_cast<int>(i));
    // The new application ID goes out on the old data ID; from then on the page uses the new.
    AppendWritten(s, kParamAppId, 0, kNewAppId, Assign::AppId);
    // The new physical ID takes effect at once: its read-back polls go to it.
    AppendWritten(s, kParamPhysId, 0, kNewPhysId, Assign::PhysIdIndex);
    AppendLeaves(s, page.streams);
    return m;
}

Machine MakeDefault(const StandardPage& page) {
    Machine m{.timer = kDefault,
              .periodMs = kDefaultPeriodMs,
              .timeoutMs = kDefaultTimeoutMs,
              .progressMs = kDefaultProgressMs,
              .operation = sensor_operation::kDefault,
              .counter = &CSensorPage::m_nDefaultStep,
              .progressFactor = page.defaultFactor};
    auto& s = m.steps;
    AppendEnters(s, page.streams, page.defaultPolls);
    s.push_back(WriteParam(kParamRestoreDefaults, Const(0), page.defaultStream));
    s.push_back(ReadParam(kParamRestoreDefaults, page.defaultStream));
    AppendPairAgainst(s, Const(0));
    AppendLeaves(s, page.streams);
    return m;
}

}  // namespace

StandardMachines::StandardMachines(const StandardPage& page)
    : m_read(MakeRead(page)), m_write(MakeWrite(page)), m_default(MakeDefault(page)) {
    m_all = {&m_read, &m_write};
    if (page.hasDefault) m_all.push_back(&m_default);
}

const StandardMachines& OneStreamMachines() {
    static const StandardMachines machines({
        .shown = {{0, kParamDataRate, ShowDataRate, sensor_ids::kDataRateEdit}},
        .written = {{0, kParamDataRate, RateInput(sensor_ids::kDataRateEdit)}},
        .readFactor = 12,
        .writeFactor = 8,
        .defaultFactor = 17,
    });
    return machines;
}

StandardPage TwoStreamPage(int rateEdit0, int rateEdit1, double readFactor, double writeFactor) {
    return {
        .streams = 2,
        .shown = {{1, kParamDataRate, ShowDataRate, rateEdit1},
                  {0, kParamDataRate, ShowDataRate, rateEdit0}},
        .written = {{1, kParamDataRate, RateInput(rateEdit1)},
                    {0, kParamDataRate, RateInput(rateEdit0)}},
        .defaultStream = 1,
        .readFactor = readFactor,
        .writeFactor = writeFactor,
        .defaultFactor = 11,
    };
}

}  // namespace sensor_steps
