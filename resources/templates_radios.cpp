// The radio pages: file management (214), the model-creation host (215) with the T70 wizard
// (368) and its template pages, the T90 page (369), and the flying wing's mixer list (405) and
// mixer form (406). The two reserve pages are marked frames among the empty pages.

#include <string>

#include "platform/dialog_template.h"
#include "platform/styles.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::CtrlKind;
using platform::DialogTemplate;

constexpr DWORD kChild = WS_CHILD | DS_CONTROL;
constexpr DWORD kModal = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kLabel = WS_VISIBLE;
constexpr DWORD kRightLabel = WS_VISIBLE | SS_RIGHT;
constexpr DWORD kGroup = WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD kList = WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL;
constexpr DWORD kEdit = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kCheck = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;

DialogTemplate Page(UINT id, short cx, short cy, std::vector<ControlTemplate> controls) {
    return DialogTemplate{id, "", cx, cy, kChild, "MS Shell Dlg", 8, std::move(controls)};
}

// A model template page of the T70 wizard: its name, and "Input Map" on all but the custom
// model; the flying wing adds its extra mixers.
enum class Buttons { kNone, kInputMap, kInputMapAndMixers };
DialogTemplate ModelTemplatePage(UINT id, const char* name, Buttons buttons) {
    std::vector<ControlTemplate> controls{
        {CtrlKind::Static, IDC_STATIC, name, kLabel, 10, 10, 120, 8}};
    if (buttons != Buttons::kNone)
        controls.push_back({CtrlKind::PushButton, 1292, "Input Map", kButton, 10, 28, 50, 14});
    if (buttons == Buttons::kInputMapAndMixers)
        controls.push_back({CtrlKind::PushButton, 1294, "EX MIXER", kButton, 66, 28, 50, 14});
    return Page(id, 345, 196, std::move(controls));
}

// The T70 wizard and the T90 page share the radio's picture on the left and the radio's name in
// the lower right corner.
DialogTemplate RadioPage(UINT id, const char* name, const char* picture,
                         std::vector<ControlTemplate> more) {
    std::vector<ControlTemplate> controls{
        {CtrlKind::Picture, IDC_STATIC, picture, WS_VISIBLE | SS_BITMAP, 7, 7, 200, 212},
        {CtrlKind::Static, IDC_STATIC, name, kLabel, 562, 349, 18, 8},
    };
    controls.insert(controls.end(), more.begin(), more.end());
    return Page(id, 592, 367, std::move(controls));
}

// The mixer list: ten rows "EX MIXER n :" with Edit (1294 + n) and Reset (1283 + n), three
// rows of three and the tenth below them.
DialogTemplate MixerList() {
    static const char* const kNames[10] = {
        "EX MIXER 1 :", "EX MIXER 2 :", "EX MIXER 3 :", "EX MIXER 4 :", "EX MIXER 5 :",
        "EX MIXER 6 :", "EX MIXER 7 :", "EX MIXER 8 :", "EX MIXER 9 :", "EX MIXER 10 :",
    };
    std::vector<ControlTemplate> controls;
    for (int n = 1; n <= 10; ++n) {
        const short x = static_cast<short>(10 + ((n - 1) % 3) * 128);
        const short y = static_cast<short>(12 + ((n - 1) / 3) * 22);
        controls.push_back({CtrlKind::Static, IDC_STATIC, kNames[n - 1], kLabel, x,
                            static_cast<short>(y + 3), 56, 8});
        controls.push_back({CtrlKind::PushButton, 1294 + n, "Edit", kButton,
                            static_cast<short>(x + 58), y, 30, 14});
        controls.push_back({CtrlKind::PushButton, 1283 + n, "Reset", kButton,
                            static_cast<short>(x + 91), y, 30, 14});
    }
    controls.push_back(
        {CtrlKind::PushButton, IDOK, "确定", kButton | BS_DEFPUSHBUTTON, 280, 104, 50, 14});
    controls.push_back({CtrlKind::PushButton, IDCANCEL, "取消", kButton, 336, 104, 50, 14});
    return DialogTemplate{405, "", 396, 126, kModal, "MS Shell Dlg", 9, std::move(controls)};
}

// One line of nine flight-mode check boxes.
void AddFlightModes(std::vector<ControlTemplate>& controls, short y, const int (&ids)[9]) {
    controls.push_back({CtrlKind::Static, IDC_STATIC, "F.Mode (1->9)", kLabel, 14,
                        static_cast<short>(y + 1), 58, 8});
    for (int k = 0; k < 9; ++k)
        controls.push_back(
            {CtrlKind::CheckBox, ids[k], "", kCheck, static_cast<short>(76 + k * 16), y, 12, 10});
}

// The mixer form. Nothing fills its lists or reads its fields.
DialogTemplate MixerForm() {
    std::vector<ControlTemplate> c;
    struct Pair {
        const char* label;
        CtrlKind kind;
        int id;
    };
    const Pair rows[2][5] = {
        {{"Enable :", CtrlKind::ComboBox, 1176},
         {"SW :", CtrlKind::ComboBox, 1179},
         {"F.Mode :", CtrlKind::ComboBox, 1296},
         {"DelayUp :", CtrlKind::Edit, 1298},
         {"SpeedUp :", CtrlKind::Edit, 1011}},
        {{"SRC :", CtrlKind::ComboBox, 1177},
         {"Mixer to :", CtrlKind::ComboBox, 1178},
         {"Method :", CtrlKind::ComboBox, 1180},
         {"DelayDn :", CtrlKind::Edit, 1010},
         {"SpeedDn :", CtrlKind::Edit, 1309}},
    };
    for (int r = 0; r < 2; ++r) {
        const short y = static_cast<short>(10 + r * 20);
        for (int i = 0; i < 5; ++i) {
            const Pair& p = rows[r][i];
            const short x = static_cast<short>(10 + i * 98);
            c.push_back({CtrlKind::Static, IDC_STATIC, p.label, kRightLabel, x,
                         static_cast<short>(y + 2), 42, 8});
            if (p.kind == CtrlKind::ComboBox)
                c.push_back(
                    {CtrlKind::ComboBox, p.id, "", kList, static_cast<short>(x + 44), y, 48, 100});
            else
                c.push_back(
                    {CtrlKind::Edit, p.id, "", kEdit, static_cast<short>(x + 44), y, 48, 12});
        }
    }

    // Three groups of the same shape: a group number, one setting, a switch and the flight
    // modes they apply in.
    const short weight = 50, offset = 104, curve = 158;
    for (auto [y, title] :
         {std::pair{weight, "Weight"}, std::pair{offset, "Offset"}, std::pair{curve, "Curve"}})
        c.push_back({CtrlKind::GroupBox, IDC_STATIC, title, kGroup, 7, y, 490, 50});
    auto line = [&](short top, int groupList, const char* setting, int switchList) {
        const short y = static_cast<short>(top + 13);
        c.push_back({CtrlKind::Static, IDC_STATIC, "Group number :", kLabel, 14,
                     static_cast<short>(y + 2), 58, 8});
        c.push_back({CtrlKind::ComboBox, groupList, "", kList, 76, y, 48, 100});
        c.push_back(
            {CtrlKind::Static, IDC_STATIC, setting, kLabel, 132, static_cast<short>(y + 2), 56, 8});
        c.push_back({CtrlKind::Static, IDC_STATIC, "SW :", kRightLabel, 272,
                     static_cast<short>(y + 2), 20, 8});
        c.push_back({CtrlKind::ComboBox, switchList, "", kList, 294, y, 48, 100});
        return y;
    };
    short y = line(weight, 1301, "Left-Right :", 1299);
    c.push_back({CtrlKind::Edit, 1310, "", kEdit, 190, y, 30, 12});
    c.push_back(
        {CtrlKind::Static, IDC_STATIC, "-", WS_VISIBLE | SS_CENTER, 222, short(y + 2), 8, 8});
    c.push_back({CtrlKind::Edit, 1014, "", kEdit, 232, y, 30, 12});
    AddFlightModes(c, static_cast<short>(y + 19),
                   {1205, 1206, 1207, 1208, 1209, 1210, 1211, 1212, 1213});

    y = line(offset, 1302, "Offset value :", 1303);
    c.push_back({CtrlKind::Edit, 1311, "", kEdit, 190, y, 48, 12});
    AddFlightModes(c, static_cast<short>(y + 19),
                   {1187, 1188, 1189, 1190, 1191, 1192, 1193, 1194, 1195});

    y = line(curve, 1305, "Curve select :", 1307);
    c.push_back({CtrlKind::ComboBox, 1306, "", kList, 190, y, 60, 100});
    AddFlightModes(c, static_cast<short>(y + 19),
                   {1173, 1174, 1175, 1181, 1182, 1183, 1184, 1185, 1186});

    c.push_back({CtrlKind::PushButton, IDOK, "确定", kButton | BS_DEFPUSHBUTTON, 391, 216, 50, 14});
    c.push_back({CtrlKind::PushButton, IDCANCEL, "取消", kButton, 447, 216, 50, 14});
    return DialogTemplate{406, "", 504, 238, kModal, "MS Shell Dlg", 9, std::move(c)};
}

const std::vector<DialogTemplate>& Templates() {
    static const std::vector<DialogTemplate> templates = [] {
        std::vector<DialogTemplate> t;
        // Below the host's tab strip, which the page covers.
        t.push_back(Page(214, 606, 384,
                         {{CtrlKind::PushButton, 1005, "Connect", kButton, 7, 24, 50, 14},
                          {CtrlKind::PushButton, 1006, "Back-up", kButton, 64, 24, 50, 14}}));
        // The host's tab strip and frame; the wizard and the T90 page sit below its tabs.
        t.push_back(Page(215, 606, 384,
                         {{CtrlKind::Tab, 1231, "", WS_VISIBLE | WS_TABSTOP, 0, 0, 599, 377}}));

        t.push_back(
            RadioPage(368, "T70", "#275",
                      {{CtrlKind::Static, IDC_STATIC, "Model selection ：", kLabel, 222, 10, 76, 8},
                       {CtrlKind::ComboBox, 1176, "", kList, 300, 8, 110, 150},
                       // A frame for the template pages; it never gets a tab.
                       {CtrlKind::Tab, 1287, "", WS_VISIBLE, 222, 28, 345, 196},
                       {CtrlKind::PushButton, 1293, "Create", kButton, 517, 232, 50, 14}}));
        t.push_back(RadioPage(369, "T90", "#276", {}));

        t.push_back(ModelTemplatePage(372, "Initialization", Buttons::kNone));
        t.push_back(ModelTemplatePage(373, "A_Normal1", Buttons::kInputMap));
        t.push_back(ModelTemplatePage(374, "A_FlyingWing1", Buttons::kInputMapAndMixers));
        t.push_back(ModelTemplatePage(375, "A_V_TAL1", Buttons::kInputMap));
        t.push_back(ModelTemplatePage(382, "H_11", Buttons::kInputMap));
        t.push_back(ModelTemplatePage(383, "H_31", Buttons::kInputMap));
        t.push_back(ModelTemplatePage(384, "H_41", Buttons::kInputMap));
        t.push_back(ModelTemplatePage(385, "H_4X1", Buttons::kInputMap));
        t.push_back(ModelTemplatePage(386, "HE31", Buttons::kInputMap));
        t.push_back(ModelTemplatePage(387, "HR31", Buttons::kInputMap));
        t.push_back(ModelTemplatePage(394, "Multicopter1", Buttons::kInputMap));
        t.push_back(ModelTemplatePage(395, "Glider_Normal1", Buttons::kInputMap));
        t.push_back(ModelTemplatePage(396, "Glider_V_Tal", Buttons::kInputMap));
        t.push_back(ModelTemplatePage(397, "Custom1", Buttons::kNone));

        t.push_back(MixerList());
        t.push_back(MixerForm());
        return t;
    }();
    return templates;
}

}  // namespace

void RegisterRadioTemplates() {
    for (const DialogTemplate& t : Templates()) platform::RegisterDialogTemplate(t);
}

}  // namespace resources
