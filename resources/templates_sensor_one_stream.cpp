// The air-speed page (129) and the 150 A current page (131): one value, one data rate, the
// same layout.

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
constexpr DWORD kEdit = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kReadOnlyEdit = kEdit | ES_READONLY;
constexpr DWORD kLabel = WS_VISIBLE;
constexpr DWORD kGroup = WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD kBitmap = WS_VISIBLE | SS_BITMAP;

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
    return DialogTemplate{
        d.id,
        "",
        606,
        384,
        kChild,
        "MS Shell Dlg",
        8,
        {
            {CtrlKind::Picture, IDC_STATIC, d.picture, kBitmap, 399, 7, 200, 185},
            {CtrlKind::GroupBox, IDC_STATIC, "Data", kGroup, 11, 7, 177, 182},
            {CtrlKind::GroupBox, IDC_STATIC, "Param", kGroup, 214, 7, 170, 184},
            {CtrlKind::GroupBox, IDC_STATIC, "information", kGroup, 337, 217, 262, 160},
            {CtrlKind::PushButton, 1099, "Monitoring", kButton, 19, 276, 50, 14},
            {CtrlKind::PushButton, 1100, "Configure", kButton, 82, 276, 50, 14},
            {CtrlKind::PushButton, 1101, "Read", kButton, 145, 276, 50, 14},
            {CtrlKind::PushButton, 1102, "Write", kButton, 208, 276, 50, 14},
            {CtrlKind::PushButton, 1103, "Default Settings", kButton, 271, 276, 58, 14},
            d.valueEdit,
            d.valueLabel,
            {CtrlKind::Edit, 1055, "", kEdit, 301, 30, 40, 14},
            {CtrlKind::Static, 1107, "Physical ID (0~27)", kLabel, short(235 + s), 33, 60, 8},
            {CtrlKind::Edit, 1056, "", kEdit, 301, 62, 40, 14},
            {CtrlKind::Static, 1108, "Application ID (0~15)", kLabel, short(225 + s), 65, 70, 8},
            {CtrlKind::Edit, 1057, "", kEdit, 301, 97, 40, 14},
            {CtrlKind::Static, 1111, "Data Rate (ms)", kLabel, short(245 + s), 100, 50, 8},
            {CtrlKind::Edit, 1058, "", kReadOnlyEdit, 301, 134, 40, 14},
            {CtrlKind::Static, 1109, "Firmware", kLabel, short(265 + s), 137, 30, 8},
            {CtrlKind::Static, 1105, "", kLabel, 344, 231, 246, 136},
            {CtrlKind::Progress, 1104, "", WS_VISIBLE | WS_BORDER, 7, 371, 80, 6},
            {CtrlKind::Static, 1229, "Connection State:", kLabel, 11, 196, 59, 8},
            {CtrlKind::Picture, 1228, "#229", kBitmap, 72, 195, 35, 10},
        }};
}

}  // namespace

void RegisterOneStreamSensorTemplates() {
    // The registry keeps pointers, so the templates live as long as the program.
    static const DialogTemplate airSpeed =
        OneStreamPage({129,
                       "#142",
                       {CtrlKind::Edit, 1054, "", kReadOnlyEdit, 104, 30, 40, 14},
                       {CtrlKind::Static, 1110, "AirSpeed (Km/H)", kLabel, 44, 33, 56, 8},
                       0});
    static const DialogTemplate current =
        OneStreamPage({131,
                       "#143",
                       {CtrlKind::Edit, 1059, "", kReadOnlyEdit, 99, 30, 40, 14},
                       {CtrlKind::Static, 1112, "Current (A)", kLabel, 55, 33, 38, 8},
                       3});
    platform::RegisterDialogTemplate(airSpeed);
    platform::RegisterDialogTemplate(current);
}

}  // namespace resources
