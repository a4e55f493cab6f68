// The ESC page (200): the controller's values and the pole count on the left, the IDs and the
// data rates of its three streams in the middle.

#include "resources/sensor_page_template.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::CtrlKind;
using platform::DialogTemplate;

DialogTemplate EscPage() {
    std::vector<ControlTemplate> c = {
        {CtrlKind::GroupBox, IDC_STATIC, "Data", kGroupStyle, 11, 7, 177, 182},
        {CtrlKind::GroupBox, IDC_STATIC, "Param", kGroupStyle, 199, 7, 189, 184},
    };
    constexpr short kDataEditX = 112;
    constexpr short kDataLabelCx = 80;
    AppendLabeledEdit(c, 1113, "Voltage (V)", 1060, kDataEditX, 24, kDataLabelCx, 40,
                      kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1112, "Current (A)", 1059, kDataEditX, 50, kDataLabelCx, 40,
                      kReadOnlyEditStyle);
    // The pole count is the user's: it turns the reported speed into motor revolutions.
    AppendLabeledEdit(c, 1220, "Pole", 1221, kDataEditX, 76, kDataLabelCx);
    AppendLabeledEdit(c, 1116, "Speed (rpm)", 1093, kDataEditX, 102, kDataLabelCx, 40,
                      kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1271, "Consumption (mAh)", 1270, kDataEditX, 128, kDataLabelCx, 40,
                      kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1222, "Temperature (°C)", 1223, kDataEditX, 154, kDataLabelCx, 40,
                      kReadOnlyEditStyle);

    constexpr short kParamEditX = 340;
    constexpr short kParamLabelCx = 132;
    AppendLabeledEdit(c, 1107, "Physical ID (0~27)", 1055, kParamEditX, 24, kParamLabelCx);
    AppendLabeledEdit(c, 1108, "Application ID (0~15)", 1056, kParamEditX, 50, kParamLabelCx);
    AppendLabeledEdit(c, 1109, "Firmware", 1058, kParamEditX, 76, kParamLabelCx, 40,
                      kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1226, "Voltage and Current DataRate (ms)", 1224, kParamEditX, 102,
                      kParamLabelCx);
    AppendLabeledEdit(c, 1227, "Speed and Consumption DataRate (ms)", 1225, kParamEditX, 128,
                      kParamLabelCx);
    AppendLabeledEdit(c, 1122, "Temperature DataRate (ms)", 1069, kParamEditX, 154, kParamLabelCx);
    return SensorPageTemplate(200, std::move(c), {.picture = "#223"});
}

}  // namespace

void RegisterEscTemplate() {
    // The registry keeps a pointer, so the template lives as long as the program.
    static const DialogTemplate esc = EscPage();
    platform::RegisterDialogTemplate(esc);
}

}  // namespace resources
