// Cost of what the monitoring listener does on every 1 ms tick: ask how many bytes wait, then
// read them, on a pty at 57600 baud with 0, 10 and 2,000 bytes waiting.

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/win32_comm.h"

namespace {

using Clock = std::chrono::steady_clock;

double Percentile(std::vector<double>& v, double p) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

}  // namespace

int main() {
    int master = -1, slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return 0;
    }
    std::string dir =
        std::filesystem::temp_directory_path() / ("kestrova-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::create_symlink(name, dir + "/COM1");
    setenv("KESTROVA_DEVICES", dir.c_str(), 1);

    HANDLE port =
        CreateFileA("COM1", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        std::printf("cannot open the pty: error %u\n", GetLastError());
        return 0;
    }
    DCB dcb{};
    GetCommState(port, &dcb);
    dcb.BaudRate = 57600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    SetCommState(port, &dcb);

    std::printf("bytes-waiting query + read on a pty at 57600 baud (µs per tick)\n");
    std::printf("%8s %10s %10s %8s\n", "waiting", "median", "p99", "runs");
    std::vector<char> payload(2000, 0x5A), buffer(4096);
    for (std::size_t waiting : {0u, 10u, 2000u}) {
        const int runs = waiting == 0 ? 20000 : 2000;
        std::vector<double> micros;
        micros.reserve(runs);
        for (int i = 0; i < runs; ++i) {
            if (waiting) {
                if (write(master, payload.data(), waiting) != static_cast<ssize_t>(waiting)) break;
                COMSTAT st{};
                // The pty hands bytes over a moment after the write; time only the tick.
                do ClearCommError(port, nullptr, &st);
                while (st.cbInQue < waiting);
            }
            auto start = Clock::now();
            COMSTAT st{};
            ClearCommError(port, nullptr, &st);
            DWORD got = 0;
            ReadFile(port, buffer.data(), st.cbInQue, &got, nullptr);
            auto end = Clock::now();
            micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
        std::printf("%8zu %10.2f %10.2f %8zu\n", waiting, Percentile(micros, 0.5),
                    Percentile(micros, 0.99), micros.size());
    }
    std::printf("tick period of the monitoring listener: 1000 µs\n");
    CloseHandle(port);
    std::filesystem::remove_all(dir);
    close(master);
    close(slave);
    return 0;
}
