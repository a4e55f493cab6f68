// The KXV page (166) and its six sub-pages: Wing Type (168), Mounting Type (169), Gain Setting
// (170), Offset Angle Setting (171), Accelerometer Calibration (172) and Information (196).

#include "platform/dialog_template.h"
#include "platform/styles.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::CtrlKind;
using platform::DialogTemplate;

constexpr DWORD kChild = WS_CHILD | DS_CONTROL;
constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kCheck = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kFirstRadio = WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON;
constexpr DWORD kRadio = WS_VISIBLE | BS_AUTORADIOBUTTON;
constexpr DWORD kEdit = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kLabel = WS_VISIBLE;
constexpr DWORD kGroup = WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD kList = WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL;
constexpr DWORD kPicture = WS_VISIBLE | WS_GROUP | SS_BITMAP | SS_CENTERIMAGE;
constexpr DWORD kCell = WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN;

constexpr short kSubPageWidth = 597;
constexpr short kSubPageHeight = 341;

DialogTemplate Dialog(UINT id, short cx, short cy, std::vector<ControlTemplate> controls) {
    return DialogTemplate{id, "", cx, cy, kChild, "MS Shell Dlg", 8, std::move(controls)};
}

DialogTemplate SubPage(UINT id, std::vector<ControlTemplate> controls) {
    return Dialog(id, kSubPageWidth, kSubPageHeight, std::move(controls));
}

void Add(std::vector<ControlTemplate>& to, std::vector<ControlTemplate> more) {
    to.insert(to.end(), more.begin(), more.end());
}

// A table of text cells, row after row, each cell `widths[c]` wide and `rowHeight` high.
void AddTable(std::vector<ControlTemplate>& to, short x, short y, std::vector<short> widths,
              std::vector<std::vector<const char*>> rows) {
    constexpr short kRowHeight = 12;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        short cx = x;
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            to.push_back({CtrlKind::Static, IDC_STATIC, rows[r][c], kCell, cx,
                          static_cast<short>(y + r * kRowHeight), widths[c], kRowHeight});
            cx = static_cast<short>(cx + widths[c]);
        }
    }
}

// Which switch positions give which flight mode when Quick Mode is on; shown on Wing Type and
// on Information.
void AddQuickModeTable(std::vector<ControlTemplate>& to, short x, short y) {
    AddTable(to, x, y, {70, 70, 170},
             {
                 {"Channel 10", "Channel 12", "Flight Mode"},
                 {"<1500us", "<1500us", "none "},
                 {"=1500us", "<1500us", "stabilization Mode "},
                 {">1500us", "<1500us", "automatic level Mode"},
                 {"any", ">1500us", "urgent Mode (automatic level Mode )"},
             });
}

const char* const kAuxText =
    "AUX1/2(enable)：6 axis feedback outputs will be added to corresponding channel of AUX 1/2 "
    "outputs ";

DialogTemplate KxvPage() {
    return Dialog(166, 606, 384,
                  {
                      {CtrlKind::Tab, 1172, "", WS_VISIBLE | WS_TABSTOP, 7, 7, 592, 352},
                      {CtrlKind::Progress, 1104, "", WS_VISIBLE | WS_BORDER, 7, 370, 80, 6},
                      {CtrlKind::CheckBox, 1173, "KXV Enable", kCheck, 100, 367, 60, 10},
                      {CtrlKind::PushButton, 1101, "Read", kButton, 292, 365, 50, 14},
                      {CtrlKind::PushButton, 1102, "Write", kButton, 348, 365, 50, 14},
                      {CtrlKind::PushButton, 1170, "Load", kButton, 404, 365, 50, 14},
                      {CtrlKind::PushButton, 1008, "Save", kButton, 460, 365, 50, 14},
                      {CtrlKind::PushButton, 1009, "Default", kButton, 516, 365, 50, 14},
                  });
}

DialogTemplate WingType() {
    std::vector<ControlTemplate> c = {
        {CtrlKind::GroupBox, IDC_STATIC, "", kGroup, 10, 6, 215, 68},
        {CtrlKind::GroupBox, IDC_STATIC, "", kGroup, 10, 82, 215, 68},
        {CtrlKind::RadioButton, 1050, "Wing_Rud_Ele_Ail", kFirstRadio, 20, 18, 195, 12},
        {CtrlKind::RadioButton, 1051, "Wing_Delta_Ail  /  Wing_Flying", kRadio, 20, 36, 195, 12},
        {CtrlKind::RadioButton, 1052, "Wing_Vtail_Ail", kRadio, 20, 54, 195, 12},
        {CtrlKind::CheckBox, 1173, "AUX1 ", kCheck | WS_GROUP, 20, 94, 120, 12},
        {CtrlKind::CheckBox, 1174, "AUX2", kCheck, 20, 112, 120, 12},
        {CtrlKind::CheckBox, 1175, "Quick Mode", kCheck, 20, 130, 120, 12},
        {CtrlKind::Picture, 1181, "#189", kPicture, 244, 6, 333, 154},
        {CtrlKind::Static, IDC_STATIC, kAuxText, kLabel, 10, 172, 577, 10},
        {CtrlKind::Static, IDC_STATIC, "Quick Mode details :", kLabel, 10, 190, 200, 10},
    };
    AddQuickModeTable(c, 20, 204);
    return SubPage(168, std::move(c));
}

DialogTemplate MountingType() {
    return SubPage(169, {
                            {CtrlKind::GroupBox, IDC_STATIC, "", kGroup, 10, 6, 215, 86},
                            {CtrlKind::RadioButton, 1050, "Level", kFirstRadio, 20, 18, 120, 12},
                            {CtrlKind::RadioButton, 1051, "Bottom", kRadio, 20, 36, 120, 12},
                            {CtrlKind::RadioButton, 1052, "Right up", kRadio, 20, 54, 120, 12},
                            {CtrlKind::RadioButton, 1053, "Left up", kRadio, 20, 72, 120, 12},
                            {CtrlKind::Picture, 1182, "#187", kPicture, 244, 6, 333, 154},
                        });
}

// One row of a gain or angle group: its label, its edit (disabled with its label when it is
// bound to nothing) and, for gains, the percent sign.
void AddValueRow(std::vector<ControlTemplate>& to, short x, short y, const char* label,
                 short labelWidth, int edit, bool bound, bool percent) {
    const DWORD on = bound ? 0 : WS_DISABLED;
    to.push_back({CtrlKind::Static, IDC_STATIC, label, kLabel | on, static_cast<short>(x + 10),
                  static_cast<short>(y + 3), labelWidth, 8});
    const short editX = static_cast<short>(x + 14 + labelWidth);
    to.push_back({CtrlKind::Edit, edit, "", kEdit | on, editX, y, 50, 14});
    if (percent)
        to.push_back({CtrlKind::Static, IDC_STATIC, "%", kLabel | on,
                      static_cast<short>(editX + 54), static_cast<short>(y + 3), 10, 8});
}

struct Group {
    const char* title;
    short x, y;
    int edits[3];  // aileron, elevator, rudder
    bool bound[3];
};

DialogTemplate GainSetting() {
    std::vector<ControlTemplate> c = {
        {CtrlKind::GroupBox, IDC_STATIC, "Compensation Direction", kGroup, 10, 6, 577, 40},
    };
    struct Direction {
        const char* label;
        int list;
    };
    const Direction directions[] = {
        {"AIL1：", 1176}, {"AIL2：", 1177}, {"ELE1：", 1178}, {"ELE2：", 1179}, {"RUD：", 1180}};
    short x = 20;
    for (const Direction& d : directions) {
        c.push_back({CtrlKind::Static, IDC_STATIC, d.label, kLabel, x, 24, 30, 8});
        c.push_back(
            {CtrlKind::ComboBox, d.list, "", kList, static_cast<short>(x + 32), 22, 64, 60});
        x = static_cast<short>(x + 112);
    }
    const Group groups[] = {
        {"Gyro Gain: Stabilize Mode", 10, 54, {1183, 1184, 1185}, {true, true, true}},
        {"Angle Gain: Auto Level Mode", 303, 54, {1186, 1187, 1019}, {true, true, false}},
        {"Angle Gain: Hover Mode", 10, 144, {1020, 1188, 1189}, {false, true, true}},
        {"Angle Gain: Knife Edge Mode", 303, 144, {1017, 1021, 1018}, {true, false, true}},
    };
    const char* const labels[] = {"Aileron(0~200)：", "Elevator(0~200)：", "Rudder(0~200)："};
    for (const Group& g : groups) {
        c.push_back({CtrlKind::GroupBox, IDC_STATIC, g.title, kGroup, g.x, g.y, 284, 82});
        for (int row = 0; row < 3; ++row)
            AddValueRow(c, g.x, static_cast<short>(g.y + 16 + 20 * row), labels[row], 76,
                        g.edits[row], g.bound[row], true);
    }
    return SubPage(170, std::move(c));
}

DialogTemplate OffsetAngleSetting() {
    std::vector<ControlTemplate> c;
    const Group groups[] = {
        {"Offset Angle of Auto Level", 10, 6, {1010, 1011, 1012}, {true, true, false}},
        {"Offset Angle of Hover ", 205, 6, {1013, 1014, 1194}, {false, true, true}},
        {"Offset Angle of Knife Edge", 400, 6, {1195, 1015, 1016}, {true, false, true}},
    };
    const char* const labels[] = {"Aileron(-20°~20°)：", "Elevator(-20°~20°)：",
                                  "Rudder(-20°~20°)："};
    for (const Group& g : groups) {
        c.push_back({CtrlKind::GroupBox, IDC_STATIC, g.title, kGroup, g.x, g.y, 187, 82});
        for (int row = 0; row < 3; ++row)
            AddValueRow(c, g.x, static_cast<short>(g.y + 16 + 20 * row), labels[row], 84,
                        g.edits[row], g.bound[row], false);
    }
    return SubPage(171, std::move(c));
}

DialogTemplate AccelerometerCalibration() {
    return SubPage(172,
                   {
                       {CtrlKind::Static, IDC_STATIC,
                        "Please place K4V according to the following pictures and in static, then "
                        "click calibration button .",
                        kLabel, 20, 10, 557, 10},
                       {CtrlKind::Picture, 1190, "#183", kPicture, 132, 26, 333, 154},
                       {CtrlKind::PushButton, 1005, "Previous", kButton, 170, 190, 60, 14},
                       {CtrlKind::PushButton, 1006, "Calibration", kButton, 268, 190, 60, 14},
                       {CtrlKind::PushButton, 1007, "Next", kButton, 366, 190, 60, 14},
                   });
}

// The flight modes by the positions of channels 10 and 11 (M the neutral 1500 us, H the 50 us
// a switch must move).
void AddFlightModeTable(std::vector<ControlTemplate>& to, short x, short y, bool withRudder) {
    AddTable(to, x, y, {110, 60, 60},
             {
                 {"Flight Mode", "Channel 10", "Channel 11"},
                 {"Stabilization", "M", "M"},
                 {"Automatic level", ">M+H", "M"},
                 {"Hover", "M", ">M+H"},
                 {"Knife-Edge", withRudder ? "M" : "-", withRudder ? "<M-H" : "-"},
                 {"Off", "<M-H", "M"},
             });
}

DialogTemplate Information() {
    std::vector<ControlTemplate> c = {
        {CtrlKind::Static, IDC_STATIC, "K4V/K5V/K7L :", kLabel, 10, 6, 200, 9},
        {CtrlKind::Static, IDC_STATIC, "1.  normal flight Mode setting :", kLabel, 10, 18, 300, 9},
        {CtrlKind::Static, IDC_STATIC, "Airplane_Normal :", kLabel, 20, 30, 250, 9},
        {CtrlKind::Static, IDC_STATIC, "Airplane _Flying Wing / Airplane _V-tail:", kLabel, 310, 30,
         250, 9},
    };
    AddFlightModeTable(c, 20, 42, true);
    AddFlightModeTable(c, 310, 42, false);
    Add(c, {
               {CtrlKind::Static, IDC_STATIC,
                "M=1500us represents a neutral signal, H=50us represents the required signal "
                "change to activate the  mode. > and < represents the required signal "
                "direction. When using TX factory settings the switch position shown above "
                "represents the mode selection.",
                kLabel, 10, 120, 577, 20},
               {CtrlKind::Static, IDC_STATIC, "2. quick Mode details :", kLabel, 10, 144, 300, 9},
           });
    AddQuickModeTable(c, 20, 156);
    Add(c, {
               {CtrlKind::Static, IDC_STATIC,
                "friendly reminder :when the quick Mode function enabled ,the configuration of "
                "quick Mode will be setting automatically ,and the urgent Mode is just effective "
                "under quick Mode .",
                kLabel, 10, 222, 577, 20},
               {CtrlKind::Static, IDC_STATIC, "3.explanation of other functions:", kLabel, 10, 246,
                300, 9},
               {CtrlKind::Static, IDC_STATIC, "KXV enable: 6 axis outputs will be active", kLabel,
                20, 258, 560, 9},
               {CtrlKind::Static, IDC_STATIC, kAuxText, kLabel, 20, 270, 567, 9},
           });
    return SubPage(196, std::move(c));
}

}  // namespace

void RegisterKxvTemplates() {
    // The registry keeps pointers, so the templates live as long as the program.
    static const DialogTemplate templates[] = {
        KxvPage(),     WingType(),           MountingType(),
        GainSetting(), OffsetAngleSetting(), AccelerometerCalibration(),
        Information(),
    };
    for (const DialogTemplate& t : templates) platform::RegisterDialogTemplate(t);
}

}  // namespace resources
