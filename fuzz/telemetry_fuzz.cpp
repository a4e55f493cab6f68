// Feeds arbitrary bytes, as a port would deliver them, through the program's own reading code:
// a tick of the bus scan and of the Monitoring listener, the static frame readers, and the
// decoding table straight into the sensor pages, whose windows exist so that every refresh
// formats and shows what was stored.

#include <QApplication>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>

#include "app/Globals.h"
#include "app/KestrovaDlg.h"
#include "app/global_pages.h"
#include "platform/clock.h"
#include "platform/virtual_port.h"
#include "resources/resources.h"
#include "sensors/TelemetryTable.h"

namespace {

// The far end of the port: it holds the bytes of one input until they are read or purged.
class FuzzLine : public platform::VirtualLine {
  public:
    void Write(const std::uint8_t*, std::size_t, platform::Micros) override {}
    std::size_t Available(platform::Micros) override { return bytes.size(); }
    std::size_t Read(std::uint8_t* out, std::size_t max, platform::Micros) override {
        const std::size_t n = std::min(max, bytes.size());
        std::copy_n(bytes.begin(), n, out);
        bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        return n;
    }
    void DiscardInput(platform::Micros) override { bytes.clear(); }

    std::deque<std::uint8_t> bytes;
};

std::shared_ptr<FuzzLine> g_line;
CKestrovaDlg* g_main = nullptr;

}  // namespace

// The font library keeps its caches for the life of the process; that is not ours to find.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv);
    platform::VirtualClock::Install();
    resources::RegisterAll();
    const telemetry::Pages pages = telemetry::GlobalPages();
    for (int i = 0; i < telemetry::kPageCount; ++i) {
        CSensorPage* page = pages.At(static_cast<telemetry::PageIndex>(i));
        page->Create(page->TemplateId(), nullptr);
    }
    // The pages are globals: their windows must go while Qt is still whole, before the
    // globals' own destructors run at exit.
    std::atexit([] {
        const telemetry::Pages all = telemetry::GlobalPages();
        for (int i = 0; i < telemetry::kPageCount; ++i)
            all.At(static_cast<telemetry::PageIndex>(i))->DestroyWindow();
        g_serialPort.Close();
    });
    g_line = std::make_shared<FuzzLine>();
    platform::BindVirtualPort(1, g_line);
    g_serialPort.Open("COM1", 57600, 0, 8, 0, 0, FALSE);
    // The scan and the listener are members of the main window; they need no window of its own.
    g_main = new CKestrovaDlg;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t how = data[0];
    const std::span<const std::uint8_t> rest(data + 2, size - 2);
    g_line->bytes.assign(rest.begin(), rest.end());
    switch (how % 4) {
        case 0:
            // One scan tick, polling the ID the input names (the last one ends the sweep).
            g_main->m_nPollIndex = data[1] % bus::kPhysIdCount;
            g_main->ScanBusStep();
            break;
        case 1:
            g_main->DecodeMonitorData();
            break;
        case 2: {
            bus::Body body{};
            if (data[1] & 1)
                CKestrovaDlg::ReadBusResponseFrame(body.data());
            else
                CKestrovaDlg::ReadBusFrame(body.data());
            break;
        }
        case 3: {
            // The table itself, body after body, for both decoders; the ESC's pole count is
            // what a user typed, so it comes from the input too.
            std::int32_t pole = 0;
            if (rest.size() >= 4) std::memcpy(&pole, rest.data(), 4);
            g_sensorReserve1.m_nPole = pole;
            const telemetry::Decoder decoder =
                data[1] & 1 ? telemetry::Decoder::kMonitor : telemetry::Decoder::kScan;
            for (std::size_t at = 0; at + bus::kBodyLength <= rest.size(); at += bus::kBodyLength) {
                bus::Body body;
                std::copy_n(rest.begin() + static_cast<std::ptrdiff_t>(at), bus::kBodyLength,
                            body.begin());
                telemetry::ApplyFrame(body, telemetry::GlobalPages(), decoder,
                                      data[1] % bus::kPhysIdCount);
            }
            break;
        }
    }
    return 0;
}
