#pragma once
// The faces the program draws its texts with. The templates name Windows faces ("MS Shell Dlg")
// that Linux does not have; a metric-compatible stand-in takes their place so that layouts in
// dialog units keep the proportions they were made for, and a CJK face behind it gives every
// Chinese text and full-width sign its glyphs.

#include <QFont>
#include <QStringList>

namespace platform {

// The stand-in for the faces the templates name, and the fallback behind it, in the order a
// glyph is looked for.
QStringList ProgramFontFamilies();

// A template's font: the stand-in at the pixel size the point size has on a 96-dpi screen, so
// the layout does not change with the screen's resolution.
QFont TemplateFont(const char* face, int pointSize);

// Makes the template font of the main window the application's font, so message boxes, menus
// and tooltips draw with the same faces.
void ApplyProgramFont();

}  // namespace platform
