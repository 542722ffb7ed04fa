#pragma once
// Helpers of the link tests: temporary port roots, a bare pseudo-terminal the
// test drives by hand, clocks and error codes. Nothing here touches the
// machine's own serial ports.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "link/PortMap.h"
#include "link/TCommPort.h"

namespace linktest {

using Clock = std::chrono::steady_clock;

inline long MsSince(Clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// The code of the ECommError that f raises; 0 when it raises none.
template <typename F>
int CommErrorCode(F&& f) {
    try {
        f();
    } catch (const ECommError& e) {
        return e.Code();
    }
    return 0;
}

class TTempDir {
public:
    TTempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qx-link-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::system_error(errno, std::generic_category(), "mkdtemp");
        path_ = pattern;
    }
    ~TTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string MakeDir(const std::string& relative) const {
        const std::string p = path_ + "/" + relative;
        std::filesystem::create_directories(p);
        ::chmod(p.c_str(), 0700);
        return p;
    }

private:
    std::string path_;
};

// Temporary /dev, /sys and port-links directory: no system device exists
// unless a test puts one there.
struct TTempRoots {
    TTempDir dir;
    TPortRoots roots {dir.MakeDir("dev"), dir.MakeDir("sys"), dir.MakeDir("ports")};

    std::shared_ptr<const TPortMap> Map() const { return std::make_shared<const TPortMap>(roots); }
    std::string Link(const std::string& portName, const std::string& target) const {
        const std::string link = roots.Links + "/" + portName;
        std::filesystem::create_symlink(target, link);
        return link;
    }
};

// A pseudo-terminal whose master the test drives. The slave is kept open
// here too, so its settings can be read while a port has it and the master
// never sees a hang-up when the port closes.
class TPty {
public:
    TPty() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) Fail("posix_openpt");
        char name[128];
        if (::ptsname_r(master_, name, sizeof name) != 0) Fail("ptsname_r");
        slavePath_ = name;
        slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (slave_ < 0) Fail("open slave");
        termios t {};
        ::tcgetattr(slave_, &t);
        cfmakeraw(&t);
        ::tcsetattr(slave_, TCSANOW, &t);
        ::fcntl(master_, F_SETFL, O_NONBLOCK);
    }
    ~TPty() {
        if (master_ >= 0) ::close(master_);
        if (slave_ >= 0) ::close(slave_);
    }
    TPty(const TPty&) = delete;
    TPty& operator=(const TPty&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    int Slave() const { return slave_; }

    void Send(const std::string& bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t w = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (w > 0) {
                done += static_cast<std::size_t>(w);
            } else {
                pollfd p {master_, POLLOUT, 0};
                if (::poll(&p, 1, 1000) <= 0) Fail("write to master");
            }
        }
    }
    // What the port sent, collected until nothing more comes for quietMs.
    std::string Collect(int quietMs = 30) const {
        std::string got;
        char buf[512];
        for (;;) {
            pollfd p {master_, POLLIN, 0};
            if (::poll(&p, 1, quietMs) <= 0) return got;
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0) return got;
            got.append(buf, static_cast<std::size_t>(n));
        }
    }
    // Closes the master: the slave side is hung up.
    void HangUp() {
        ::close(master_);
        master_ = -1;
    }
    speed_t SlaveSpeed() const {
        termios t {};
        ::tcgetattr(slave_, &t);
        return cfgetospeed(&t);
    }

private:
    [[noreturn]] static void Fail(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace linktest
