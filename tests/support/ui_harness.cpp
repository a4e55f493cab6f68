#include "ui_harness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTreeWidget>

#include "platform/fonts.h"
#include "platform/tab_widget.h"
#include "platform/ui_events.h"

namespace kestrova::test {

void EnsureQtApp() {
    if (QApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kestrova-tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    platform::ApplyProgramFont();
    platform::EnsureUiEvents();
}

std::vector<std::string> ModalRecorder::MessageTexts() const {
    std::vector<std::string> texts;
    for (const Shown& s : m_shown)
        if (s.kind == platform::ModalKind::MessageBox) texts.push_back(s.text);
    return texts;
}

platform::ModalAnswer ModalRecorder::Handle(const platform::ModalRecord& r) {
    m_shown.push_back(
        {r.kind, r.text, r.caption, r.type, r.dialogId, r.openFile, r.filter, r.defaultExt});
    if (!m_answers.empty()) {
        platform::ModalAnswer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    if (m_responder) return m_responder(r);
    return {};
}

void UiTest::SetUp() {
    EnsureQtApp();
    platform::VirtualClock::Install();
    platform::SetModalHook([this](const platform::ModalRecord& r) { return modal.Handle(r); });
}

void UiTest::TearDown() {
    platform::SetModalHook(nullptr);
    platform::VirtualClock::Uninstall();
}

namespace {

::testing::AssertionResult Reachable(CWnd* parent, int id, QWidget*& out) {
    CWnd* item = parent ? parent->GetDlgItem(id) : nullptr;
    if (!item || !item->m_hWnd) return ::testing::AssertionFailure() << "no control " << id;
    if (!item->m_hWnd->isVisible())
        return ::testing::AssertionFailure() << "control " << id << " is hidden";
    if (!item->m_hWnd->isEnabled())
        return ::testing::AssertionFailure() << "control " << id << " is disabled";
    out = item->m_hWnd;
    return ::testing::AssertionSuccess();
}

}  // namespace

::testing::AssertionResult Click(CWnd* parent, int id) {
    QWidget* w = nullptr;
    if (auto r = Reachable(parent, id, w); !r) return r;
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (!button) return ::testing::AssertionFailure() << "control " << id << " is not a button";
    button->click();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Type(CWnd* parent, int id, const char* text) {
    QWidget* w = nullptr;
    if (auto r = Reachable(parent, id, w); !r) return r;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->isReadOnly())
            return ::testing::AssertionFailure() << "edit " << id << " is read-only";
        edit->setText(QString::fromUtf8(text));
        return ::testing::AssertionSuccess();
    }
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable()) {
        combo->setEditText(QString::fromUtf8(text));
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "control " << id << " takes no typing";
}

::testing::AssertionResult ChooseComboItem(CWnd* parent, int id, int index) {
    QWidget* w = nullptr;
    if (auto r = Reachable(parent, id, w); !r) return r;
    auto* combo = qobject_cast<QComboBox*>(w);
    if (!combo) return ::testing::AssertionFailure() << "control " << id << " is not a combo box";
    if (index < 0 || index >= combo->count())
        return ::testing::AssertionFailure() << "combo " << id << " has no item " << index;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SelectTreeItem(CWnd* parent, int treeId, HTREEITEM item) {
    QWidget* w = nullptr;
    if (auto r = Reachable(parent, treeId, w); !r) return r;
    auto* tree = qobject_cast<QTreeWidget*>(w);
    if (!tree || !item) return ::testing::AssertionFailure() << "no tree item to select";
    tree->setCurrentItem(reinterpret_cast<QTreeWidgetItem*>(item));
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SelectTab(CWnd* parent, int tabId, int index) {
    QWidget* w = nullptr;
    if (auto r = Reachable(parent, tabId, w); !r) return r;
    auto* tabs = dynamic_cast<platform::TabWidget*>(w);
    if (!tabs)
        return ::testing::AssertionFailure() << "control " << tabId << " is not a tab control";
    if (index < 0 || index >= tabs->Bar()->count())
        return ::testing::AssertionFailure() << "tab control has no tab " << index;
    tabs->Bar()->setCurrentIndex(index);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult MoveMouseOver(CWnd* parent, int id) {
    CWnd* item = parent ? parent->GetDlgItem(id) : nullptr;
    if (!item || !item->m_hWnd) return ::testing::AssertionFailure() << "no control " << id;
    QWidget* w = item->m_hWnd;
    QPointF local(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent move(QEvent::MouseMove, local, w->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult PressKey(CWnd* parent, int id, UINT vk) {
    QWidget* w = nullptr;
    if (id == 0) {
        w = parent ? parent->m_hWnd : nullptr;
        if (!w) return ::testing::AssertionFailure() << "no window";
    } else if (auto r = Reachable(parent, id, w); !r) {
        return r;
    }
    int key = vk == VK_RETURN ? Qt::Key_Return : (vk == VK_ESCAPE ? Qt::Key_Escape : 0);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    return ::testing::AssertionSuccess();
}

void ProcessEvents() {
    QApplication::processEvents();
}

bool WaitUntil(const std::function<bool()>& done, int deadlineMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= deadlineMs) return done();
        if (QCoreApplication::instance()) {
            QEventLoop loop;
            QTimer::singleShot(2, &loop, &QEventLoop::quit);
            loop.exec();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    return true;
}

}  // namespace kestrova::test
