#include "sim/pty_port.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace sim {

std::unique_ptr<PtyPort> PtyPort::Open(std::string& error) {
    std::unique_ptr<PtyPort> p(new PtyPort);
    p->master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (p->master_ < 0 || grantpt(p->master_) != 0 || unlockpt(p->master_) != 0) {
        error = std::string("cannot make a pseudo-terminal: ") + std::strerror(errno);
        return nullptr;
    }
    const char* name = ptsname(p->master_);
    if (!name) {
        error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        return nullptr;
    }
    p->slavePath_ = name;
    p->slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (p->slave_ < 0) {
        error = std::string("cannot open ") + name + ": " + std::strerror(errno);
        return nullptr;
    }
    // Raw both ways: no echo from the line discipline (the bus echoes), no translation.
    termios t{};
    tcgetattr(p->slave_, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, B57600);
    cfsetospeed(&t, B57600);
    tcsetattr(p->slave_, TCSANOW, &t);
    ::fcntl(p->master_, F_SETFL, ::fcntl(p->master_, F_GETFL) | O_NONBLOCK);
    return p;
}

void PtyPort::Close() {
    if (master_ >= 0) ::close(master_);
    if (slave_ >= 0) ::close(slave_);
    master_ = slave_ = -1;
}

PtyPort::~PtyPort() {
    Close();
}

std::string PortDirectory() {
    if (const char* d = std::getenv("KESTROVA_DEVICES"); d && *d) return d;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.kestrova/devices";
}

bool PublishPort(const std::string& dir, int port, const std::string& target, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        error = "cannot create " + dir + ": " + ec.message();
        return false;
    }
    const fs::path entry = fs::path(dir) / ("COM" + std::to_string(port));
    const auto status = fs::symlink_status(entry, ec);
    if (fs::exists(status)) {
        // A stale link from a simulator that was killed is ours to replace; anything else
        // belongs to someone and stays.
        if (!fs::is_symlink(status)) {
            error = entry.string() + " exists and is not a link";
            return false;
        }
        fs::remove(entry, ec);
    }
    fs::create_symlink(target, entry, ec);
    if (ec) {
        error = "cannot publish " + entry.string() + ": " + ec.message();
        return false;
    }
    return true;
}

void UnpublishPort(const std::string& dir, int port, const std::string& target) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path entry = fs::path(dir) / ("COM" + std::to_string(port));
    if (fs::is_symlink(fs::symlink_status(entry, ec)) && fs::read_symlink(entry, ec) == target)
        fs::remove(entry, ec);
}

}  // namespace sim
