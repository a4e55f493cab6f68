#pragma once
// The widget of a static control. Its text breaks into lines at word boundaries as the
// platform's static does; a text exactly as wide as its control stays on one line.

#include <QLabel>
#include <QStringList>

namespace platform {

// The lines a static of `width` pixels shows `text` in. Labels are sized to their text in the
// face the templates were made with; the stand-in may come out a fraction of a pixel wider,
// so a line breaks only when it overruns by more than that slack.
QStringList StaticTextLines(const QFont& font, int width, const QString& text);

class StaticLabel : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace platform
