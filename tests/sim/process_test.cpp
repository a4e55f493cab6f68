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

extern char** environ;

namespace {

namespace fs = std::filesystem;

class SimProcess {
  public:
    SimProcess(const fs::path& dir, std::vector<std::string> args) {
        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, out[1], 1);
        posix_spawn_file_actions_addclose(&fa, out[0]);
        args.insert(args.begin(), KESTROVA_SIM_BINARY);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> env = {"KESTROVA_DEVICES=" + dir.string()};
        for (char** e = environ; *e; ++e)
            if (std::string_view(*e).rfind("KESTROVA_DEVICES=", 0) != 0) env.emplace_back(*e);
        std::vector<char*> envp;
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn(&pid_, KESTROVA_SIM_BINARY, &fa, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&fa);
        close(out[1]);
        out_ = out[0];
    }
    ~SimProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
    }
    // One line of its standard output, or "" after two seconds of nothing.
    std::string Line() {
        std::string line;
        char c;
        while (true) {
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, 2000) <= 0 || read(out_, &c, 1) != 1) return line;
            if (c == '\n') return line;
            line += c;
        }
    }
    // Everything it writes until it closes its output.
    std::string Rest() {
        std::string all;
        char buf[512];
        for (ssize_t n; (n = read(out_, buf, sizeof buf)) > 0;)
            all.append(buf, static_cast<std::size_t>(n));
        return all;
    }
    int Stop(int sig) {
        kill(pid_, sig);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
};

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
        bus::Body b{};
        bus::ReadBody(in, b);
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
    std::this_thread::sleep_for(std::chrono::milliseconds(3300));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir_ / "COM4")));
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
