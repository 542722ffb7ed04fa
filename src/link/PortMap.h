#pragma once
// Port names "COM1" ... "COM16" to serial devices on this machine.
//
// Order: a link of exactly that name in the port-links directory (trusted only
// when the directory belongs to the user and is not writable by group or
// others), then the system's serial devices (real UARTs among ttyS, then
// ttyUSB, then ttyACM, each in numeric order) over the numbers that the links
// left free, in ascending order. No Qt here.

#include <optional>
#include <string>
#include <string_view>

struct TPortRoots {
    std::string Dev = "/dev";
    std::string Sys = "/sys";
    std::string Links;  // empty: DefaultPortLinksDir()
};

// <runtime>/quadrelix/ports, <runtime> being $XDG_RUNTIME_DIR, else /tmp/quadrelix-<uid>.
std::string DefaultPortLinksDir();

// Whether links in dir may be followed: a real directory (not a symlink)
// owned by this user and writable by nobody else.
bool IsTrustedLinksDir(const std::string& dir);

class TPortMap {
public:
    explicit TPortMap(TPortRoots roots = {});

    // The device path for "COM1" ... "COM16"; nullopt for any other name or
    // a number that maps to nothing. Never throws, changes no port's settings.
    std::optional<std::string> DevicePath(std::string_view portName) const;

    const TPortRoots& Roots() const { return roots_; }

private:
    TPortRoots roots_;
};
