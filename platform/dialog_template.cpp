#include "platform/dialog_template.h"

#include <QFontMetricsF>
#include <cmath>
#include <map>

#include "platform/fonts.h"

namespace platform {
namespace {

std::map<UINT, const DialogTemplate*>& Registry() {
    static std::map<UINT, const DialogTemplate*> registry;
    return registry;
}

int MulDiv(int a, int b, int c) {
    long long v = static_cast<long long>(a) * b;
    // Round half away from zero, as the platform's MulDiv does.
    return static_cast<int>(v >= 0 ? (v + c / 2) / c : (v - c / 2) / c);
}

}  // namespace

void RegisterDialogTemplate(const DialogTemplate& dialog) {
    Registry()[dialog.id] = &dialog;
}

const DialogTemplate* FindDialogTemplate(UINT id) {
    auto it = Registry().find(id);
    return it == Registry().end() ? nullptr : it->second;
}

std::vector<const DialogTemplate*> AllDialogTemplates() {
    std::vector<const DialogTemplate*> all;
    for (const auto& [id, dialog] : Registry()) all.push_back(dialog);
    return all;
}

BaseUnits DialogBaseUnits(const char* font, int pointSize) {
    // Measured as the platform measures a dialog font (the average width of A-Z a-z and the
    // line height), on the unhinted outlines, so the layout is the same on every screen.
    QFont f = TemplateFont(font, pointSize);
    f.setHintingPreference(QFont::PreferNoHinting);
    QFontMetricsF metrics(f);
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const int width = static_cast<int>(metrics.horizontalAdvance(QString::fromLatin1(kAlphabet)));
    const int avg = (width / 26 + 1) / 2;
    const int height = static_cast<int>(std::ceil(metrics.ascent()) + std::ceil(metrics.descent()));
    return {avg > 0 ? avg : 1, height > 0 ? height : 1};
}

PixelRect DluToPixels(BaseUnits u, int x, int y, int cx, int cy) {
    return {MulDiv(x, u.x, 4), MulDiv(y, u.y, 8), MulDiv(cx, u.x, 4), MulDiv(cy, u.y, 8)};
}

}  // namespace platform
