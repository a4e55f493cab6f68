// The main window, the about box and the box shown while an update downloads.

#include "platform/dialog_template.h"
#include "platform/styles.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::CtrlKind;
using platform::DialogTemplate;

const DialogTemplate kMainWindow{
    102,
    "Kestrova",
    651,
    382,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE,
    "MS Shell Dlg",
    9,
    {
        {CtrlKind::GroupBox, IDC_STATIC, "", WS_VISIBLE | BS_GROUPBOX, 7, 5, 116, 25},
        {CtrlKind::ComboBox, 1003, "",
         WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN | CBS_SORT | WS_VSCROLL, 13, 13, 48, 109},
        {CtrlKind::PushButton, 1002, "Open", WS_VISIBLE | WS_TABSTOP, 67, 12, 50, 14},
        {CtrlKind::Tree, 1000, "",
         WS_VISIBLE | WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
             TVS_SHOWSELALWAYS | TVS_INFOTIP,
         7, 36, 118, 339},
        {CtrlKind::Tab, 1001, "", WS_VISIBLE | WS_TABSTOP | TCS_MULTILINE, 127, 7, 517, 368},
    }};

const DialogTemplate kAboutBox{
    100,
    "关于 Kestrova",
    170,
    62,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
    "MS Shell Dlg",
    9,
    {
        {CtrlKind::Picture, IDC_STATIC, "#128", WS_VISIBLE | SS_ICON, 14, 14, 20, 20},
        {CtrlKind::PushButton, IDOK, "Confirm",
         WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP, 113, 41, 50, 14},
    }};

// No caption: a sizing border round an endlessly running bar, centred on the main window.
const DialogTemplate kUpdateBox{
    211,
    "",
    310,
    78,
    WS_POPUP | WS_THICKFRAME | WS_SYSMENU | DS_CENTER,
    "MS Shell Dlg",
    8,
    {
        {CtrlKind::Progress, 1104, "", WS_VISIBLE | WS_BORDER, 18, 31, 270, 15},
    }};

}  // namespace

void RegisterMainTemplates() {
    platform::RegisterDialogTemplate(kMainWindow);
    platform::RegisterDialogTemplate(kAboutBox);
    platform::RegisterDialogTemplate(kUpdateBox);
}

}  // namespace resources
