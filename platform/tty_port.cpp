// A port on a tty device through termios.

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>

#include "platform/comm_port.h"

namespace platform {
namespace {

struct BaudRate {
    DWORD rate;
    speed_t speed;
};
constexpr BaudRate kBaudRates[] = {
    {110, B110},         {300, B300},         {600, B600},         {1200, B1200},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},
    {38400, B38400},     {57600, B57600},     {115200, B115200},   {230400, B230400},
    {460800, B460800},   {500000, B500000},   {576000, B576000},   {921600, B921600},
    {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000}, {2000000, B2000000},
    {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

bool SpeedOf(DWORD rate, speed_t& speed) {
    for (const auto& b : kBaudRates)
        if (b.rate == rate) return speed = b.speed, true;
    return false;
}

DWORD RateOf(speed_t speed) {
    for (const auto& b : kBaudRates)
        if (b.speed == speed) return b.rate;
    return 0;
}

// An open tty whose device went away answers with these; it is then gone for good.
bool IsVanished(int error) {
    return error == EIO || error == ENXIO || error == ENODEV || error == EPIPE;
}

bool FailPortIo(int error) {
    SetLastError(IsVanished(error) ? ERROR_DEVICE_NOT_CONNECTED : Win32ErrorFromErrno(error));
    return false;
}

// USB serial adapters hold received bytes back for up to 16 ms by default (the FTDI latency
// timer), while the bus scan reads each answer one 4 ms tick after its poll. Their drivers take
// the low-latency flag of the serial-info ioctl as "hand bytes over at once" (FTDI: a 1 ms
// timer). Drivers without serial info (ptys, some adapters) refuse, and the port works as it is.
void RequestLowLatency(int fd) {
    serial_struct info{};
    if (ioctl(fd, TIOCGSERIAL, &info) != 0) return;
    if (info.flags & ASYNC_LOW_LATENCY) return;
    info.flags |= ASYNC_LOW_LATENCY;
    ioctl(fd, TIOCSSERIAL, &info);
}

constexpr tcflag_t kLineBits = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;

class TtyPort : public CommPort {
  public:
    explicit TtyPort(int fd) : m_fd(fd), m_kept(DefaultState()) {}
    int InputDescriptor() const override { return m_fd; }
    ~TtyPort() override {
        ioctl(m_fd, TIOCNXCL);
        close(m_fd);  // also drops the lock
    }

    bool GetState(DCB& dcb) override {
        termios t{};
        if (tcgetattr(m_fd, &t) != 0) return FailPortIo(errno);
        dcb = m_kept;
        dcb.BaudRate = RateOf(cfgetospeed(&t));
        switch (t.c_cflag & CSIZE) {
            case CS5:
                dcb.ByteSize = 5;
                break;
            case CS6:
                dcb.ByteSize = 6;
                break;
            case CS7:
                dcb.ByteSize = 7;
                break;
            default:
                dcb.ByteSize = 8;
                break;
        }
        if (!(t.c_cflag & PARENB))
            dcb.Parity = NOPARITY;
        else if (t.c_cflag & CMSPAR)
            dcb.Parity = (t.c_cflag & PARODD) ? MARKPARITY : SPACEPARITY;
        else
            dcb.Parity = (t.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
        if (!(t.c_cflag & CSTOPB))
            dcb.StopBits = ONESTOPBIT;
        else
            dcb.StopBits = dcb.ByteSize == 5 ? ONE5STOPBITS : TWOSTOPBITS;
        dcb.fBinary = 1;
        dcb.fParity = (t.c_iflag & INPCK) ? 1 : 0;
        const bool rtscts = (t.c_cflag & CRTSCTS) != 0;
        dcb.fOutxCtsFlow = rtscts;
        if (rtscts)
            dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
        else if (dcb.fRtsControl == RTS_CONTROL_HANDSHAKE)
            dcb.fRtsControl = RTS_CONTROL_ENABLE;
        dcb.fOutX = (t.c_iflag & IXON) ? 1 : 0;
        dcb.fInX = (t.c_iflag & IXOFF) ? 1 : 0;
        dcb.XonChar = static_cast<char>(t.c_cc[VSTART]);
        dcb.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
        return true;
    }

    bool SetState(const DCB& dcb) override {
        speed_t speed;
        if (!SpeedOf(dcb.BaudRate, speed)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        termios before{};
        if (tcgetattr(m_fd, &before) != 0) return FailPortIo(errno);
        termios t = before;
        cfmakeraw(&t);
        t.c_cflag &= ~kLineBits;
        t.c_cflag |= CLOCAL | CREAD;
        static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
        t.c_cflag |= kSizes[dcb.ByteSize - 5];
        switch (dcb.Parity) {
            case ODDPARITY:
                t.c_cflag |= PARENB | PARODD;
                break;
            case EVENPARITY:
                t.c_cflag |= PARENB;
                break;
            case MARKPARITY:
                t.c_cflag |= PARENB | CMSPAR | PARODD;
                break;
            case SPACEPARITY:
                t.c_cflag |= PARENB | CMSPAR;
                break;
            default:
                break;
        }
        if (dcb.StopBits != ONESTOPBIT) t.c_cflag |= CSTOPB;
        if (dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) t.c_cflag |= CRTSCTS;
        if (dcb.fParity && dcb.Parity != NOPARITY) t.c_iflag |= INPCK;
        if (dcb.fOutX) t.c_iflag |= IXON;
        if (dcb.fInX) t.c_iflag |= IXOFF;
        t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
        t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
        t.c_cc[VMIN] = 0;
        t.c_cc[VTIME] = 0;
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
        if (tcsetattr(m_fd, TCSANOW, &t) != 0) return FailPortIo(errno);
        // tcsetattr succeeds when any part was taken; a driver that quietly kept its own
        // framing has refused the settings, and the line goes back to what it was.
        termios after{};
        if (tcgetattr(m_fd, &after) != 0) return FailPortIo(errno);
        if ((after.c_cflag & kLineBits) != (t.c_cflag & kLineBits) ||
            cfgetospeed(&after) != speed) {
            tcsetattr(m_fd, TCSANOW, &before);
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        m_kept = dcb;
        return true;
    }

    bool Purge(DWORD flags) override {
        int which = -1;
        if ((flags & PURGE_RXCLEAR) && (flags & PURGE_TXCLEAR))
            which = TCIOFLUSH;
        else if (flags & PURGE_RXCLEAR)
            which = TCIFLUSH;
        else if (flags & PURGE_TXCLEAR)
            which = TCOFLUSH;
        if (which >= 0 && tcflush(m_fd, which) != 0) return FailPortIo(errno);
        if (which < 0 && !Waiting()) return false;  // still report a vanished device
        return true;
    }

    bool Status(DWORD& errors, COMSTAT& status) override {
        int in = 0, out = 0;
        if (ioctl(m_fd, FIONREAD, &in) != 0) return FailPortIo(errno);
        if (ioctl(m_fd, TIOCOUTQ, &out) != 0) return FailPortIo(errno);
        errors = 0;
        status = COMSTAT{};
        status.cbInQue = static_cast<DWORD>(in);
        status.cbOutQue = static_cast<DWORD>(out);
        return true;
    }

    bool Read(void* buffer, DWORD count, DWORD& read) override {
        // The count waiting first: a hung-up tty fails the query, while its read would only
        // report end of file, indistinguishable from "nothing yet" in raw mode.
        auto waiting = Waiting();
        if (!waiting) return false;
        DWORD avail = static_cast<DWORD>(*waiting);
        DWORD want = count < avail ? count : avail;
        if (want == 0) return true;
        ssize_t n = ::read(m_fd, buffer, want);
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) return true;
            return FailPortIo(errno);
        }
        if (n == 0) return FailPortIo(EIO);  // bytes were waiting: end of file means hang-up
        read = static_cast<DWORD>(n);
        return true;
    }

    bool Write(const void* buffer, DWORD count, DWORD& written) override {
        using Clock = std::chrono::steady_clock;
        // Allow the wire time of the whole buffer at the slowest common rate, plus slack.
        const auto deadline = Clock::now() + std::chrono::milliseconds(2000 + count);
        const auto* bytes = static_cast<const unsigned char*>(buffer);
        while (written < count) {
            ssize_t n = ::write(m_fd, bytes + written, count - written);
            if (n > 0) {
                written += static_cast<DWORD>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno != EAGAIN) return FailPortIo(errno);
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) break;
            pollfd p{m_fd, POLLOUT, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) < 0 && errno != EINTR)
                return FailPortIo(errno);
            if (p.revents & (POLLHUP | POLLERR)) return FailPortIo(EIO);
        }
        if (written == 0 && count > 0) {
            SetLastError(ERROR_SEM_TIMEOUT);
            return false;
        }
        return true;
    }

  private:
    std::optional<int> Waiting() {
        int in = 0;
        if (ioctl(m_fd, FIONREAD, &in) != 0) {
            FailPortIo(errno);
            return std::nullopt;
        }
        return in;
    }

    int m_fd;
    DCB m_kept;  // what termios cannot hold (XON/XOFF limits, DTR and RTS modes)
};

}  // namespace

std::unique_ptr<CommPort> OpenTtyPort(const std::string& path) {
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        int e = errno;
        // A device node with no device behind it is as absent as a missing file.
        if (IsVanished(e)) e = ENOENT;
        FailWithErrno(e);
        return nullptr;
    }
    // The lock refuses every other opener that asks (this process included); TIOCEXCL also
    // refuses unprivileged programs that do not.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int e = errno;
        close(fd);
        FailWith(e == EWOULDBLOCK ? ERROR_ACCESS_DENIED : Win32ErrorFromErrno(e));
        return nullptr;
    }
    if (isatty(fd)) {
        ioctl(fd, TIOCEXCL);
        RequestLowLatency(fd);
    }
    return std::make_unique<TtyPort>(fd);
}

}  // namespace platform
