// The fuel-engine sensor kit's page (135): eight live values in three columns, the kit's
// settings in three more, the operation buttons in "Normal Configuration" and the counter
// resets in "Special Configuration".

#include "resources/sensor_page_template.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::CtrlKind;
using platform::DialogTemplate;

// A column of rows: each row a label right-aligned against its edit.
struct Column {
    short editX;
    short labelCx;
    short editCx;
};

// A label in two lines beside its edit.
void AppendTwoLineLabeledEdit(std::vector<ControlTemplate>& c, int labelId, const char* label,
                              int editId, const Column& col, short y) {
    c.push_back({CtrlKind::Static, labelId, label, kRightLabelStyle,
                 short(col.editX - 6 - col.labelCx), short(y - 1), col.labelCx, 16});
    c.push_back({CtrlKind::Edit, editId, "", kEditStyle, col.editX, y, col.editCx, 14});
}

DialogTemplate FuelKitPage() {
    std::vector<ControlTemplate> c = {
        {CtrlKind::GroupBox, IDC_STATIC, "Data", kGroupStyle, 7, 7, 384, 79},
        {CtrlKind::GroupBox, IDC_STATIC, "Param", kGroupStyle, 7, 88, 384, 115},
        {CtrlKind::GroupBox, IDC_STATIC, "Normal Configuration", kGroupStyle, 7, 261, 328, 43},
        {CtrlKind::GroupBox, IDC_STATIC, "Special Configuration", kGroupStyle, 7, 312, 328, 43},
    };

    // Data: temperatures and speed; flow and what is left in the tank; maximum and average.
    constexpr Column kData[] = {{100, 82, 36}, {222, 74, 36}, {351, 83, 36}};
    constexpr short kDataRows[] = {22, 42, 62};
    auto data = [&](int col, int row, int labelId, const char* label, int editId) {
        AppendLabeledEdit(c, labelId, label, editId, kData[col].editX, kDataRows[row],
                          kData[col].labelCx, kData[col].editCx, kReadOnlyEditStyle);
    };
    data(0, 0, 1117, "Temperature1 (°C)", 1239);
    data(0, 1, 1118, "Temperature2 (°C)", 1010);
    data(0, 2, 1246, "Revolving Speed (r/min)", 1011);
    data(1, 0, 1247, "Flow (mL/min)", 1242);
    data(1, 1, 1248, "Residual volume (mL)", 1243);
    data(1, 2, 1249, "Residual percent (%)", 1014);
    data(2, 0, 1250, "Maximum Flow (mL/min)", 1244);
    data(2, 1, 1251, "Average Flow (mL/min)", 1016);

    // Param: the IDs, firmware and rate; the kit's own settings; the five alarms.
    constexpr Column kIds{88, 70, 36};
    constexpr Column kKit{225, 89, 36};
    constexpr Column kAlarms{353, 66, 34};
    constexpr short kParamRows[] = {101, 120, 139, 158, 177};
    auto param = [&](const Column& col, int row, int labelId, const char* label, int editId,
                     DWORD style = kEditStyle) {
        AppendLabeledEdit(c, labelId, label, editId, col.editX, kParamRows[row], col.labelCx,
                          col.editCx, style);
    };
    param(kIds, 0, 1107, "Physical ID (0~26)", 1055);
    param(kIds, 1, 1108, "Application ID (0~15)", 1056);
    param(kIds, 2, 1109, "Firmware", 1058, kReadOnlyEditStyle);
    param(kIds, 3, 1111, "Data Rate (ms)", 1057);
    param(kKit, 0, 1253, "CDI Limit (*100r/min) ", 1022);
    param(kKit, 1, 1254, "Flow Pulse (*0.001mL/pul)", 1023);
    param(kKit, 2, 1252, "Volume (mL)", 1245);
    c.push_back({CtrlKind::Static, 1256, "Auto Reset", kRightLabelStyle,
                 short(kKit.editX - 6 - kKit.labelCx), short(kParamRows[3] + 3), kKit.labelCx, 8});
    c.push_back(
        {CtrlKind::ComboBox, 1025, "", kDropListStyle, kKit.editX, kParamRows[3], kKit.editCx, 40});
    param(kKit, 4, 1257, "Factory Settings", 1026, kReadOnlyEditStyle);
    // The alarm labels break before their units.
    AppendTwoLineLabeledEdit(c, 1258, "Residual Volume low alarm (%)", 1027, kAlarms,
                             kParamRows[0]);
    AppendTwoLineLabeledEdit(c, 1259, "Over flow alarm (mL/min)", 1028, kAlarms, kParamRows[1]);
    AppendTwoLineLabeledEdit(c, 1260, "Over speed alarm (*100r/min)", 1029, kAlarms, kParamRows[2]);
    AppendTwoLineLabeledEdit(c, 1261, "Over temp1 alarm (°C)", 1030, kAlarms, kParamRows[3]);
    AppendTwoLineLabeledEdit(c, 1262, "Over temp2 alarm (°C)", 1031, kAlarms, kParamRows[4]);
    // The flow trigger is not offered: created without the visible style, in no operation.
    c.push_back({CtrlKind::Static, 1255, "Flow Trigger (mL/min)", kRightLabelStyle & ~WS_VISIBLE,
                 short(kKit.editX - 6 - kKit.labelCx), 223, kKit.labelCx, 8});
    c.push_back(
        {CtrlKind::Edit, 1024, "", kEditStyle & ~WS_VISIBLE, kKit.editX, 220, kKit.editCx, 14});

    // Special Configuration: the three counter resets.
    constexpr short kResetY = 330;
    constexpr short kResetCx = 90;
    c.push_back({CtrlKind::PushButton, 1240, "Residual volume reset", kButtonStyle, 19, kResetY,
                 kResetCx, 14});
    c.push_back({CtrlKind::PushButton, 1241, "Maximum flow reset", kButtonStyle, 124, kResetY,
                 kResetCx, 14});
    c.push_back({CtrlKind::PushButton, 1007, "Average flow reset", kButtonStyle, 229, kResetY,
                 kResetCx, 14});

    return SensorPageTemplate(
        135, std::move(c),
        {.picture = "#414", .buttonsY = 279, .connectionX = 11, .connectionY = 217});
}

}  // namespace

void RegisterFuelKitTemplate() {
    // The registry keeps a pointer, so the template lives as long as the program.
    static const DialogTemplate fuelKit = FuelKitPage();
    platform::RegisterDialogTemplate(fuelKit);
}

}  // namespace resources
