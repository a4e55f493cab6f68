#pragma once
// Dialog templates: each dialog id maps to a table of controls with positions in dialog units.
// Resources register their templates at start-up; the dialog classes look them up by id.

#include <vector>

#include "platform/win_types.h"

namespace platform {

enum class CtrlKind {
    Window,
    Dialog,
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Edit,
    Static,
    Picture,
    ComboBox,
    Tree,
    Tab,
    Progress,
};

struct ControlTemplate {
    CtrlKind kind;
    int id;
    const char* text;
    DWORD style;  // WS_* and the control's own style bits
    short x, y, cx, cy;
};

struct DialogTemplate {
    UINT id;
    const char* caption;
    short cx, cy;
    DWORD style;
    const char* font;
    int pointSize;
    std::vector<ControlTemplate> controls;
};

void RegisterDialogTemplate(const DialogTemplate& dialog);
const DialogTemplate* FindDialogTemplate(UINT id);
// Every registered template, by id.
std::vector<const DialogTemplate*> AllDialogTemplates();

// Dialog base units of a template's font: average width of A-Z a-z and the font height.
struct BaseUnits {
    int x;
    int y;
};
BaseUnits DialogBaseUnits(const char* font, int pointSize);

// One dialog-unit rectangle in pixels, rounded as the platform rounds.
struct PixelRect {
    int x, y, cx, cy;
};
PixelRect DluToPixels(BaseUnits units, int x, int y, int cx, int cy);

}  // namespace platform
