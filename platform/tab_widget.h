#pragma once
// The native window of a tab control: a tab strip along the top of an area that hosts pages.

#include <QTabBar>
#include <QWidget>

namespace platform {

class TabWidget : public QWidget {
  public:
    explicit TabWidget(QWidget* parent);
    QTabBar* Bar() const { return m_bar; }
    // Runs a change of the tabs made by the program: it raises no notification.
    template <class F>
    void Quietly(F&& change) {
        m_byProgram = true;
        change();
        m_byProgram = false;
        Relayout();
    }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void Relayout();

    QTabBar* m_bar;
    bool m_byProgram = false;
};

}  // namespace platform
