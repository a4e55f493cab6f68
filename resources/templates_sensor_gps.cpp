// The GPS page (137): position, altitude, speed and UTC date and time on the left, the IDs and
// the four data rates in the middle.

#include "resources/sensor_page_template.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::CtrlKind;
using platform::DialogTemplate;

DialogTemplate GpsPage() {
    std::vector<ControlTemplate> c = {
        {CtrlKind::GroupBox, IDC_STATIC, "Data", kGroupStyle, 11, 7, 177, 182},
        {CtrlKind::GroupBox, IDC_STATIC, "Param", kGroupStyle, 199, 7, 189, 184},
    };
    // The position and time texts need room; altitude and speed are plain numbers.
    constexpr short kDataEditX = 84;
    AppendLabeledEdit(c, 1125, "Latitude", 1072, kDataEditX, 26, 60, 88, kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1126, "Longitude", 1073, kDataEditX, 58, 60, 88, kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1127, "Altitude (cm)", 1074, kDataEditX, 90, 60, 40, kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1116, "Speed (Knots)", 1063, kDataEditX, 122, 60, 40, kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1128, "Time", 1075, kDataEditX, 154, 60, 88, kReadOnlyEditStyle);

    constexpr short kParamEditX = 340;
    constexpr short kParamLabelCx = 132;
    AppendLabeledEdit(c, 1107, "Physical ID (0~27)", 1055, kParamEditX, 22, kParamLabelCx);
    AppendLabeledEdit(c, 1108, "Application ID (0~15)", 1056, kParamEditX, 46, kParamLabelCx);
    AppendLabeledEdit(c, 1109, "Firmware", 1058, kParamEditX, 70, kParamLabelCx, 40,
                      kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1129, "Latitude and Longitude DataRate (ms)", 1076, kParamEditX, 94,
                      kParamLabelCx);
    AppendLabeledEdit(c, 1130, "Altitude DataRate (ms)", 1077, kParamEditX, 118, kParamLabelCx);
    AppendLabeledEdit(c, 1121, "Speed DataRate (ms)", 1068, kParamEditX, 142, kParamLabelCx);
    AppendLabeledEdit(c, 1131, "Time DataRate (ms)", 1078, kParamEditX, 166, kParamLabelCx);
    return SensorPageTemplate(137, std::move(c), {.picture = "#145"});
}

}  // namespace

void RegisterGpsSensorTemplate() {
    // The registry keeps a pointer, so the template lives as long as the program.
    static const DialogTemplate gps = GpsPage();
    platform::RegisterDialogTemplate(gps);
}

}  // namespace resources
