#include "platform/dialog_template.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <map>

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

BaseUnits DialogBaseUnits(const char* font, int pointSize) {
    // The template's Windows face names are not on Linux; the application font stands in.
    QFont f = QGuiApplication::font();
    if (pointSize > 0) f.setPointSize(pointSize);
    QFontMetrics metrics(f);
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    int width = metrics.horizontalAdvance(QString::fromLatin1(kAlphabet));
    int avg = (width / 26 + 1) / 2;
    return {avg > 0 ? avg : 1, metrics.height() > 0 ? metrics.height() : 1};
}

PixelRect DluToPixels(BaseUnits u, int x, int y, int cx, int cy) {
    return {MulDiv(x, u.x, 4), MulDiv(y, u.y, 8), MulDiv(cx, u.x, 4), MulDiv(cy, u.y, 8)};
}

}  // namespace platform
