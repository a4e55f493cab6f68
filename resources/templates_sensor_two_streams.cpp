// The 40 A current page (132) and the variometer page (134): two values on the left, the IDs,
// the firmware and one data rate per stream in the middle; the stream 0x10 stands above the
// stream 0x00 in both boxes.

#include "resources/sensor_page_template.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::CtrlKind;
using platform::DialogTemplate;

struct Row {
    int label;
    const char* text;
    int edit;
};

struct TwoStreams {
    UINT id;
    const char* picture;
    Row values[2];  // top to bottom
    Row rates[2];
};

DialogTemplate TwoStreamPage(const TwoStreams& p) {
    std::vector<ControlTemplate> c = {
        {CtrlKind::GroupBox, IDC_STATIC, "Data", kGroupStyle, 11, 7, 177, 182},
        {CtrlKind::GroupBox, IDC_STATIC, "Param", kGroupStyle, 214, 7, 170, 184},
    };
    short y = 30;
    for (const Row& r : p.values) {
        AppendLabeledEdit(c, r.label, r.text, r.edit, 110, y, 80, 40, kReadOnlyEditStyle);
        y = short(y + 32);
    }
    // The rate labels are long: the parameter edits stand further right than on the one-stream
    // pages.
    constexpr short kEditX = 330;
    constexpr short kLabelCx = 100;
    AppendLabeledEdit(c, 1107, "Physical ID (0~27)", 1055, kEditX, 30, kLabelCx);
    AppendLabeledEdit(c, 1108, "Application ID (0~15)", 1056, kEditX, 62, kLabelCx);
    AppendLabeledEdit(c, 1109, "Firmware", 1058, kEditX, 94, kLabelCx, 40, kReadOnlyEditStyle);
    y = 126;
    for (const Row& r : p.rates) {
        AppendLabeledEdit(c, r.label, r.text, r.edit, kEditX, y, kLabelCx);
        y = short(y + 32);
    }
    return SensorPageTemplate(p.id, std::move(c), {.picture = p.picture});
}

}  // namespace

void RegisterTwoStreamSensorTemplates() {
    // The registry keeps pointers, so the templates live as long as the program.
    static const DialogTemplate current = TwoStreamPage({
        132,
        "#144",
        {{1113, "Voltage (V)", 1060}, {1112, "Current (A)", 1059}},
        {{1114, "Voltage Data Rate (ms)", 1061}, {1115, "Current Data Rate (ms)", 1062}},
    });
    static const DialogTemplate variometer = TwoStreamPage({
        134,
        "#150",
        {{1127, "Altitude (m)", 1074}, {1168, "Altitude Rate (m/s)", 1015}},
        {{1130, "Altitude DataRate (ms)", 1077}, {1169, "Altitude Rate DataRate (ms)", 1014}},
    });
    platform::RegisterDialogTemplate(current);
    platform::RegisterDialogTemplate(variometer);
}

}  // namespace resources
