// The RPM and temperature page (133): speed and two temperatures on the left; the IDs, the
// firmware, a data rate per stream and the number of magnetic poles in the middle.

#include "resources/sensor_page_template.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::CtrlKind;
using platform::DialogTemplate;

DialogTemplate RpmPage() {
    std::vector<ControlTemplate> c = {
        {CtrlKind::GroupBox, IDC_STATIC, "Data", kGroupStyle, 11, 7, 177, 182},
        {CtrlKind::GroupBox, IDC_STATIC, "Param", kGroupStyle, 214, 7, 170, 184},
    };
    struct Row {
        int label;
        const char* text;
        int edit;
        DWORD style = kEditStyle;
    };
    const Row values[] = {
        {1116, "Speed (rpm)", 1093},
        {1117, "Temperature1 (°C)", 1017},
        {1118, "Temperature2 (°C)", 1018},
    };
    short y = 30;
    for (const Row& r : values) {
        AppendLabeledEdit(c, r.label, r.text, r.edit, 110, y, 80, 40, kReadOnlyEditStyle);
        y = short(y + 32);
    }
    const Row params[] = {
        {1107, "Physical ID (0~27)", 1055},
        {1108, "Application ID (0~15)", 1056},
        {1109, "Firmware", 1058, kReadOnlyEditStyle},
        {1121, "Speed Data Rate (ms)", 1068},
        {1162, "Temperature1 Data Rate (ms)", 1094},
        {1163, "Temperature2 Data Rate (ms)", 1095},
        {1164, "Number of magnetic poles", 1016},
    };
    y = 24;
    for (const Row& r : params) {
        AppendLabeledEdit(c, r.label, r.text, r.edit, 330, y, 100, 40, r.style);
        y = short(y + 23);
    }
    return SensorPageTemplate(133, std::move(c), {.picture = "#148"});
}

}  // namespace

void RegisterRpmSensorTemplate() {
    // The registry keeps pointers, so the template lives as long as the program.
    static const DialogTemplate rpm = RpmPage();
    platform::RegisterDialogTemplate(rpm);
}

}  // namespace resources
