// Port names to devices over temporary /dev, /sys and port-links roots.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include "LinkFixture.h"
#include "link/PortMap.h"

using namespace linktest;

namespace {

class PortMapTest : public ::testing::Test {
protected:
    // A device node stand-in: mapping looks at names, not at the files.
    void Device(const std::string& name) const { std::ofstream(roots.roots.Dev + "/" + name) << ""; }
    // The serial core's view of a ttyS port: type 0 is an unknown UART.
    void UartType(const std::string& name, int type) const {
        const std::string dir = roots.roots.Sys + "/class/tty/" + name;
        std::filesystem::create_directories(dir);
        std::ofstream(dir + "/type") << type << "\n";
    }
    // The device name behind "COMn", relative to the roots; "" for none.
    std::string Resolved(const TPortMap& map, int n) const {
        const std::optional<std::string> path = map.DevicePath("COM" + std::to_string(n));
        if (!path) return "";
        for (const std::string& root : {roots.roots.Dev, roots.roots.Links}) {
            if (path->rfind(root + "/", 0) == 0) return path->substr(root.size() + 1);
        }
        return "?" + *path;
    }
    std::map<int, std::string> Table() const {
        TPortMap map(roots.roots);
        std::map<int, std::string> table;
        for (int n = 1; n <= 16; ++n) {
            const std::string device = Resolved(map, n);
            if (!device.empty()) table[n] = device;
        }
        return table;
    }

    TTempRoots roots;
};

TEST_F(PortMapTest, RealUartsThenUsbThenAcmInNumericOrder) {
    for (const char* name : {"ttyS0", "ttyS1", "ttyS2", "ttyS9", "ttyS10", "ttyUSB1", "ttyUSB0", "ttyACM0"}) Device(name);
    UartType("ttyS0", 4);
    UartType("ttyS1", 0);  // phantom 8250 port
    UartType("ttyS9", 4);
    UartType("ttyS10", 17);
    // ttyS2 has no type in sysfs; the driver is asked, and a plain file is no UART.
    for (const char* name : {"ttyS", "ttySx", "ttyUSB1.bak", "ttyXYZ0", "tty0", "console"}) Device(name);

    const std::map<int, std::string> expected = {
        {1, "ttyS0"}, {2, "ttyS9"}, {3, "ttyS10"}, {4, "ttyUSB0"}, {5, "ttyUSB1"}, {6, "ttyACM0"},
    };
    EXPECT_EQ(Table(), expected);
}

TEST_F(PortMapTest, LinksTakeTheirNumbersAndDevicesFillTheFreeOnesUpwards) {
    for (const char* name : {"ttyUSB0", "ttyUSB1", "ttyACM0"}) Device(name);
    TPty unitA, unitB;
    roots.Link("COM1", unitA.SlavePath());
    roots.Link("COM3", unitB.SlavePath());
    const std::map<int, std::string> expected = {
        {1, "COM1"}, {2, "ttyUSB0"}, {3, "COM3"}, {4, "ttyUSB1"}, {5, "ttyACM0"},
    };
    EXPECT_EQ(Table(), expected);
}

TEST_F(PortMapTest, LinkWhoseDeviceHasGoneHoldsNoNumber) {
    Device("ttyUSB0");
    roots.Link("COM1", roots.dir.Path() + "/no-such-device");
    EXPECT_EQ(Table(), (std::map<int, std::string> {{1, "ttyUSB0"}}));
}

TEST_F(PortMapTest, UntrustedLinksDirectoryIsIgnored) {
    struct Case {
        const char* name;
        mode_t mode;
        bool foreignOwner;
        bool trusted;
    };
    const Case cases[] = {
        {"private", 0700, false, true},
        {"readable by others", 0755, false, true},
        {"writable by group", 0770, false, false},
        {"writable by others", 0703, false, false},
        {"owned by someone else", 0700, true, false},
    };
    Device("ttyUSB0");
    TPty unit;
    roots.Link("COM1", unit.SlavePath());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.foreignOwner && ::geteuid() != 0) continue;  // only root can give a directory away
        ASSERT_EQ(::chmod(roots.roots.Links.c_str(), c.mode), 0);
        ASSERT_EQ(::chown(roots.roots.Links.c_str(), c.foreignOwner ? 65534 : ::geteuid(), static_cast<gid_t>(-1)), 0);
        EXPECT_EQ(IsTrustedLinksDir(roots.roots.Links), c.trusted);
        EXPECT_EQ(Resolved(TPortMap(roots.roots), 1), c.trusted ? "COM1" : "ttyUSB0");
    }
}

TEST_F(PortMapTest, LinksDirectoryThatIsASymlinkIsNotTrusted) {
    Device("ttyUSB0");
    TPty unit;
    roots.Link("COM1", unit.SlavePath());
    const std::string alias = roots.dir.Path() + "/alias";
    std::filesystem::create_directory_symlink(roots.roots.Links, alias);
    EXPECT_FALSE(IsTrustedLinksDir(alias));
    TPortRoots viaAlias = roots.roots;
    viaAlias.Links = alias;
    EXPECT_EQ(TPortMap(viaAlias).DevicePath("COM1"), roots.roots.Dev + "/ttyUSB0");
}

TEST_F(PortMapTest, MissingLinksDirectoryLeavesTheDevices) {
    Device("ttyACM3");
    std::filesystem::remove(roots.roots.Links);
    EXPECT_EQ(Table(), (std::map<int, std::string> {{1, "ttyACM3"}}));
}

TEST_F(PortMapTest, OnlySixteenPortsAreNamed) {
    for (int i = 0; i < 20; ++i) Device("ttyUSB" + std::to_string(i));
    const std::map<int, std::string> table = Table();
    ASSERT_EQ(table.size(), 16u);
    EXPECT_EQ(table.at(16), "ttyUSB15");
}

TEST_F(PortMapTest, OnlyTheSixteenPortNamesMapToDevices) {
    for (int i = 0; i < 16; ++i) Device("ttyUSB" + std::to_string(i));
    const TPortMap map(roots.roots);
    for (const char* name : {"", "COM", "COM0", "COM17", "COM01", "com1", "Com1", "COM1 ", " COM1", "COMx", "COM1a", "COM-1",
                             "COM+1", "COM99999999999999999999"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(map.DevicePath(name), std::nullopt);
    }
    EXPECT_EQ(map.DevicePath("COM16"), roots.roots.Dev + "/ttyUSB15");
}

TEST_F(PortMapTest, ListingLeavesEveryPortsSettingsAlone) {
    // A real terminal behind a USB name and behind a ttyS name without sysfs
    // entry, the one case where the driver must be asked.
    TPty usb, uart;
    std::filesystem::create_symlink(usb.SlavePath(), roots.roots.Dev + "/ttyUSB0");
    std::filesystem::create_symlink(uart.SlavePath(), roots.roots.Dev + "/ttyS0");
    termios before[2] {};
    const int fds[2] = {usb.Slave(), uart.Slave()};
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(::tcgetattr(fds[i], &before[i]), 0);
        before[i].c_cflag |= PARENB;  // something a careless open would reset
        cfsetospeed(&before[i], B1200);
        ::tcsetattr(fds[i], TCSANOW, &before[i]);
        ASSERT_EQ(::tcgetattr(fds[i], &before[i]), 0);
    }
    const auto map = roots.Map();
    EXPECT_EQ(map->DevicePath("COM1"), roots.roots.Dev + "/ttyUSB0");  // a pty has no UART type: ttyS0 dropped
    EXPECT_TRUE(PortAvailable(*map, "COM1"));
    EXPECT_FALSE(PortAvailable(*map, "COM2"));
    for (int i = 0; i < 2; ++i) {
        termios after {};
        ASSERT_EQ(::tcgetattr(fds[i], &after), 0);
        EXPECT_EQ(after.c_cflag, before[i].c_cflag);
        EXPECT_EQ(after.c_iflag, before[i].c_iflag);
        EXPECT_EQ(after.c_lflag, before[i].c_lflag);
    }
}

TEST(DefaultPortLinksDir, FollowsTheRuntimeDirectory) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string keep = saved ? saved : "";
    const std::string fallback = "/tmp/quadrelix-" + std::to_string(::getuid()) + "/quadrelix/ports";
    const std::pair<const char*, std::string> cases[] = {
        {"/run/user/1000", "/run/user/1000/quadrelix/ports"},
        {"", fallback},
        {"relative/dir", fallback},
        {nullptr, fallback},
    };
    for (const auto& [runtime, expected] : cases) {
        SCOPED_TRACE(runtime ? runtime : "(unset)");
        if (runtime) {
            ::setenv("XDG_RUNTIME_DIR", runtime, 1);
        } else {
            ::unsetenv("XDG_RUNTIME_DIR");
        }
        EXPECT_EQ(DefaultPortLinksDir(), expected);
    }
    if (saved) {
        ::setenv("XDG_RUNTIME_DIR", keep.c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
}

}  // namespace
