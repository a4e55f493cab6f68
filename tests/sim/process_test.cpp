// kestrova-sim as a separate process on a pseudo-terminal, as a person or an end-to-end test
// runs it.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "sim/sim_wire.h"
#include "support/sim_process.h"
#include "support/ui_harness.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using kestrova::test::SimProcess;

simtest::Bytes ReadFor(int fd, int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    simtest::Bytes in(4096);
    const ssize_t n = read(fd, in.data(), in.size());
    in.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return in;
}

class KestrovaSim : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kestrova-sim-test-" + std::to_string(getpid()));
        fs::remove_all(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(KestrovaSim, PublishesThePortServesPollsAndRemovesTheEntryOnSigterm) {
    SimProcess sim(dir_ / "made-by-the-sim", {"--port", "COM9", "--device", "vario@6:2"});
    EXPECT_EQ(sim.Line(), "COM9");
    const std::string pty = sim.Line();
    ASSERT_EQ(pty.rfind("/dev/pts/", 0), 0u) << pty;
    const fs::path entry = dir_ / "made-by-the-sim" / "COM9";
    ASSERT_TRUE(fs::is_symlink(entry));
    EXPECT_EQ(fs::read_symlink(entry), pty);

    for (int open_ = 0; open_ < 2; ++open_) {  // the program may close and reopen the port
        const int fd = open(entry.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(fd, 0);
        const std::uint8_t poll[] = {0x7E, bus::kPhysIdTable[6]};
        ASSERT_EQ(write(fd, poll, 2), 2);
        const simtest::Bytes in = ReadFor(fd, 30);
        ASSERT_GE(in.size(), 10u);
        EXPECT_EQ(in[1], bus::kPhysIdTable[6]);
        const bus::Body b = simtest::BodyOf(in);
        EXPECT_EQ(b[0], 0x10);
        EXPECT_EQ(simtest::DataId(b) & 0xFFEF, 0x0102);
        close(fd);
    }
    EXPECT_EQ(sim.Stop(SIGTERM), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(entry)));
}

TEST_F(KestrovaSim, ReceiverModeProducesTrafficAndTheLogRecordsIt) {
    const fs::path log = dir_ / "wire.log";
    fs::create_directories(dir_);
    SimProcess sim(dir_, {"--port", "COM3", "--receiver", "--log", log.string()});
    ASSERT_EQ(sim.Line(), "COM3");
    sim.Line();
    const int fd = open((dir_ / "COM3").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    const simtest::Bytes in = ReadFor(fd, 100);
    close(fd);
    EXPECT_GE(in.size(), 50u) << "polls and answers without the program sending anything";
    EXPECT_EQ(sim.Stop(SIGINT), 0);
    std::ifstream f(log);
    std::string first;
    std::getline(f, first);
    EXPECT_NE(first.find("receiver 7E E9"), std::string::npos) << first;
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir_ / "COM3")));
}

TEST_F(KestrovaSim, PortGoneRemovesTheEntryWhileRunning) {
    SimProcess sim(dir_, {"--port", "COM4", "--fault", "port-gone"});
    ASSERT_EQ(sim.Line(), "COM4");
    sim.Line();
    EXPECT_TRUE(fs::is_symlink(dir_ / "COM4"));
    EXPECT_TRUE(kestrova::test::WaitUntil(
        [&] { return !fs::exists(fs::symlink_status(dir_ / "COM4")); }, 30'000));
    EXPECT_EQ(sim.Stop(SIGTERM), 0);
}

TEST_F(KestrovaSim, HelpListsKindsAndFaultsAndBadArgumentsFail) {
    SimProcess help(dir_, {"--help"});
    const std::string all = help.Rest();
    for (const char* word :
         {"airspeed", "kxv", "vtx", "fuel", "ignore-enter", "flood", "port-gone"})
        EXPECT_NE(all.find(word), std::string::npos) << word;
    EXPECT_EQ(help.Stop(0), 0);

    SimProcess bad(dir_, {"--port", "COM40"});
    EXPECT_EQ(bad.Stop(0), 2);
    SimProcess clash(dir_, {"--port", "COM1", "--device", "airspeed", "--device", "servo"});
    EXPECT_EQ(clash.Stop(0), 2);
}

}  // namespace
