// The ZA-3 servo's page (199): its IDs, firmware and output channel in "Param". The servo sends
// no values the page shows, so there is no "Data" box.

#include "resources/sensor_page_template.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::CtrlKind;
using platform::DialogTemplate;

DialogTemplate ServoPage() {
    std::vector<ControlTemplate> c = {
        {CtrlKind::GroupBox, IDC_STATIC, "Param", kGroupStyle, 11, 7, 177, 182},
    };
    constexpr short kEditX = 120;
    constexpr short kLabelCx = 72;
    // Only a Read fills the IDs; the user does not type them on this page.
    AppendLabeledEdit(c, 1107, "Physical ID (0~27)", 1055, kEditX, 30, kLabelCx, 40,
                      kEditStyle | WS_DISABLED);
    AppendLabeledEdit(c, 1108, "Application ID (0~15)", 1056, kEditX, 62, kLabelCx, 40,
                      kEditStyle | WS_DISABLED);
    AppendLabeledEdit(c, 1109, "Firmware", 1058, kEditX, 97, kLabelCx, 40, kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1196, "Channel (1~16)", 1009, kEditX, 134, kLabelCx);
    return SensorPageTemplate(199, std::move(c), {.picture = "#279"});
}

}  // namespace

void RegisterServoTemplate() {
    // The registry keeps a pointer, so the template lives as long as the program.
    static const DialogTemplate servo = ServoPage();
    platform::RegisterDialogTemplate(servo);
}

}  // namespace resources
