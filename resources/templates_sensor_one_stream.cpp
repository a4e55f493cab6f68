// The air-speed page (129) and the 150 A current page (131): one value, one data rate, the
// same layout.

#include "resources/sensor_page_template.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::CtrlKind;
using platform::DialogTemplate;

// What differs between the two pages: the picture, the value edit with its label, and the
// parameter labels, which stand 3 units further right on the current page.
struct Differences {
    UINT id;
    const char* picture;
    ControlTemplate valueEdit;
    ControlTemplate valueLabel;
    short labelShift;
};

DialogTemplate OneStreamPage(const Differences& d) {
    const short s = d.labelShift;
    return SensorPageTemplate(
        d.id,
        {
            {CtrlKind::GroupBox, IDC_STATIC, "Data", kGroupStyle, 11, 7, 177, 182},
            {CtrlKind::GroupBox, IDC_STATIC, "Param", kGroupStyle, 214, 7, 170, 184},
            d.valueEdit,
            d.valueLabel,
            {CtrlKind::Edit, 1055, "", kEditStyle, 301, 30, 40, 14},
            {CtrlKind::Static, 1107, "Physical ID (0~27)", kLabelStyle, short(235 + s), 33, 60, 8},
            {CtrlKind::Edit, 1056, "", kEditStyle, 301, 62, 40, 14},
            {CtrlKind::Static, 1108, "Application ID (0~15)", kLabelStyle, short(225 + s), 65, 70,
             8},
            {CtrlKind::Edit, 1057, "", kEditStyle, 301, 97, 40, 14},
            {CtrlKind::Static, 1111, "Data Rate (ms)", kLabelStyle, short(245 + s), 100, 50, 8},
            {CtrlKind::Edit, 1058, "", kReadOnlyEditStyle, 301, 134, 40, 14},
            {CtrlKind::Static, 1109, "Firmware", kLabelStyle, short(265 + s), 137, 30, 8},
        },
        {.picture = d.picture});
}

}  // namespace

void RegisterOneStreamSensorTemplates() {
    // The registry keeps pointers, so the templates live as long as the program.
    static const DialogTemplate airSpeed =
        OneStreamPage({129,
                       "#142",
                       {CtrlKind::Edit, 1054, "", kReadOnlyEditStyle, 104, 30, 40, 14},
                       {CtrlKind::Static, 1110, "AirSpeed (Km/H)", kLabelStyle, 44, 33, 56, 8},
                       0});
    static const DialogTemplate current =
        OneStreamPage({131,
                       "#143",
                       {CtrlKind::Edit, 1059, "", kReadOnlyEditStyle, 99, 30, 40, 14},
                       {CtrlKind::Static, 1112, "Current (A)", kLabelStyle, 55, 33, 38, 8},
                       3});
    platform::RegisterDialogTemplate(airSpeed);
    platform::RegisterDialogTemplate(current);
}

}  // namespace resources
