#include "sensors/OneStreamMachines.h"

#include "bus/protocol.h"
#include "resources/messages.h"
#include "sensors/SensorPage.h"

namespace sensor_steps {
namespace {

using namespace sensor_ids;

using bus::kParamAppId;
using bus::kParamDataRate;
using bus::kParamFirmware;
using bus::kParamPhysId;
using bus::kParamRestoreDefaults;

// The Write's inputs, in this order.
constexpr int kNewAppId = 0;
constexpr int kNewPhysId = 1;
constexpr int kRateByte = 2;

Machine MakeRead() {
    Machine m{.timer = 0,
              .periodMs = 10,
              .timeoutMs = 4000,
              .progressMs = 16,
              .operation = 2,
              .counter = &CSensorPage::m_nReadStep,
              .progressFactor = 12,
              .clearGotReplyOnRestart = false,
              .closingMessage = messages::kSuccessfulOperation};
    auto& s = m.steps;
    s = {Enter(), StreamPoll(), StreamPoll(), ReadParam(kParamFirmware)};
    AppendPairShowing(s, ShowFirmware, kFirmwareEdit);
    s.push_back(ReadParam(kParamDataRate));
    AppendPairShowing(s, ShowDataRate, kDataRateEdit);
    s.push_back(ShowIds());
    s.push_back(Leave());
    return m;
}

Machine MakeWrite() {
    Machine m{.timer = 1,
              .periodMs = 50,
              .timeoutMs = 6000,
              .progressMs = 32,
              .operation = 2,
              .counter = &CSensorPage::m_nDefaultStep,
              .progressFactor = 8,
              .closingMessage = messages::kSuccessfulOperation,
              .inputs = {{.id = kAppIdEdit, .lo = 0, .hi = 15},
                         {.id = kPhysIdEdit, .lo = 0, .hi = 27},
                         {.id = kDataRateEdit, .lo = 100, .hi = 25500, .divisor = 100}}};
    auto& s = m.steps;
    s = {Enter(), StreamPoll(), StreamPoll(), WriteParam(kParamDataRate, In(kRateByte)),
         ReadParam(kParamDataRate)};
    AppendPairAgainst(s, In(kRateByte));
    // The new application ID goes out on the old data ID; from then on the page uses the new.
    s.push_back(WriteParam(kParamAppId, In(kNewAppId), 0, Assign::AppId));
    s.push_back(ReadParam(kParamAppId));
    AppendPairAgainst(s, In(kNewAppId));
    s.push_back(WriteParam(kParamPhysId, In(kNewPhysId), 0, Assign::PhysIdIndex));
    s.push_back(ReadParam(kParamPhysId));
    AppendPairAgainst(s, In(kNewPhysId));
    s.push_back(Leave());
    return m;
}

Machine MakeDefault() {
    Machine m{.timer = 4,
              .periodMs = 50,
              .timeoutMs = 4000,
              .progressMs = 16,
              .operation = 3,
              .counter = &CSensorPage::m_nDefaultStep,
              .progressFactor = 17};
    auto& s = m.steps;
    s = {Enter(), StreamPoll(), StreamPoll(), WriteParam(kParamRestoreDefaults, Const(0)),
         ReadParam(kParamRestoreDefaults)};
    AppendPairAgainst(s, Const(0));
    s.push_back(Leave());
    return m;
}

}  // namespace

const Machine& OneStreamRead() {
    static const Machine m = MakeRead();
    return m;
}

const Machine& OneStreamWrite() {
    static const Machine m = MakeWrite();
    return m;
}

const Machine& OneStreamDefault() {
    static const Machine m = MakeDefault();
    return m;
}

std::span<const Machine* const> OneStreamMachines() {
    static const Machine* const machines[] = {&OneStreamRead(), &OneStreamWrite(),
                                              &OneStreamDefault()};
    return machines;
}

}  // namespace sensor_steps
