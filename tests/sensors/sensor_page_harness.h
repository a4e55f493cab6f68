#pragma once
// Scenario support for the sensor pages: the main window with the port open on a line that
// records every frame the program writes, the page shown, and the user's steps of a Configure
// session.

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "bus/frame.h"
#include "bus/protocol.h"
#include "platform/timer_service.h"
#include "support/app_harness.h"

namespace kestrova::test {

// One frame as the program wrote it, unstuffed: a poll, or a request with its fields.
struct WrittenFrame {
    bool poll = false;
    BYTE address = 0;  // the physical-ID byte of a poll, frame byte 1 of a request
    BYTE type = 0;
    WORD dataId = 0;
    BYTE param = 0;
    int value = 0;  // the three value bytes, low first
    platform::Micros at = 0;
};

inline WrittenFrame DecodeWritten(const std::uint8_t* data, std::size_t n, platform::Micros at) {
    WrittenFrame f;
    f.at = at;
    if (n < 2) return f;
    f.address = data[1];
    if (n == 2) {
        f.poll = true;
        return f;
    }
    std::uint8_t body[bus::kBodyLength] = {};
    bus::Unstuff(std::span<const std::uint8_t>(data + 2, n - 2), body);
    f.type = body[0];
    f.dataId = static_cast<WORD>(body[1] | (body[2] << 8));
    f.param = body[3];
    f.value = body[4] | (body[5] << 8) | (body[6] << 16);
    return f;
}

// Passes everything to `inner` and keeps what the program wrote, one frame per write.
class RecordingLine : public platform::VirtualLine {
  public:
    explicit RecordingLine(std::shared_ptr<platform::VirtualLine> inner)
        : inner_(std::move(inner)) {}
    void Write(const std::uint8_t* data, std::size_t n, platform::Micros now) override {
        frames.push_back(DecodeWritten(data, n, now));
        inner_->Write(data, n, now);
    }
    std::size_t Available(platform::Micros now) override { return inner_->Available(now); }
    std::size_t Read(std::uint8_t* out, std::size_t max, platform::Micros now) override {
        return inner_->Read(out, max, now);
    }
    void DiscardInput(platform::Micros now) override { inner_->DiscardInput(now); }
    bool Present() const override { return inner_->Present(); }

    // The requests only, in order (polls left out).
    std::vector<WrittenFrame> Requests() const {
        std::vector<WrittenFrame> out;
        for (const WrittenFrame& f : frames)
            if (!f.poll) out.push_back(f);
        return out;
    }

    std::vector<WrittenFrame> frames;

  private:
    std::shared_ptr<platform::VirtualLine> inner_;
};

// A device played by the test: every byte written comes back at once, as on the single wire,
// followed at once by the reply (an 8-byte body, stuffed) that `answer` gives for the frame just
// written, if any. `answer` also sees every frame heard before it. An answer (0x32) that leaves
// its data ID and parameter at 0 names the last request heard, as a device's answer does.
class ScriptedLine : public platform::VirtualLine {
  public:
    using Body = std::array<std::uint8_t, bus::kBodyLength>;
    std::function<std::optional<Body>(const WrittenFrame& frame,
                                      const std::vector<WrittenFrame>& before)>
        answer;

    void Write(const std::uint8_t* data, std::size_t n, platform::Micros now) override {
        rx_.insert(rx_.end(), data, data + n);
        WrittenFrame f = DecodeWritten(data, n, now);
        std::optional<Body> reply = answer ? answer(f, heard_) : std::nullopt;
        if (reply) NameRequest(*reply, f);
        // A device checksums what it sends, as the program does.
        if (reply) reply->back() = bus::BodyChecksum(*reply);
        heard_.push_back(f);
        if (!reply) return;
        // A poll's echo heads its reply; a reply to a request needs a head of its own.
        if (!f.poll) rx_.insert(rx_.end(), {bus::kFrameStart, f.address});
        std::array<std::uint8_t, 2 * bus::kBodyLength> stuffed{};
        const std::size_t count = bus::Stuff(*reply, stuffed);
        rx_.insert(rx_.end(), stuffed.begin(),
                   stuffed.begin() + static_cast<std::ptrdiff_t>(count));
    }
    std::size_t Available(platform::Micros) override { return rx_.size(); }
    std::size_t Read(std::uint8_t* out, std::size_t max, platform::Micros) override {
        std::size_t n = std::min(max, rx_.size());
        std::copy_n(rx_.begin(), n, out);
        rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(n));
        return n;
    }
    void DiscardInput(platform::Micros) override { rx_.clear(); }

  private:
    void NameRequest(Body& reply, const WrittenFrame& f) const {
        if (reply[0] != bus::kTypeAnswer || reply[1] || reply[2] || reply[3]) return;
        const WrittenFrame* request = f.poll ? nullptr : &f;
        for (auto it = heard_.rbegin(); !request && it != heard_.rend(); ++it)
            if (!it->poll) request = &*it;
        if (!request) return;
        reply[1] = static_cast<std::uint8_t>(request->dataId & 0xFF);
        reply[2] = static_cast<std::uint8_t>(request->dataId >> 8);
        reply[3] = request->param;
    }

    std::vector<std::uint8_t> rx_;
    std::vector<WrittenFrame> heard_;
};

// The last request among `before` and how many polls came after it (the frame being judged
// included when it is a poll).
struct SincePoll {
    WrittenFrame request;
    int polls = 0;
};
inline SincePoll LastRequest(const WrittenFrame& frame, const std::vector<WrittenFrame>& before) {
    SincePoll s;
    s.polls = frame.poll ? 1 : 0;
    for (auto it = before.rbegin(); it != before.rend(); ++it) {
        if (!it->poll) {
            s.request = *it;
            return s;
        }
        ++s.polls;
    }
    return s;
}

inline ScriptedLine::Body AnswerBody(BYTE value) {
    return {0x32, 0, 0, 0, value, 0, 0, 0};
}
inline ScriptedLine::Body TelemetryBody() {
    return {0x10, 0x00, 0x0A, 5, 0, 0, 0, 0};
}

// The tree items of the two one-stream pages.
constexpr int kAirSpeedItem = 3;
constexpr int kCurrent150Item = 5;

class SensorPageTest : public AppTest {
  protected:
    // The main window on COM4 = `line` (recorded), the port open and the page of `item` shown.
    void StartOn(std::shared_ptr<platform::VirtualLine> line, int item = kAirSpeedItem) {
        wire = std::make_shared<RecordingLine>(std::move(line));
        BindPort(4, wire);
        StartMainWindow();
        OpenPort();
        ASSERT_TRUE(SelectTreeItem(&main(), sensor_ids::kMainTree, main().m_hTreeItems[item]));
        modal.Clear();
    }
    // Configure confirmed and its first progress run to the end.
    void ConfigureAndWait(CSensorPage& page) {
        ASSERT_TRUE(Click(&page, sensor_ids::kConfigure));
        AdvanceMs(140 * 46 + 1);
    }
    CString Text(CWnd& page, int id) {
        CString t;
        page.GetDlgItemText(id, t);
        return t;
    }
    bool Enabled(CWnd& wnd, int id) {
        CWnd* w = wnd.GetDlgItem(id);
        return w && w->IsWindowEnabled();
    }
    static bool Running(CWnd* wnd, UINT_PTR id) {
        return platform::TimerService::Instance().IsRunning(wnd, id);
    }

    std::shared_ptr<RecordingLine> wire;
};

}  // namespace kestrova::test
