// kestrova-sim: a simulated Q.Wire bus on a pseudo-terminal, published as a COM port, so the
// program can be run and tested with no hardware.

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "sim/options.h"
#include "sim/pty_port.h"

namespace {

volatile sig_atomic_t g_stop = 0;

void OnSignal(int) {
    g_stop = 1;
}

sim::Micros NowMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

constexpr sim::Micros kPortGoneAfter = 3'000'000;

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = sim::ParseOptions({argv + 1, argv + argc}, error);
    if (!options) {
        std::cerr << "kestrova-sim: " << error << "\n" << sim::HelpText();
        return 2;
    }
    if (options->help) {
        std::cout << sim::HelpText();
        return 0;
    }

    sim::Bus bus;
    if (!sim::SetUpBus(bus, *options, error)) {
        std::cerr << "kestrova-sim: " << error << "\n";
        return 2;
    }
    const sim::Micros start = NowMicros();
    bus.SetReceiverMode(options->receiver, start);
    std::ofstream log;
    if (!options->logFile.empty()) {
        log.open(options->logFile, std::ios::app);
        if (!log) {
            std::cerr << "kestrova-sim: cannot write " << options->logFile << "\n";
            return 2;
        }
        bus.SetLog([&log, start](sim::Micros when, const std::string& line) {
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "%12.6f ", static_cast<double>(when - start) / 1e6);
            log << stamp << line << '\n';
            log.flush();
        });
    }

    auto pty = sim::PtyPort::Open(error);
    if (!pty) {
        std::cerr << "kestrova-sim: " << error << "\n";
        return 1;
    }
    const std::string dir = sim::PortDirectory();
    if (!sim::PublishPort(dir, options->port, pty->SlavePath(), error)) {
        std::cerr << "kestrova-sim: " << error << "\n";
        return 1;
    }

    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

    std::cout << "COM" << options->port << "\n" << pty->SlavePath() << std::endl;

    const sim::Micros goneAt = sim::WantsPortGone(*options) ? start + kPortGoneAfter : INT64_MAX;
    bool gone = false;
    std::uint8_t buf[4096];
    while (!g_stop) {
        sim::Micros now = NowMicros();
        if (!gone && now >= goneAt) {
            // The adapter is pulled: the entry goes and the program's handle starts failing.
            sim::UnpublishPort(dir, options->port, pty->SlavePath());
            pty->Close();
            bus.SetFault(sim::BusFault::kPortGone, true, now);
            gone = true;
        }
        if (gone) {
            // Nothing left to serve; wake now and then to see the stop flag (a pause() here
            // would sleep for ever on a signal that came just before it).
            ::usleep(20'000);
            continue;
        }
        // Hand over whatever the wire has carried by now, in one write per burst.
        for (std::size_t n; (n = bus.Read(buf, sizeof buf, now)) > 0;) {
            for (std::size_t off = 0; off < n;) {
                const ssize_t w = ::write(pty->MasterFd(), buf + off, n - off);
                if (w > 0) {
                    off += static_cast<std::size_t>(w);
                } else if (w < 0 && errno == EINTR) {
                    continue;
                } else {
                    break;  // nobody reads: the adapter's buffer overruns and bytes are lost
                }
            }
        }
        const sim::Micros next = std::min(bus.NextDelivery(now), goneAt);
        const sim::Micros wait = std::clamp<sim::Micros>(next - now, 0, 50'000);
        pollfd pfd{pty->MasterFd(), POLLIN, 0};
        const timespec ts{0, static_cast<long>(wait * 1000)};
        const int r = ppoll(&pfd, 1, &ts, nullptr);
        if (r > 0 && (pfd.revents & POLLIN)) {
            const ssize_t got = ::read(pty->MasterFd(), buf, sizeof buf);
            if (got > 0) bus.Write(buf, static_cast<std::size_t>(got), NowMicros());
        }
    }
    if (!gone) sim::UnpublishPort(dir, options->port, pty->SlavePath());
    return 0;
}
