#include "platform/fonts.h"

#include <QApplication>

namespace platform {
namespace {

// Liberation Sans has the character widths of the sans-serif face the dialog templates were
// laid out with; WenQuanYi Micro Hei covers the Chinese texts and the full-width "！".
constexpr const char* kStandIn = "Liberation Sans";
constexpr const char* kCjkFallback = "WenQuanYi Micro Hei";
constexpr int kMainWindowPointSize = 9;

}  // namespace

QStringList ProgramFontFamilies() {
    return {QString::fromLatin1(kStandIn), QString::fromLatin1(kCjkFallback)};
}

QFont TemplateFont(const char* /*face*/, int pointSize) {
    QFont font;
    font.setFamilies(ProgramFontFamilies());
    font.setStyleHint(QFont::SansSerif);
    // Points to pixels as the platform does at 96 dpi, rounded half up: 8 pt is 11 px.
    const int points = pointSize > 0 ? pointSize : 8;
    font.setPixelSize((points * 96 + 36) / 72);
    return font;
}

void ApplyProgramFont() {
    if (QCoreApplication::instance())
        QApplication::setFont(TemplateFont("MS Shell Dlg", kMainWindowPointSize));
}

}  // namespace platform
