// The video transmitter page (201): the four setting combos, the frequency and the version on
// the left, two pictures beside them; Configure, Read and Write only, no hint line.

#include "resources/sensor_page_template.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::CtrlKind;
using platform::DialogTemplate;

// Drop-down combos with an edit field; the height includes the list.
constexpr DWORD kDropDownStyle = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN;

DialogTemplate VtxPage() {
    constexpr short kFieldX = 104;
    constexpr short kLabelCx = 60;
    std::vector<ControlTemplate> c = {
        {CtrlKind::GroupBox, IDC_STATIC, "Param", kGroupStyle, 11, 7, 177, 182},
        {CtrlKind::Picture, IDC_STATIC, "#269", kBitmapStyle, 214, 7, 170, 184},
    };
    // The labels need no ids: the page has no hints.
    struct Row {
        const char* label;
        int comboId;
    };
    const Row combos[] = {
        {"Channel", 1009}, {"Band", 1177}, {"Power level", 1178}, {"All Frq.", 1312}};
    short y = 28;
    for (const Row& r : combos) {
        c.push_back({CtrlKind::Static, IDC_STATIC, r.label, kRightLabelStyle,
                     short(kFieldX - 6 - kLabelCx), short(y + 3), kLabelCx, 8});
        c.push_back({CtrlKind::ComboBox, r.comboId, "", kDropDownStyle, kFieldX, y, 60, 100});
        y = short(y + 26);
    }
    AppendLabeledEdit(c, IDC_STATIC, "Frequency", 1313, kFieldX, y, kLabelCx, 60,
                      kReadOnlyEditStyle);
    AppendLabeledEdit(c, IDC_STATIC, "Version", 1314, kFieldX, short(y + 26), kLabelCx, 60,
                      kReadOnlyEditStyle);
    return SensorPageTemplate(201, std::move(c),
                              {.picture = "#270", .monitoring = false, .hint = false});
}

}  // namespace

void RegisterVtxTemplate() {
    // The registry keeps a pointer, so the template lives as long as the program.
    static const DialogTemplate vtx = VtxPage();
    platform::RegisterDialogTemplate(vtx);
}

}  // namespace resources
