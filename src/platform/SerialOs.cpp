#include "platform/SerialOs.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

namespace SerialOs {

namespace {

using Clock = std::chrono::steady_clock;  // monotonic: immune to clock changes

struct TSpeed {
    std::uint32_t baud;
    speed_t code;
};

constexpr TSpeed kSpeeds[] = {
    {50, B50},         {75, B75},         {110, B110},         {134, B134},         {150, B150},
    {200, B200},       {300, B300},       {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000}, {921600, B921600}, {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

bool SpeedCode(std::uint32_t baud, speed_t& code) {
    for (const TSpeed& s : kSpeeds) {
        if (s.baud == baud) {
            code = s.code;
            return true;
        }
    }
    return false;
}

std::uint32_t BaudOf(speed_t code) {
    for (const TSpeed& s : kSpeeds) {
        if (s.code == code) return s.baud;
    }
    return 0;
}

// Pseudo-terminals (Unix 98 slaves) force 8 bits without parity and ignore
// the rest of the line; only their speed can be checked after setting it.
bool IsPseudoTerminal(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned maj = major(st.st_rdev);
    return maj >= 136 && maj <= 143;
}

// ENOTTY/EINVAL from a line ioctl: the device has no such lines or queue
// (a pseudo-terminal), which is no failure.
bool Unsupported(int err) { return err == ENOTTY || err == EINVAL; }

// Milliseconds to wait for poll until deadline, rounded up so that poll never
// wakes before it; 0 when the deadline has passed.
int MsUntil(Clock::time_point deadline) {
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) return 0;
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(left).count();
    return static_cast<int>((us + 999) / 1000);
}

constexpr tcflag_t kLineBits = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;

}  // namespace

int OpenExclusive(const std::string& path, int& fd) {
    fd = -1;
    const int f = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (f < 0) return errno;
    // flock keeps out every other open of the device, root's included;
    // TIOCEXCL keeps out programs that do not take the lock.
    if (::flock(f, LOCK_EX | LOCK_NB) != 0 || ::ioctl(f, TIOCEXCL) != 0) {
        const int err = errno;
        ::close(f);
        return err;
    }
    fd = f;
    return 0;
}

int Close(int fd) {
    ::ioctl(fd, TIOCNXCL);  // fails harmlessly on a hung-up device
    return ::close(fd) == 0 ? 0 : errno;
}

int GetLine(int fd, TLineSettings& out) {
    termios t {};
    if (::tcgetattr(fd, &t) != 0) return errno;
    out.BaudRate = BaudOf(cfgetospeed(&t));
    switch (t.c_cflag & CSIZE) {
    case CS5: out.ByteSize = 5; break;
    case CS6: out.ByteSize = 6; break;
    case CS7: out.ByteSize = 7; break;
    default: out.ByteSize = 8; break;
    }
    if (!(t.c_cflag & PARENB)) {
        out.Parity = ParityNone;
    } else if (t.c_cflag & CMSPAR) {
        out.Parity = (t.c_cflag & PARODD) ? ParityMark : ParitySpace;
    } else {
        out.Parity = (t.c_cflag & PARODD) ? ParityOdd : ParityEven;
    }
    // With five data bits a UART sends one and a half stop bits for CSTOPB.
    if (t.c_cflag & CSTOPB) {
        out.StopBits = out.ByteSize == 5 ? StopOneAndHalf : StopTwo;
    } else {
        out.StopBits = StopOne;
    }

    int bits = 0;
    if (::ioctl(fd, TIOCMGET, &bits) != 0) {
        if (!Unsupported(errno)) return errno;
        bits = 0;
    }
    out.Dtr = (bits & TIOCM_DTR) ? TLineControl::On : TLineControl::Off;
    if (t.c_cflag & CRTSCTS) {
        out.Rts = TLineControl::Handshake;
    } else {
        out.Rts = (bits & TIOCM_RTS) ? TLineControl::On : TLineControl::Off;
    }
    return 0;
}

int ApplyLine(int fd, const TLineSettings& s) {
    speed_t speed {};
    if (!SpeedCode(s.BaudRate, speed)) return EINVAL;
    if (s.ByteSize < 5 || s.ByteSize > 8) return EINVAL;
    if (s.Parity > ParitySpace) return EINVAL;
    // Like any UART: one and a half stop bits only with five data bits, two
    // stop bits never with five.
    if (s.StopBits > StopTwo) return EINVAL;
    if (s.StopBits == StopOneAndHalf && s.ByteSize != 5) return EINVAL;
    if (s.StopBits == StopTwo && s.ByteSize == 5) return EINVAL;
    // Linux has no DTR/DSR flow control.
    if (s.Dtr == TLineControl::Handshake) return EINVAL;

    termios before {};
    if (::tcgetattr(fd, &before) != 0) return errno;
    termios t = before;
    cfmakeraw(&t);
    t.c_cflag &= ~kLineBits;
    t.c_cflag |= CLOCAL | CREAD;  // ignore carrier: a missing DCD must not hang up the line
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= kSizes[s.ByteSize - 5];
    switch (s.Parity) {
    case ParityOdd: t.c_cflag |= PARENB | PARODD; break;
    case ParityEven: t.c_cflag |= PARENB; break;
    case ParityMark: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case ParitySpace: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    if (s.StopBits != StopOne) t.c_cflag |= CSTOPB;
    if (s.Rts == TLineControl::Handshake) t.c_cflag |= CRTSCTS;
    const bool pseudo = IsPseudoTerminal(fd);
    if (pseudo) {
        // A pseudo-terminal always carries 8 bits without parity, and the C
        // library calls a request for anything else invalid.
        t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR);
        t.c_cflag |= CS8;
    }
    // Reads are timed by poll, so the driver must never wait by itself.
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    cfsetospeed(&t, speed);
    cfsetispeed(&t, speed);
    if (::tcsetattr(fd, TCSANOW, &t) != 0) return errno;

    // tcsetattr succeeds when the driver took any part of the request, so
    // read back what the device really does.
    termios now {};
    if (::tcgetattr(fd, &now) != 0) return errno;
    bool taken = cfgetospeed(&now) == speed;
    if (!pseudo) taken = taken && (now.c_cflag & kLineBits) == (t.c_cflag & kLineBits);
    if (!taken) {
        ::tcsetattr(fd, TCSANOW, &before);
        return EINVAL;
    }

    auto drive = [fd](int line, bool on) -> int {
        if (::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0) return 0;
        return Unsupported(errno) ? 0 : errno;
    };
    if (int err = drive(TIOCM_DTR, s.Dtr == TLineControl::On)) return err;
    if (s.Rts != TLineControl::Handshake) {
        if (int err = drive(TIOCM_RTS, s.Rts == TLineControl::On)) return err;
    }
    return 0;
}

int PurgeInput(int fd) { return ::tcflush(fd, TCIFLUSH) == 0 ? 0 : errno; }

int DrainOutput(int fd) {
    // tcdrain has no time limit; wait for the driver's queue ourselves while it
    // makes progress, and give up when it stops for a second.
    constexpr auto kStall = std::chrono::seconds(1);
    int queued = 0;
    if (::ioctl(fd, TIOCOUTQ, &queued) != 0) {
        if (!Unsupported(errno)) return errno;
        queued = 0;
    }
    int last = queued;
    auto progress = Clock::now();
    while (queued > 0) {
        if (Clock::now() - progress > kStall) return ETIMEDOUT;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0) return errno;
        if (queued < last) {
            last = queued;
            progress = Clock::now();
        }
    }
    // What is left is the UART's own FIFO: a few byte times.
    while (::tcdrain(fd) != 0) {
        if (errno != EINTR) return errno;
    }
    return 0;
}

int InputCount(int fd, std::uint32_t& count) {
    int n = 0;
    if (::ioctl(fd, FIONREAD, &n) != 0) return errno;
    count = n > 0 ? static_cast<std::uint32_t>(n) : 0;
    return 0;
}

int Read(int fd, char* buffer, std::size_t max, const TReadTimeouts& timeouts, std::size_t& got) {
    got = 0;
    if (max == 0) return 0;
    const auto start = Clock::now();
    const std::uint64_t totalMs =
        std::uint64_t {timeouts.TotalConstantMs} + std::uint64_t {timeouts.TotalMultiplierMs} * max;
    const bool hasTotal = timeouts.TotalConstantMs != 0 || timeouts.TotalMultiplierMs != 0;
    const auto totalDeadline = start + std::chrono::milliseconds(totalMs);
    Clock::time_point lastByte {};
    bool readable = false;  // poll has just reported input

    while (got < max) {
        const ssize_t n = ::read(fd, buffer + got, max - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            lastByte = Clock::now();
            readable = false;
            continue;
        }
        if (n == 0) {
            // With VMIN 0 a terminal answers 0 when nothing is waiting; right
            // after poll reported input it is the end of file of a hung-up line.
            if (readable) return EIO;
        } else {
            if (errno == EINTR) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) return errno;
        }

        bool limited = false;
        Clock::time_point deadline = Clock::time_point::max();
        if (hasTotal) {
            deadline = totalDeadline;
            limited = true;
        }
        if (got > 0 && timeouts.IntervalMs != 0) {
            const auto intervalEnd = lastByte + std::chrono::milliseconds(timeouts.IntervalMs);
            if (!limited || intervalEnd < deadline) deadline = intervalEnd;
            limited = true;
        }
        int waitMs = -1;
        if (limited) {
            waitMs = MsUntil(deadline);
            if (waitMs == 0) return 0;
        }
        pollfd p {fd, POLLIN, 0};
        const int r = ::poll(&p, 1, waitMs);
        if (r < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (p.revents & POLLNVAL) return EBADF;
        if (!(p.revents & POLLIN) && (p.revents & (POLLHUP | POLLERR))) return EIO;
        readable = (p.revents & POLLIN) != 0;
    }
    return 0;
}

int Write(int fd, const char* data, std::size_t n, std::uint32_t totalMs, std::size_t& written) {
    written = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(totalMs);
    while (written < n) {
        const ssize_t w = ::write(fd, data + written, n - written);
        if (w > 0) {
            written += static_cast<std::size_t>(w);
            continue;
        }
        if (w == 0) return EIO;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return errno;
        const int waitMs = MsUntil(deadline);
        if (waitMs == 0) return 0;  // out of time: what was taken counts
        pollfd p {fd, POLLOUT, 0};
        const int r = ::poll(&p, 1, waitMs);
        if (r < 0 && errno != EINTR) return errno;
        if (r > 0 && (p.revents & POLLNVAL)) return EBADF;
        if (r > 0 && !(p.revents & POLLOUT) && (p.revents & (POLLHUP | POLLERR))) return EIO;
    }
    return 0;
}

}  // namespace SerialOs
