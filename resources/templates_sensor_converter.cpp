// The Q.Wire-to-UART converter page (138): the two ADC values on the left; the IDs, the baud
// rate, the firmware and the two radio groups of the converter's switches in the middle.

#include "resources/sensor_page_template.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::CtrlKind;
using platform::DialogTemplate;

// Automatic radio buttons with their text on the left; each group starts with WS_GROUP.
constexpr DWORD kRadio = WS_VISIBLE | BS_AUTORADIOBUTTON | BS_LEFTTEXT;
constexpr DWORD kFirstRadio = kRadio | WS_GROUP | WS_TABSTOP;

DialogTemplate ConverterPage() {
    std::vector<ControlTemplate> c = {
        {CtrlKind::GroupBox, IDC_STATIC, "Data", kGroupStyle, 11, 7, 177, 182},
        {CtrlKind::GroupBox, IDC_STATIC, "Param", kGroupStyle, 214, 7, 170, 184},
    };
    AppendLabeledEdit(c, 1165, "ADC1 (V)", 1096, 104, 30, 40, 40, kReadOnlyEditStyle);
    AppendLabeledEdit(c, 1166, "ADC2 (V)", 1097, 104, 62, 40, 40, kReadOnlyEditStyle);

    constexpr short kEditX = 301;
    constexpr short kLabelCx = 70;
    AppendLabeledEdit(c, 1107, "Physical ID (0~27)", 1055, kEditX, 24, kLabelCx);
    AppendLabeledEdit(c, 1108, "Application ID (0~15)", 1056, kEditX, 46, kLabelCx);
    AppendLabeledEdit(c, 1167, "Baud Rate", 1098, kEditX, 68, kLabelCx);
    AppendLabeledEdit(c, 1109, "Firmware", 1058, kEditX, 90, kLabelCx, 40, kReadOnlyEditStyle);
    // The buttons' circles line up with the right edge of the edits above.
    c.insert(
        c.end(),
        {
            {CtrlKind::RadioButton, 1050, "Enable self-correct ", kFirstRadio, 241, 116, 100, 12},
            {CtrlKind::RadioButton, 1051, "Disable self-correct ", kRadio, 241, 130, 100, 12},
            {CtrlKind::RadioButton, 1052, "TX enable ", kFirstRadio, 241, 154, 100, 12},
            {CtrlKind::RadioButton, 1053, "TX disable ", kRadio, 241, 168, 100, 12},
        });
    return SensorPageTemplate(138, std::move(c), {.picture = "#149"});
}

}  // namespace

void RegisterConverterTemplate() {
    // The registry keeps a pointer, so the template lives as long as the program.
    static const DialogTemplate converter = ConverterPage();
    platform::RegisterDialogTemplate(converter);
}

}  // namespace resources
