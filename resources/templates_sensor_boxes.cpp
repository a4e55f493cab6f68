// The two mode confirmation boxes (151, 152) and the three placeholder sensor pages (202-204).

#include "platform/dialog_template.h"
#include "platform/styles.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::CtrlKind;
using platform::DialogTemplate;

constexpr DWORD kBox = WS_POPUP | WS_THICKFRAME;
constexpr DWORD kChild = WS_CHILD | DS_CONTROL;
constexpr DWORD kBitmap = WS_VISIBLE | SS_BITMAP;
constexpr DWORD kDefault = WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP;

const DialogTemplate kConfigureBox{
    151,
    "",
    274,
    78,
    kBox,
    "MS Shell Dlg",
    8,
    {
        {CtrlKind::Picture, IDC_STATIC, "#155", kBitmap, 25, 19, 44, 34},
        {CtrlKind::Static, IDC_STATIC, "Please make sure to disconnect from the receiver.",
         WS_VISIBLE, 91, 21, 161, 8},
        {CtrlKind::PushButton, IDOK, "Confirm", kDefault, 116, 39, 50, 14},
        {CtrlKind::PushButton, IDCANCEL, "Cancel", kButton, 181, 39, 50, 14},
    }};

const DialogTemplate kMonitoringBox{
    152,
    "",
    274,
    78,
    kBox,
    "MS Shell Dlg",
    8,
    {
        {CtrlKind::Picture, IDC_STATIC, "#155", kBitmap, 33, 20, 44, 34},
        {CtrlKind::Static, IDC_STATIC, "Please confirm that the receiver is connected.", WS_VISIBLE,
         103, 20, 148, 8},
        {CtrlKind::PushButton, IDOK, "Confirm", kDefault, 122, 38, 50, 14},
        {CtrlKind::PushButton, IDCANCEL, "Cancel", kButton, 181, 38, 50, 14},
    }};

DialogTemplate Placeholder(UINT id, short cx, short cy, const char* text, short x, short y) {
    return DialogTemplate{id,     "",
                          cx,     cy,
                          kChild, "MS Shell Dlg",
                          8,      {{CtrlKind::Static, IDC_STATIC, text, WS_VISIBLE, x, y, 58, 8}}};
}

}  // namespace

void RegisterSensorBoxTemplates() {
    // The registry keeps pointers, so the templates live as long as the program.
    static const DialogTemplate placeholders[] = {
        Placeholder(202, 532, 321, "Sensor_Reserve3", 354, 54),
        Placeholder(203, 309, 177, "Sensor_Reserve4", 117, 94),
        Placeholder(204, 309, 177, "Sensor_Reserve5", 135, 81),
    };
    platform::RegisterDialogTemplate(kConfigureBox);
    platform::RegisterDialogTemplate(kMonitoringBox);
    for (const DialogTemplate& t : placeholders) platform::RegisterDialogTemplate(t);
}

}  // namespace resources
