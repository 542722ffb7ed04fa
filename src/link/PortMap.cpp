#include "link/PortMap.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kPortCount = 16;
using TPortTable = std::array<std::string, kPortCount + 1>;  // [n]: device of "COMn"; [0] unused

// 1 ... 16 for "COM1" ... "COM16" exactly; 0 for every other name.
int PortNumber(std::string_view name) {
    if (name.size() < 4 || name.substr(0, 3) != "COM" || name[3] == '0') return 0;
    int n = 0;
    const char* end = name.data() + name.size();
    const auto [p, ec] = std::from_chars(name.data() + 3, end, n);
    if (ec != std::errc {} || p != end || n < 1 || n > kPortCount) return 0;
    return n;
}

// The entries <prefix><digits> of dir, in numeric order.
std::vector<std::string> NumberedEntries(const std::string& dir, std::string_view prefix) {
    std::vector<std::pair<unsigned long, std::string>> found;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const std::string_view name = e->d_name;
            if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) continue;
            const std::string_view digits = name.substr(prefix.size());
            unsigned long n = 0;
            const auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
            if (ec != std::errc {} || p != digits.data() + digits.size()) continue;
            found.emplace_back(n, std::string(name));
        }
        ::closedir(d);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    for (auto& f : found) names.push_back(std::move(f.second));
    return names;
}

// The 8250 driver registers ports that have no UART behind them; their type
// is unknown. sysfs tells without touching the port. Only where it does not,
// ask the driver: opening with O_NONBLOCK neither waits for carrier nor
// changes the line settings.
bool IsRealUart(const TPortRoots& roots, const std::string& name) {
    std::ifstream typeFile(roots.Sys + "/class/tty/" + name + "/type");
    if (typeFile) {
        int type = PORT_UNKNOWN;
        typeFile >> type;
        return typeFile && type != PORT_UNKNOWN;
    }
    const int fd = ::open((roots.Dev + "/" + name).c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    serial_struct info {};
    const bool real = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return real;
}

TPortTable BuildTable(const TPortRoots& roots) {
    TPortTable table;
    const std::string links = roots.Links.empty() ? DefaultPortLinksDir() : roots.Links;
    if (IsTrustedLinksDir(links)) {
        for (int n = 1; n <= kPortCount; ++n) {
            const std::string link = links + "/COM" + std::to_string(n);
            struct stat st {};
            // A link whose device is gone (a simulator that died) holds no number.
            if (::stat(link.c_str(), &st) == 0) table[n] = link;
        }
    }

    std::vector<std::string> devices;
    for (const std::string& name : NumberedEntries(roots.Dev, "ttyS")) {
        if (IsRealUart(roots, name)) devices.push_back(roots.Dev + "/" + name);
    }
    for (const char* prefix : {"ttyUSB", "ttyACM"}) {
        for (const std::string& name : NumberedEntries(roots.Dev, prefix)) devices.push_back(roots.Dev + "/" + name);
    }

    auto next = devices.begin();
    for (int n = 1; n <= kPortCount && next != devices.end(); ++n) {
        if (table[n].empty()) table[n] = *next++;
    }
    return table;
}

}  // namespace

std::string DefaultPortLinksDir() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string base;
    if (runtime && runtime[0] == '/') {
        base = runtime;
    } else {
        base = "/tmp/quadrelix-" + std::to_string(::getuid());
    }
    return base + "/quadrelix/ports";
}

bool IsTrustedLinksDir(const std::string& dir) {
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

TPortMap::TPortMap(TPortRoots roots) : roots_(std::move(roots)) {}

std::optional<std::string> TPortMap::DevicePath(std::string_view portName) const {
    try {
        const int n = PortNumber(portName);
        if (n == 0) return std::nullopt;
        TPortTable table = BuildTable(roots_);
        if (table[n].empty()) return std::nullopt;
        return std::move(table[n]);
    } catch (...) {
        return std::nullopt;  // out of memory while listing: no device
    }
}
