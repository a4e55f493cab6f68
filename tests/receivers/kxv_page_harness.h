#pragma once
// Scenario support for the KXV page: the main window with the port open on a recorded line, the
// KXV page shown, a simulated stabilizer receiver at physical ID 26, and the user's steps.

#include <memory>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "receivers/kxv_ids.h"
#include "receivers/kxv_parameters.h"
#include "receivers/kxv_picture.h"
#include "resources/resource_ids.h"
#include "sensors/sensor_page_harness.h"
#include "sim/bus.h"
#include "sim/sensor_kind.h"
#include "support/sim_virtual_line.h"

namespace kestrova::test {

constexpr int kKxvItem = 22;  // the tree's "KXV"
constexpr const char* kOperationFailed = "Operation failed！";

// The longest a Read or a Write of all 26 can take against a receiver that answers at once,
// with a margin: 82 read ticks of 10 ms, 160 write ticks of 30 ms.
constexpr int kReadMs = 1500;
constexpr int kWriteMs = 6000;

// A parameter by its file key, and what the tests take from it.
inline const kxv::Parameter& Param(std::string_view key) {
    for (const kxv::Parameter& p : kxv::kParameters)
        if (p.key == key) return p;
    ADD_FAILURE() << "no parameter " << key;
    return kxv::kParameters.front();
}
inline int Control(std::string_view key) {
    return Param(key).control;
}
inline int K(std::string_view key) {
    return Param(key).k;
}
inline BYTE Code(std::string_view key) {
    return Param(key).code;
}

class KxvPageTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        bus = std::make_shared<sim::Bus>();
        receiver = &bus->AddDevice(*sim::FindKind("kxv"));
    }

    // The main window on COM4 = `line` (recorded), the port open and the KXV page shown.
    void StartOn(std::shared_ptr<platform::VirtualLine> line) {
        wire = std::make_shared<RecordingLine>(std::move(line));
        BindPort(4, wire);
        StartMainWindow();
        OpenPort();
        ASSERT_TRUE(SelectTreeItem(&main(), 1000, main().m_hTreeItems[kKxvItem]));
        modal.Clear();
    }
    void StartOnReceiver() { StartOn(std::make_shared<SimVirtualLine>(bus)); }

    // The receiver's value of a parameter.
    int ReceiverValue(int k) {
        return static_cast<int>(
            *receiver->ParamValue(kxv::kParameters[static_cast<std::size_t>(k)].code));
    }
    int ReceiverValue(std::string_view key) { return ReceiverValue(K(key)); }
    // Sets the receiver's parameter as a write from the bus would.
    void SetReceiverValue(std::string_view key, int value) {
        const int k = K(key);
        bus::Body frame{bus::kTypeEnter, 0x30, 0x0C, 0, 0, 0, 0, 0};
        receiver->OnFrame(frame, platform::Now());
        frame = {bus::kTypeWrite,
                 0x30,
                 0x0C,
                 kxv::kParameters[static_cast<std::size_t>(k)].code,
                 static_cast<std::uint8_t>(value),
                 0,
                 0,
                 0};
        receiver->OnFrame(frame, platform::Now());
        frame = {bus::kTypeLeave, 0x30, 0x0C, 0, 0, 0, 0, 0};
        receiver->OnFrame(frame, platform::Now());
    }

    // Clicks a button of the page and lets the virtual time run for `ms`.
    void Run(int button, int ms) {
        ASSERT_TRUE(Click(&page, button));
        AdvanceMs(ms);
    }
    // A Read, then the rest of its lock-out, so the buttons are back.
    void ReadAll() { Run(kxv::page_ids::kRead, static_cast<int>(kxv::timers::kReadTimeoutMs) + 1); }

    std::vector<WrittenFrame> Since(std::size_t first, bool withPolls = false) {
        std::vector<WrittenFrame> out;
        for (std::size_t i = first; i < wire->frames.size(); ++i)
            if (withPolls || !wire->frames[i].poll) out.push_back(wire->frames[i]);
        return out;
    }
    static std::vector<WrittenFrame> OfType(const std::vector<WrittenFrame>& frames, BYTE type) {
        std::vector<WrittenFrame> out;
        for (const WrittenFrame& f : frames)
            if (!f.poll && f.type == type) out.push_back(f);
        return out;
    }

    CString Text(CWnd& wnd, int id) {
        CString t;
        wnd.GetDlgItemText(id, t);
        return t;
    }
    bool Enabled(CWnd& wnd, int id) {
        CWnd* w = wnd.GetDlgItem(id);
        return w && w->IsWindowEnabled();
    }
    bool Running(UINT_PTR id) { return platform::TimerService::Instance().IsRunning(&page, id); }
    bool AnyTimerRunning() {
        for (UINT_PTR id = 0; id <= kxv::timers::kLast; ++id)
            if (Running(id)) return true;
        return false;
    }
    int Checked(CWnd& wnd, int id) { return static_cast<CButton*>(wnd.GetDlgItem(id))->GetCheck(); }
    int ComboSelection(int id) {
        return static_cast<CComboBox*>(g_receiverKXV_GainSetting.GetDlgItem(id))->GetCurSel();
    }
    // The page's five buttons, the calibration button, and the main window's tree, Open and tab.
    bool ControlsEnabled() {
        using namespace kxv::page_ids;
        bool all = Enabled(main(), sensor_ids::kMainTree) &&
                   Enabled(main(), sensor_ids::kMainTab) &&
                   Enabled(main(), sensor_ids::kMainOpen) &&
                   Enabled(calibration, kxv::calibration_ids::kCalibration);
        for (int id : {kLoad, kSave, kRead, kWrite, kDefault}) all = all && Enabled(page, id);
        return all;
    }

    CReceiver_KXVDlg& page = g_receiverKXV;
    CReceiver_KXV_WingTypeDlg& wing = g_receiverKXV_WingType;
    CReceiver_KXV_MountingTypeDlg& mounting = g_receiverKXV_MountingType;
    CReceiver_KXV_GainSettingDlg& gains = g_receiverKXV_GainSetting;
    CReceiver_KXV_OffsetAngleSettingDlg& angles = g_receiverKXV_OffsetAngleSetting;
    CReceiver_KXV_AccelerometerCalibrationDlg& calibration = g_receiverKXV_AccelerometerCalibration;
    std::shared_ptr<sim::Bus> bus;
    sim::Device* receiver = nullptr;
    std::shared_ptr<RecordingLine> wire;
};

}  // namespace kestrova::test
