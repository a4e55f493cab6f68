#include "sensors/fuel_kit_machines.h"

#include "bus/fuel_kit_params.h"
#include "resources/messages.h"
#include "sensors/SensorPage.h"
#include "sensors/Sensor_FuelKitDlg.h"

namespace sensor_steps {
namespace {

// The Write's inputs, in the order the page reads them at the start of every tick.
namespace in {
enum : int {
    kAppId,
    kPhysId,
    kRate,
    kFlowPulse,
    kCdiLimit,
    kVolume,
    kVolumeLowAlarm,
    kOverFlowAlarm,
    kOverSpeedAlarm,
    kOverTemp1Alarm,
    kOverTemp2Alarm,
    kAutoReset,
};
}  // namespace in

using namespace bus::fuel_kit;
using namespace fuel_kit_ids;
using namespace sensor_timers;

constexpr double kReadFactor = 5.3;
constexpr double kWriteFactor = 3.5;
constexpr double kDefaultFactor = 46.5;
constexpr double kResetFactor = 35;
// How far a failed answer goes back: to the read before it, or to the write before that.
constexpr int kBackToRead = 2;
constexpr int kBackToWrite = 3;
constexpr int kPhysIdMax = 26;
// Widths of a value written or an answer compared: one byte or 16 bits.
constexpr int kByte = 1;
constexpr int kWord = 2;

// Auto reset: 0 is on, anything else off.
void ShowAutoReset(CSensorPage& page, int id, const BYTE* body) {
    if (auto* combo = dynamic_cast<CComboBox*>(page.GetDlgItem(id)))
        combo->SetCurSel(body[4] == 0 ? kAutoResetOn : kAutoResetOff);
}

void ShowFactorySettings(CSensorPage& page, int id, const BYTE* body) {
    page.SetDlgItemText(id, body[4] != 0 ? "YES" : "NO");
}

Machine Base(UINT timer, UINT periodMs, UINT timeoutMs, UINT progressMs, int operation,
             int CSensorPage::*counter, double factor, int retryBack) {
    return Machine{.timer = timer,
                   .periodMs = periodMs,
                   .timeoutMs = timeoutMs,
                   .progressMs = progressMs,
                   .operation = operation,
                   .counter = counter,
                   .progressFactor = factor,
                   .retryBack = retryBack,
                   .address = bus::kFuelKitConfigAddress,
                   .closingMessage = messages::kSuccessfulOperation};
}

// A read request and, on the next tick, its answer shown in control `id`.
void AppendShown(Machine& m, BYTE param, ShowFn show, int id) {
    m.steps.push_back(ReadParam(param));
    m.steps.push_back(ResponseShowing(show, id));
}

// A write of `width` bytes, its read request, and the answer compared on `answerWidth` bytes
// with what was written; `assign` stores it on the page once it matched.
void AppendWritten(Machine& m, BYTE param, int input, int width, int answerWidth,
                   Assign assign = Assign::None) {
    Step write = WriteParam(param, In(input));
    write.width = static_cast<std::uint8_t>(width);
    m.steps.push_back(write);
    m.steps.push_back(ReadParam(param));
    m.steps.push_back(ResponseAgainst(In(input), answerWidth, assign));
}

Machine MakeRead() {
    Machine m =
        Base(kRead, kReadPeriodMs, kReadTimeoutMs, kReadProgressMs, sensor_operation::kReadWrite,
             &CSensorPage::m_nReadStep, kReadFactor, kBackToRead);
    AppendShown(m, bus::kParamFirmware, ShowFirmware, sensor_ids::kFirmwareEdit);
    AppendShown(m, bus::kParamDataRate, ShowDataRate, sensor_ids::kDataRateEdit);
    AppendShown(m, kParamFlowPulse, ShowWord, kFlowPulseEdit);
    // The CDI limit is written in 16 bits and shown in 24.
    AppendShown(m, kParamCdiLimit, ShowWord24, kCdiLimitEdit);
    AppendShown(m, kParamVolume, ShowWord, kVolumeEdit);
    m.steps.push_back(Idle());
    m.steps.push_back(Idle());
    AppendShown(m, kParamAutoReset, ShowAutoReset, kAutoResetCombo);
    AppendShown(m, kParamFactorySettings, ShowFactorySettings, kFactorySettingsEdit);
    AppendShown(m, kParamVolumeLowAlarm, ShowWord, kVolumeLowAlarmEdit);
    AppendShown(m, kParamOverFlowAlarm, ShowWord, kOverFlowAlarmEdit);
    AppendShown(m, kParamOverSpeedAlarm, ShowWord, kOverSpeedAlarmEdit);
    AppendShown(m, kParamOverTemp1Alarm, ShowWord, kOverTemp1AlarmEdit);
    AppendShown(m, kParamOverTemp2Alarm, ShowWord, kOverTemp2AlarmEdit);
    // The IDs are those the scan or the last Write stored; the kit is not asked for them.
    m.steps.push_back(ShowIds());
    return m;
}

Machine MakeWrite() {
    Machine m = Base(kWrite, kWritePeriodMs, kWriteTimeoutMs, kWriteProgressMs,
                     sensor_operation::kReadWrite, &CSensorPage::m_nDefaultStep, kWriteFactor,
                     kBackToWrite);
    auto edit = [](int id, int lo, int hi) { return Input{.id = id, .lo = lo, .hi = hi}; };
    m.inputs = {
        IdInput(sensor_ids::kAppIdEdit, 15),
        IdInput(sensor_ids::kPhysIdEdit, kPhysIdMax),
        RateInput(sensor_ids::kDataRateEdit),
        edit(kFlowPulseEdit, 1, 2000),
        edit(kCdiLimitEdit, 10, 1000),
        edit(kVolumeEdit, 10, 60000),
        edit(kVolumeLowAlarmEdit, 0, 90),
        edit(kOverFlowAlarmEdit, 0, 2000),
        edit(kOverSpeedAlarmEdit, 0, 1000),
        edit(kOverTemp1AlarmEdit, 0, 250),
        edit(kOverTemp2AlarmEdit, 0, 310),
        Input{.source = Input::Source::Combo, .id = kAutoResetCombo},
    };
    AppendWritten(m, bus::kParamDataRate, in::kRate, kByte, kByte);
    AppendWritten(m, kParamFlowPulse, in::kFlowPulse, kWord, kWord);
    AppendWritten(m, kParamCdiLimit, in::kCdiLimit, kWord, kWord);
    AppendWritten(m, kParamVolume, in::kVolume, kWord, kWord);
    for (int i = 0; i < 3; ++i) m.steps.push_back(Idle());
    AppendWritten(m, kParamAutoReset, in::kAutoReset, kByte, kByte);
    // Some alarms go out in one byte but come back in two.
    AppendWritten(m, kParamVolumeLowAlarm, in::kVolumeLowAlarm, kByte, kWord);
    AppendWritten(m, kParamOverFlowAlarm, in::kOverFlowAlarm, kWord, kWord);
    AppendWritten(m, kParamOverSpeedAlarm, in::kOverSpeedAlarm, kWord, kWord);
    AppendWritten(m, kParamOverTemp1Alarm, in::kOverTemp1Alarm, kByte, kWord);
    AppendWritten(m, kParamOverTemp2Alarm, in::kOverTemp2Alarm, kWord, kWord);
    // The new IDs count once the kit confirms them; until then the requests carry the old ones.
    AppendWritten(m, bus::kParamPhysId, in::kPhysId, kByte, kByte, Assign::PhysIdIndex);
    AppendWritten(m, bus::kParamAppId, in::kAppId, kByte, kByte, Assign::AppId);
    m.steps.push_back(Idle());
    return m;
}

// Restores the factory settings. The kit does not acknowledge a write, so the machine reads
// the factory-settings flag afterwards: any answer shows the kit heard, and a kit that never
// answers ends the operation as failed rather than as done.
Machine MakeDefault() {
    Machine m =
        Base(kDefault, kDefaultPeriodMs, kDefaultTimeoutMs, kDefaultProgressMs,
             sensor_operation::kDefault, &CSensorPage::m_nDefaultStep, kDefaultFactor, kBackToRead);
    m.lastStepMustPass = true;
    m.steps.push_back(WriteParam(kParamFactorySettings, Const(1)));
    AppendShown(m, kParamFactorySettings, nullptr, 0);
    return m;
}

// A counter reset: write 0, read it back, check the kit's acknowledgement; it runs as Default
// Settings does, on a timer of its own.
Machine MakeReset(UINT timer, BYTE param, int answer, int answerWidth) {
    Machine m =
        Base(timer, kDefaultPeriodMs, kDefaultTimeoutMs, kDefaultProgressMs,
             sensor_operation::kDefault, &CSensorPage::m_nDefaultStep, kResetFactor, kBackToWrite);
    m.steps = {WriteParam(param, Const(0)), ReadParam(param),
               ResponseAgainst(Const(answer), answerWidth), Idle()};
    return m;
}

}  // namespace

const FuelKitMachines& FuelKit() {
    static const FuelKitMachines machines{
        .read = MakeRead(),
        .write = MakeWrite(),
        .defaults = MakeDefault(),
        .resetResidualVolume =
            MakeReset(fuel_kit_timers::kResetResidualVolume, kParamResetResidualVolume,
                      kResidualVolumeResetAnswer, kWord),
        .resetMaximumFlow = MakeReset(fuel_kit_timers::kResetMaximumFlow, kParamResetMaximumFlow,
                                      kFlowResetAnswer, kByte),
        .resetAverageFlow = MakeReset(fuel_kit_timers::kResetAverageFlow, kParamResetAverageFlow,
                                      kFlowResetAnswer, kByte),
    };
    return machines;
}

std::span<const Machine* const> FuelKitMachineList() {
    static const Machine* const list[] = {
        &FuelKit().read,
        &FuelKit().write,
        &FuelKit().defaults,
        &FuelKit().resetResidualVolume,
        &FuelKit().resetMaximumFlow,
        &FuelKit().resetAverageFlow,
    };
    return list;
}

}  // namespace sensor_steps
