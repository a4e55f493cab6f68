#include "support/os_pty.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace kestrova::test {

PtyPair::PtyPair() {
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&m_master, &m_slave, name, &raw, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = name;
}

PtyPair::~PtyPair() {
    CloseMaster();
    if (m_slave >= 0) close(m_slave);
}

void PtyPair::CloseMaster() {
    if (m_master >= 0) close(m_master);
    m_master = -1;
}

void PtyPair::Send(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else {
            pollfd p{m_master, POLLOUT, 0};
            if (poll(&p, 1, 1000) <= 0) throw std::runtime_error("pty master blocked");
        }
    }
}

std::string PtyPair::Receive(std::size_t count, int timeoutMs) {
    std::string got;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
        char buf[4096];
        ssize_t n = read(m_master, buf, std::min(sizeof buf, count - got.size()));
        if (n > 0) {
            got.append(buf, static_cast<std::size_t>(n));
            continue;
        }
        pollfd p{m_master, POLLIN, 0};
        poll(&p, 1, 10);
    }
    return got;
}

TempNamespace::TempNamespace() {
    char tmpl[] = "/tmp/kestrova-ns-XXXXXX";
    if (!mkdtemp(tmpl)) throw std::runtime_error("mkdtemp failed");
    m_dir = tmpl;
    if (const char* old = std::getenv("KESTROVA_DEVICES")) {
        m_hadEnv = true;
        m_oldEnv = old;
    }
    setenv("KESTROVA_DEVICES", m_dir.c_str(), 1);
}

TempNamespace::~TempNamespace() {
    std::error_code ec;
    fs::remove_all(m_dir, ec);
    if (m_hadEnv)
        setenv("KESTROVA_DEVICES", m_oldEnv.c_str(), 1);
    else
        unsetenv("KESTROVA_DEVICES");
}

void TempNamespace::Publish(int number, const std::string& target) {
    fs::create_symlink(target, m_dir + "/COM" + std::to_string(number));
}

void TempNamespace::Withdraw(int number) {
    fs::remove(m_dir + "/COM" + std::to_string(number));
}

}  // namespace kestrova::test
