// Downloads from servers the test runs on 127.0.0.1: plain http from a thread, https from the
// openssl tool with a certificate made for the test.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32_net.h"

namespace fs = std::filesystem;

namespace {

int ListenOnLoopback(int& port) {
    int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(s, 8);
    socklen_t len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return s;
}

// A piece of a body that comes `atMs` after the headers.
struct Piece {
    long atMs;
    std::size_t bytes;
};

// Answers by path: /file (complete), /missing (404), /cut (closes mid-body), /silent (never
// answers), /paced (the pieces, each at its time). Stops by itself when the test ends.
class HttpServer {
  public:
    explicit HttpServer(std::vector<Piece> paced = {})
        : m_listen(ListenOnLoopback(m_port)),
          m_paced(std::move(paced)),
          m_thread([this] { Serve(); }) {}
    ~HttpServer() {
        m_stop = true;
        m_thread.join();
        close(m_listen);
    }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }
    static std::string Body() { return std::string(50000, 'k') + "end"; }

  private:
    void Serve() {
        while (!m_stop) {
            pollfd p{m_listen, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0) continue;
            int c = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0) continue;
            std::string request;
            char buf[1024];
            while (request.find("\r\n\r\n") == std::string::npos) {
                ssize_t n = read(c, buf, sizeof buf);
                if (n <= 0) break;
                request.append(buf, static_cast<std::size_t>(n));
            }
            std::string path = request.substr(4, request.find(' ', 4) - 4);
            if (path == "/file") {
                Send(c, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(Body().size()) +
                            "\r\nConnection: close\r\n\r\n" + Body());
            } else if (path == "/cut") {
                Send(c, "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\nConnection: close\r\n\r\n" +
                            std::string(1000, 'x'));
            } else if (path == "/paced") {
                std::size_t size = 0;
                for (const Piece& p : m_paced) size += p.bytes;
                Send(c, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) +
                            "\r\nConnection: close\r\n\r\n");
                // On a schedule from the headers, so a late piece does not delay the next ones.
                const auto start = std::chrono::steady_clock::now();
                for (const Piece& p : m_paced) {
                    std::this_thread::sleep_until(start + std::chrono::milliseconds(p.atMs));
                    if (m_stop || !Send(c, std::string(p.bytes, 'k'))) break;
                }
            } else if (path == "/silent") {
                for (int i = 0; i < 100 && !m_stop; ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
            } else {
                Send(c,
                     "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\n"
                     "not found");
            }
            close(c);
        }
    }
    // False once the client has gone.
    static bool Send(int c, const std::string& s) {
        std::size_t done = 0;
        while (done < s.size()) {
            ssize_t n = send(c, s.data() + done, s.size() - done, MSG_NOSIGNAL);
            if (n <= 0) return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    int m_port = 0;
    int m_listen;
    std::vector<Piece> m_paced;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class DownloadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("kestrova-dl-" + std::to_string(getpid()));
        fs::create_directories(dir);
        target = (dir / "Version.txt").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    // Nothing but the target (if any) is left in the directory.
    std::size_t FilesLeft() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
    }
    fs::path dir;
    std::string target;
};

TEST_F(DownloadTest, HttpBodyArrivesUnderTheTargetName) {
    HttpServer server;
    ASSERT_EQ(URLDownloadToFileA(nullptr, server.Url("/file").c_str(), target.c_str(), 0, nullptr),
              S_OK);
    EXPECT_EQ(ReadAll(target), HttpServer::Body());
    EXPECT_EQ(FilesLeft(), 1u) << "no temporary file stays behind";
}

TEST_F(DownloadTest, FailuresLeaveNoFileAndKeepAnOldOne) {
    HttpServer server;
    EXPECT_EQ(
        URLDownloadToFileA(nullptr, server.Url("/missing").c_str(), target.c_str(), 0, nullptr),
        INET_E_RESOURCE_NOT_FOUND);
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(FAILED(
        URLDownloadToFileA(nullptr, server.Url("/cut").c_str(), target.c_str(), 0, nullptr)));
    EXPECT_FALSE(fs::exists(target)) << "a cut download must not look like a file";
    EXPECT_EQ(FilesLeft(), 0u);

    std::ofstream(target) << "31";
    EXPECT_TRUE(FAILED(
        URLDownloadToFileA(nullptr, server.Url("/cut").c_str(), target.c_str(), 0, nullptr)));
    EXPECT_EQ(ReadAll(target), "31");
}

TEST_F(DownloadTest, SilentServerAndClosedPortFailWithinTheTimeouts) {
    HttpServer server;
    platform::SetDownloadTimeouts(1000, 300);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(
        URLDownloadToFileA(nullptr, server.Url("/silent").c_str(), target.c_str(), 0, nullptr),
        INET_E_CONNECTION_TIMEOUT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    int port = 0;
    close(ListenOnLoopback(port));  // a port nobody listens on
    std::string url = "http://127.0.0.1:" + std::to_string(port) + "/x";
    EXPECT_EQ(URLDownloadToFileA(nullptr, url.c_str(), target.c_str(), 0, nullptr),
              INET_E_CANNOT_CONNECT);
    EXPECT_TRUE(
        FAILED(URLDownloadToFileA(nullptr, "ftp://127.0.0.1/x", target.c_str(), 0, nullptr)));
    EXPECT_EQ(FilesLeft(), 0u);
    platform::SetDownloadTimeouts(15000, 300000);
}

// `bytesPerSecond` for `ms`, a piece every 20 ms.
std::vector<Piece> Trickle(std::size_t bytesPerSecond, long ms) {
    std::vector<Piece> pieces;
    for (long at = 0; at < ms; at += 20) pieces.push_back({at, bytesPerSecond / 50});
    return pieces;
}

struct PaceCase {
    const char* name;
    std::vector<Piece> body;
    bool passes;
};

void PrintTo(const PaceCase& c, std::ostream* out) {
    *out << c.name;
}

class LowestSpeed : public DownloadTest, public ::testing::WithParamInterface<PaceCase> {};

// The rule at its real window, 15 x 1000 bytes in any 15 s, on a clock five times as fast: 15000
// bytes in any 3 s.
constexpr long kWindowSeconds = 3;
constexpr std::size_t kScaledRate = 5000;

TEST_P(LowestSpeed, FailsOnceTheLastWindowBroughtTooLittle) {
    const platform::DownloadOptions real;
    ASSERT_EQ(real.lowSpeedBytesPerSecond * real.lowSpeedSeconds,
              static_cast<long>(kScaledRate) * kWindowSeconds);
    platform::DownloadOptions scaled;
    scaled.lowSpeedSeconds = kWindowSeconds;
    scaled.lowSpeedBytesPerSecond = kScaledRate;
    HttpServer server(GetParam().body);
    const auto start = std::chrono::steady_clock::now();
    const HRESULT hr =
        platform::DownloadToFile(server.Url("/paced").c_str(), target.c_str(), scaled);
    std::printf("%s: %s after %.2f s\n", GetParam().name, hr == S_OK ? "done" : "failed",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    EXPECT_EQ(hr, GetParam().passes ? S_OK : INET_E_CONNECTION_TIMEOUT);
    EXPECT_EQ(FilesLeft(), GetParam().passes ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Downloads, LowestSpeed,
    ::testing::Values(
        PaceCase{"SilenceJustUnderTheWindow", {{0, 20000}, {2700, 20000}}, true},
        PaceCase{"SilenceJustOverTheWindow", {{0, 20000}, {3300, 20000}}, false},
        PaceCase{"TrickleJustUnderTheRate", Trickle(kScaledRate * 9 / 10, 6000), false},
        PaceCase{"TrickleJustOverTheRate", Trickle(kScaledRate * 11 / 10, 5000), true}),
    [](const ::testing::TestParamInfo<PaceCase>& info) { return std::string(info.param.name); });

// `openssl s_server -WWW` serving `dir` over TLS with a certificate for 127.0.0.1.
class TlsServer {
  public:
    explicit TlsServer(const fs::path& dir) : m_dir(dir) {
        cert = (dir / "cert.pem").string();
        std::string key = (dir / "key.pem").string();
        std::string make =
            "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 "
            "-nodes -days 2 -subj /CN=127.0.0.1 "
            "-addext subjectAltName=IP:127.0.0.1 -keyout " +
            key + " -out " + cert + " >/dev/null 2>&1";
        if (std::system(make.c_str()) != 0) return;
        close(ListenOnLoopback(m_port));
        m_pid = fork();
        if (m_pid == 0) {
            if (chdir(dir.c_str()) != 0) _exit(1);
            execlp("openssl", "openssl", "s_server", "-quiet", "-WWW", "-accept",
                   ("127.0.0.1:" + std::to_string(m_port)).c_str(), "-cert", cert.c_str(), "-key",
                   key.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 250 && !Ready(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ~TlsServer() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    bool Ready() const {
        if (m_pid <= 0) return false;
        int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(static_cast<uint16_t>(m_port));
        bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        close(s);
        return ok;
    }
    std::string Url(const std::string& file) const {
        return "https://127.0.0.1:" + std::to_string(m_port) + "/" + file;
    }
    std::string cert;

  private:
    fs::path m_dir;
    int m_port = 0;
    pid_t m_pid = -1;
};

TEST_F(DownloadTest, HttpsNeedsATrustedCertificate) {
    fs::path served = dir / "served";
    fs::create_directories(served);
    std::ofstream(served / "version.txt") << "32\n";
    TlsServer server(served);
    ASSERT_TRUE(server.Ready()) << "openssl s_server did not start";
    std::string out = (dir / "got.txt").string();

    unsetenv("CURL_CA_BUNDLE");
    unsetenv("SSL_CERT_FILE");
    EXPECT_EQ(
        URLDownloadToFileA(nullptr, server.Url("version.txt").c_str(), out.c_str(), 0, nullptr),
        INET_E_SECURITY_PROBLEM);
    EXPECT_FALSE(fs::exists(out));

    setenv("CURL_CA_BUNDLE", server.cert.c_str(), 1);
    ASSERT_EQ(
        URLDownloadToFileA(nullptr, server.Url("version.txt").c_str(), out.c_str(), 0, nullptr),
        S_OK);
    EXPECT_EQ(ReadAll(out), "32\n");
    unsetenv("CURL_CA_BUNDLE");
}

TEST(NetworkState, AliveMeansANonLoopbackInterfaceIsUp) {
    DWORD flags = 0xFF;
    BOOL alive = IsNetworkAlive(&flags);
    EXPECT_EQ(flags, alive ? NETWORK_ALIVE_LAN : 0u);
    EXPECT_EQ(IsNetworkAlive(nullptr), alive);
}

}  // namespace
