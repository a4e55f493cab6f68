#pragma once
// The test harness of the window layer: Qt offscreen, the virtual clock, one hook that answers
// every modal UI and records it, and helpers that act as the user does, through the same
// dispatch as a real click, key or mouse move.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/modal_ui.h"
#include "platform/tree_ctrl.h"
#include "platform/wnd.h"

namespace kestrova::test {

// Creates the one QApplication of the test process (offscreen).
void EnsureQtApp();

// What the user was shown, copied when it was shown.
struct Shown {
    platform::ModalKind kind;
    std::string text;
    std::string caption;
    UINT type = 0;
    UINT dialogId = 0;
    bool openFile = true;
    std::string filter, defaultExt;
};

class ModalRecorder {
  public:
    // Answers the next modal UI; later ones get the default answer (IDOK, no time passes).
    void Answer(platform::ModalAnswer answer) { m_answers.push_back(answer); }
    void AnswerWith(std::function<platform::ModalAnswer(const platform::ModalRecord&)> fn) {
        m_responder = std::move(fn);
    }
    const std::vector<Shown>& shown() const { return m_shown; }
    std::vector<std::string> MessageTexts() const;
    void Clear() { m_shown.clear(); }

    platform::ModalAnswer Handle(const platform::ModalRecord& record);

  private:
    std::vector<Shown> m_shown;
    std::deque<platform::ModalAnswer> m_answers;
    std::function<platform::ModalAnswer(const platform::ModalRecord&)> m_responder;
};

// A test with Qt, the virtual clock and the modal hook installed.
class UiTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    static void AdvanceMs(std::int64_t ms) { platform::VirtualClock::AdvanceMs(ms); }

    ModalRecorder modal;
};

// User actions on the control `id` of `parent`. Each fails when a user could not do it
// (the control is missing, hidden or disabled).
::testing::AssertionResult Click(CWnd* parent, int id);
::testing::AssertionResult Type(CWnd* parent, int id, const char* text);
::testing::AssertionResult ChooseComboItem(CWnd* parent, int id, int index);
::testing::AssertionResult SelectTreeItem(CWnd* parent, int treeId, HTREEITEM item);
::testing::AssertionResult SelectTab(CWnd* parent, int tabId, int index);
::testing::AssertionResult MoveMouseOver(CWnd* parent, int id);
// A key pressed while the control `id` of `parent` (or `parent` itself for 0) has the focus.
::testing::AssertionResult PressKey(CWnd* parent, int id, UINT virtualKey);

// Lets queued Qt events run (posted messages, device notifications).
void ProcessEvents();

// Real time: lets the event loop (and so real timers) run until `done` holds or `deadlineMs`
// has passed; returns `done` at the end. Tests on real time wait for what they expect with a
// deadline generous enough for a busy machine, never for a fixed time.
bool WaitUntil(const std::function<bool()>& done, int deadlineMs);

}  // namespace kestrova::test
