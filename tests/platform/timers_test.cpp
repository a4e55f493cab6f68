// Window timers on the virtual clock: order, restart, kill, lateness, nested modal loops, and
// what happens when a handler throws; on the real clock, modal loops and timers woken by input.

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/afx.h"
#include "platform/timer_service.h"
#include "platform/win32_comm.h"
#include "support/os_pty.h"
#include "support/ui_harness.h"

namespace {

using namespace kestrova::test;

const platform::DialogTemplate kTimerDialog{
    9001, "Timers", 100, 60, WS_POPUP | WS_CAPTION, "MS Shell Dlg", 9, {}};

class TimerDlg : public CDialogEx {
  public:
    TimerDlg() : CDialogEx(9001) { platform::RegisterDialogTemplate(kTimerDialog); }

    std::vector<std::pair<UINT_PTR, platform::Micros>> fired;
    std::function<void(UINT_PTR)> onTick;

    const platform::MessageMap* GetMessageMap() const override {
        static const platform::MessageMap map{CDialogEx::ThisMessageMap(),
                                              {platform::OnWmTimer(&TimerDlg::OnTimer)}};
        return &map;
    }
    void OnTimer(UINT_PTR id) {
        fired.push_back({id, platform::Now()});
        if (onTick) onTick(id);
        CDialogEx::OnTimer(id);
    }
    int Count(UINT_PTR id) const {
        int n = 0;
        for (auto& f : fired) n += f.first == id;
        return n;
    }
};

class CTestException : public CException {
  public:
    BOOL GetErrorMessage(char* text, UINT max, UINT* help) override {
        if (help) *help = 0;
        std::snprintf(text, max, "%s", "The device does not recognize the command.");
        return TRUE;
    }
};

class TimerTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        dlg.Create(9001);
        start = platform::Now();
    }
    TimerDlg dlg;
    platform::Micros start = 0;
};

TEST_F(TimerTest, FireInDueOrderAndAtTheirPeriods) {
    dlg.SetTimer(2, 10);
    dlg.SetTimer(1, 4);
    AdvanceMs(20);
    ASSERT_EQ(dlg.Count(1), 5);
    ASSERT_EQ(dlg.Count(2), 2);
    // Each tick happens at the time it was due, earliest first.
    platform::Micros last = 0;
    for (auto& [id, at] : dlg.fired) {
        EXPECT_GE(at, last);
        last = at;
        EXPECT_EQ((at - start) % ((id == 1 ? 4 : 10) * 1000), 0) << "timer " << id;
    }
}

TEST_F(TimerTest, SettingARunningTimerRestartsIt) {
    dlg.SetTimer(0, 10);
    AdvanceMs(8);
    dlg.SetTimer(0, 10);  // restarts: the next tick is 10 ms from now, not 2 ms
    AdvanceMs(9);
    EXPECT_EQ(dlg.Count(0), 0);
    AdvanceMs(1);
    EXPECT_EQ(dlg.Count(0), 1);
    dlg.SetTimer(0, 3);  // a new period takes effect
    AdvanceMs(9);
    EXPECT_EQ(dlg.Count(0), 4);
}

TEST_F(TimerTest, KilledTimersStayQuietAndKillIsHarmlessTwice) {
    dlg.SetTimer(0, 5);
    dlg.SetTimer(1, 5);
    // A handler that kills the other timer due at the same moment: it must not fire.
    dlg.onTick = [&](UINT_PTR id) {
        if (id == 0) dlg.KillTimer(1);
    };
    AdvanceMs(50);
    EXPECT_EQ(dlg.Count(0), 10);
    EXPECT_EQ(dlg.Count(1), 0);
    EXPECT_TRUE(dlg.KillTimer(0));
    EXPECT_FALSE(dlg.KillTimer(0));
    AdvanceMs(50);
    EXPECT_EQ(dlg.Count(0), 10);
}

TEST_F(TimerTest, LateTimerFiresOnceNotInABurst) {
    dlg.SetTimer(0, 1);
    // An event loop that stalled for 30 ms delivers one tick, not thirty, and the period then
    // counts from the moment it caught up.
    platform::Micros late = platform::Now() + 30'000;
    platform::TimerService::Instance().FireDue(late);
    EXPECT_EQ(dlg.Count(0), 1);
    EXPECT_EQ(platform::TimerService::Instance().NextDue(), late + 1'000);
}

TEST_F(TimerTest, ATickThatRanLateKeepsTheNextOneAPeriodAway) {
    // A step machine polls on one tick and reads the answer on the next: after a late tick the
    // next must not come early, or it reads before the answer is there.
    struct Case {
        const char* name;
        platform::Micros lateBy;
        platform::Micros nextAfterTick;
    };
    const Case cases[] = {
        {"on time keeps the schedule", 0, 10'000},
        {"a little late keeps the schedule", 2'000, 8'000},
        {"over a quarter late restarts the period", 3'000, 10'000},
        {"more than a period late restarts it", 25'000, 10'000},
    };
    for (const Case& c : cases) {
        dlg.SetTimer(0, 10);
        const platform::Micros tick = platform::TimerService::Instance().NextDue() + c.lateBy;
        platform::TimerService::Instance().FireDue(tick);
        EXPECT_EQ(platform::TimerService::Instance().NextDue() - tick, c.nextAfterTick) << c.name;
    }
}

TEST_F(TimerTest, TimersKeepFiringWhileAModalBoxIsOpen) {
    dlg.SetTimer(0, 4);
    dlg.SetTimer(1, 100);
    int ticksDuringBox = -1;
    dlg.onTick = [&](UINT_PTR id) {
        if (id != 1 || ticksDuringBox >= 0) return;
        int before = dlg.Count(0);
        modal.Answer({IDOK, {}, 40'000});  // the box stays open for 40 ms
        AfxMessageBox("Successful operation！");
        ticksDuringBox = dlg.Count(0) - before;
    };
    AdvanceMs(100);
    EXPECT_EQ(ticksDuringBox, 10);
}

TEST_F(TimerTest, ThrowingHandlerShowsOneBoxWhileOpenAndTimerGoesOn) {
    dlg.SetTimer(0, 10);
    dlg.onTick = [&](UINT_PTR) { throw new CTestException(); };
    // The first box stays open for 100 ms; ten more ticks throw the same error meanwhile.
    modal.Answer({IDOK, {}, 100'000});
    AdvanceMs(10);
    EXPECT_EQ(modal.shown().size(), 1u);
    EXPECT_GE(dlg.Count(0), 10);
    EXPECT_EQ(modal.shown()[0].text, "The device does not recognize the command.");
    EXPECT_EQ(modal.shown()[0].type & MB_ICONMASK, MB_ICONSTOP);
    // Once it is closed, the next failure is shown again: the timer is still running.
    AdvanceMs(10);
    EXPECT_EQ(modal.shown().size(), 2u);
}

TEST_F(TimerTest, DestroyedWindowLosesItsTimers) {
    dlg.SetTimer(0, 5);
    dlg.DestroyWindow();
    AdvanceMs(20);
    EXPECT_EQ(dlg.Count(0), 0);
    EXPECT_EQ(dlg.SetTimer(0, 5), 0u) << "no window, no timer";
}

// Real time: a modal dialog's own loop keeps timers running and ends on EndDialog.
TEST(RealTimers, ModalLoopRunsTimersUntilEndDialog) {
    kestrova::test::EnsureQtApp();
    TimerDlg owner;
    owner.Create(9001);
    TimerDlg modalDlg;
    owner.SetTimer(7, 2);
    owner.onTick = [&](UINT_PTR) {
        if (owner.Count(7) == 5 && modalDlg.m_hWnd) modalDlg.EndDialog(IDOK);
    };
    QElapsedTimer clock;
    clock.start();
    intptr_t result = modalDlg.DoModal();
    EXPECT_EQ(result, IDOK);
    EXPECT_GE(owner.Count(7), 5);
    EXPECT_LT(clock.elapsed(), 2000);
}

}  // namespace

// Real time: a timer woken by input ticks when its port has bytes, not every period, and its
// handler reading them ends the tick; killed, it stays quiet whatever arrives.
TEST(RealTimers, ATimerWokenByInputTicksOnlyWhenItsPortHasBytes) {
    kestrova::test::EnsureQtApp();
    kestrova::test::TempNamespace ns;
    kestrova::test::PtyPair pty;
    ns.Publish(5, pty.slavePath());
    HANDLE port =
        CreateFileA("COM5", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    TimerDlg dlg;
    dlg.Create(9001);
    std::string heard;
    dlg.onTick = [&](UINT_PTR) {
        char buf[64];
        DWORD n = 0;
        COMSTAT st{};
        DWORD errors = 0;
        ClearCommError(port, &errors, &st);
        if (st.cbInQue && ReadFile(port, buf, std::min<DWORD>(st.cbInQue, sizeof buf), &n, nullptr))
            heard.append(buf, n);
    };
    platform::TimerService::Instance().WakeOnInput(&dlg, 3, [port] { return port; });
    dlg.SetTimer(3, 1);
    EXPECT_FALSE(WaitUntil([&] { return dlg.Count(3) > 2; }, 100)) << "a quiet port: no ticks";
    pty.Send("abc");
    ASSERT_TRUE(WaitUntil([&] { return heard == "abc"; }, 10'000));
    const int ticks = dlg.Count(3);
    EXPECT_FALSE(WaitUntil([&] { return dlg.Count(3) > ticks + 2; }, 100)) << "read: quiet again";
    dlg.KillTimer(3);
    pty.Send("d");
    EXPECT_FALSE(WaitUntil([&] { return dlg.Count(3) > ticks + 2; }, 100));
    CloseHandle(port);
}
