// The LiPo page (130): the pack's cell count, its voltage and six cells on the left, the one
// stream's parameters in the middle.

#include "resources/sensor_page_template.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::CtrlKind;
using platform::DialogTemplate;

DialogTemplate LipoPage() {
    std::vector<ControlTemplate> c = {
        {CtrlKind::GroupBox, IDC_STATIC, "Data", kGroupStyle, 11, 7, 177, 182},
        {CtrlKind::GroupBox, IDC_STATIC, "Param", kGroupStyle, 214, 7, 170, 184},
    };
    struct Row {
        int label;
        const char* text;
        int edit;
    };
    const Row values[] = {
        {1132, "Total Cell (S)", 1079}, {1113, "Voltage (V)", 1060}, {1133, "Cell 1 (V)", 1080},
        {1134, "Cell 2 (V)", 1081},     {1135, "Cell 3 (V)", 1082},  {1136, "Cell 4 (V)", 1083},
        {1137, "Cell 5 (V)", 1084},     {1138, "Cell 6 (V)", 1085},
    };
    short y = 24;
    for (const Row& r : values) {
        AppendLabeledEdit(c, r.label, r.text, r.edit, 104, y, 70, 40, kReadOnlyEditStyle);
        y = short(y + 20);
    }
    AppendLabeledEdit(c, 1107, "Physical ID (0~27)", 1055, 301, 30, 70);
    AppendLabeledEdit(c, 1108, "Application ID (0~15)", 1056, 301, 62, 70);
    AppendLabeledEdit(c, 1111, "Data Rate (ms)", 1057, 301, 97, 70);
    AppendLabeledEdit(c, 1109, "Firmware", 1058, 301, 134, 70, 40, kReadOnlyEditStyle);
    return SensorPageTemplate(130, std::move(c), {.picture = "#146"});
}

}  // namespace

void RegisterLipoSensorTemplate() {
    // The registry keeps pointers, so the template lives as long as the program.
    static const DialogTemplate lipo = LipoPage();
    platform::RegisterDialogTemplate(lipo);
}

}  // namespace resources
