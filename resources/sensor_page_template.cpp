#include "resources/sensor_page_template.h"

namespace resources {

using platform::ControlTemplate;
using platform::CtrlKind;

platform::DialogTemplate SensorPageTemplate(UINT id, std::vector<ControlTemplate> own,
                                            const SensorFrame& f) {
    std::vector<ControlTemplate> c;
    if (f.picture)
        c.push_back({CtrlKind::Picture, IDC_STATIC, f.picture, kBitmapStyle, f.pictureX,
                     f.pictureY, f.pictureCx, f.pictureCy});
    if (f.hint) {
        c.push_back({CtrlKind::GroupBox, IDC_STATIC, "information", kGroupStyle, f.infoX, f.infoY,
                     f.infoCx, f.infoCy});
        c.push_back({CtrlKind::Static, 1105, "", kLabelStyle, short(f.infoX + 7),
                     short(f.infoY + 14), short(f.infoCx - 16), short(f.infoCy - 24)});
    }
    struct Button {
        int id;
        const char* text;
        short cx;
    };
    const Button buttons[] = {{1099, "Monitoring", 50},
                              {1100, "Configure", 50},
                              {1101, "Read", 50},
                              {1102, "Write", 50},
                              {1103, "Default Settings", 58}};
    short x = f.buttonsX;
    for (const Button& b : buttons) {
        if (b.id == 1099 && !f.monitoring) continue;
        c.push_back({CtrlKind::PushButton, b.id, b.text, kButtonStyle, x, f.buttonsY, b.cx, 14});
        x = short(x + 63);
    }
    c.push_back({CtrlKind::Progress, 1104, "", WS_VISIBLE | WS_BORDER, 7, 371, 80, 6});
    c.push_back({CtrlKind::Static, 1229, "Connection State:", kLabelStyle, f.connectionX,
                 f.connectionY, 59, 8});
    c.push_back({CtrlKind::Picture, 1228, "#229", kBitmapStyle, short(f.connectionX + 61),
                 short(f.connectionY - 1), 35, 10});
    c.insert(c.end(), own.begin(), own.end());
    return platform::DialogTemplate{id, "", 606, 384, kChildPage, "MS Shell Dlg", 8, std::move(c)};
}

void AppendLabeledEdit(std::vector<ControlTemplate>& controls, int labelId, const char* label,
                       int editId, short editX, short y, short labelCx, short editCx,
                       DWORD editStyle) {
    controls.push_back({CtrlKind::Static, labelId, label, kRightLabelStyle,
                        short(editX - 6 - labelCx), short(y + 3), labelCx, 8});
    controls.push_back({CtrlKind::Edit, editId, "", editStyle, editX, y, editCx, 14});
}

}  // namespace resources
