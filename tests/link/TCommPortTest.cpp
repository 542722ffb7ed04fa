// TCommPort on real pseudo-terminals: open and close rules, settings, error
// codes, the read timeout rule, ReadLine and ReadBlock.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <dirent.h>
#include <termios.h>

#include "LinkFixture.h"
#include "link/TCommPort.h"

using namespace linktest;

namespace {

// Upper slack on timing checks: catches a wrong rule or a hang, not jitter.
constexpr long kSlackMs = 150;

class CommPortTest : public ::testing::Test {
protected:
    void SetUp() override { roots.Link("COM1", pty.SlavePath()); }

    std::unique_ptr<TCommPort> OpenedPort() {
        auto port = std::make_unique<TCommPort>(roots.Map());
        port->SetPortName("COM1");
        port->OpenPort();
        return port;
    }

    TTempRoots roots;
    TPty pty;
};

TEST(CommPortDefaults, NewObjectHoldsTheDefaultLineAndOpensNothing) {
    TTempRoots roots;
    TCommPort port(roots.Map());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.PortName(), "COM1");
    TDcb dcb;
    port.GetSettings(dcb);
    EXPECT_EQ(dcb.DCBlength, sizeof(TDcb));
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, TDcb::EVENPARITY);
    EXPECT_EQ(dcb.StopBits, TDcb::ONESTOPBIT);
    EXPECT_EQ(dcb.fDtrControl, 0);
    EXPECT_EQ(dcb.fRtsControl, 0);
    const TCommTimeouts& t = port.Timeouts();
    EXPECT_EQ(t.ReadIntervalTimeout + t.ReadTotalTimeoutMultiplier + t.ReadTotalTimeoutConstant +
                  t.WriteTotalTimeoutMultiplier + t.WriteTotalTimeoutConstant,
              0u);
}

TEST_F(CommPortTest, OpenSetsTheTimeoutsAndTheLine) {
    auto port = OpenedPort();
    EXPECT_TRUE(port->IsOpen());
    const TCommTimeouts& t = port->Timeouts();
    EXPECT_EQ(t.ReadIntervalTimeout, 50u);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 1u);
    EXPECT_EQ(t.ReadTotalTimeoutConstant, 200u);
    EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 1u);
    EXPECT_EQ(t.WriteTotalTimeoutConstant, 200u);
    EXPECT_EQ(pty.SlaveSpeed(), B9600);
    // Raw: the line neither echoes nor translates CR.
    termios line {};
    ASSERT_EQ(::tcgetattr(pty.Slave(), &line), 0);
    EXPECT_FALSE(line.c_lflag & (ECHO | ICANON));
    EXPECT_FALSE(line.c_iflag & ICRNL);
    EXPECT_FALSE(line.c_oflag & OPOST);
}

TEST_F(CommPortTest, OpenOnAnOpenPortChangesNothing) {
    auto port = OpenedPort();
    port->SetBaudRate(19200);
    EXPECT_NO_THROW(port->OpenPort());
    EXPECT_TRUE(port->IsOpen());
    EXPECT_EQ(pty.SlaveSpeed(), B19200);
    port->WriteChar('x');
    EXPECT_EQ(pty.Collect(), "x");
}

TEST_F(CommPortTest, PortNameIsKeptWhileOpen) {
    auto port = OpenedPort();
    EXPECT_EQ(CommErrorCode([&] { port->SetPortName("COM2"); }), 6);
    EXPECT_EQ(port->PortName(), "COM1");
    EXPECT_TRUE(port->IsOpen());
    port->ClosePort();
    port->SetPortName("COM2");
    EXPECT_EQ(port->PortName(), "COM2");
}

TEST_F(CommPortTest, SettingsWhileClosedWaitForTheNextOpen) {
    TCommPort port(roots.Map());
    port.SetBaudRate(19200);
    EXPECT_NE(pty.SlaveSpeed(), B19200);
    port.OpenPort();
    EXPECT_EQ(pty.SlaveSpeed(), B19200);
    TDcb dcb;
    port.GetSettings(dcb);
    EXPECT_EQ(dcb.BaudRate, 19200u);
    EXPECT_EQ(dcb.Parity, TDcb::EVENPARITY);
}

TEST_F(CommPortTest, AcceptedSettingReachesTheOpenDevice) {
    auto port = OpenedPort();
    port->SetBaudRate(4800);
    EXPECT_EQ(pty.SlaveSpeed(), B4800);
    port->ClosePort();
    port->OpenPort();  // the record survives close and reopen
    EXPECT_EQ(pty.SlaveSpeed(), B4800);
}

bool SameRecord(const TDcb& a, const TDcb& b) {
    return a.DCBlength == b.DCBlength && a.BaudRate == b.BaudRate && a.ByteSize == b.ByteSize && a.Parity == b.Parity &&
           a.StopBits == b.StopBits && a.fDtrControl == b.fDtrControl && a.fRtsControl == b.fRtsControl;
}

struct RefusedSetting {
    const char* name;
    std::function<void(TCommPort&)> set;
    int code;
};

TEST_F(CommPortTest, RefusedSettingKeepsThePreviousValue) {
    const RefusedSetting cases[] = {
        {"baud rate the line cannot carry", [](TCommPort& p) { p.SetBaudRate(12345); }, 1},
        {"zero baud", [](TCommPort& p) { p.SetBaudRate(0); }, 1},
        {"nine data bits", [](TCommPort& p) { p.SetByteSize(9); }, 5},
        {"four data bits", [](TCommPort& p) { p.SetByteSize(4); }, 5},
        {"parity code 5", [](TCommPort& p) { p.SetParity(5); }, 4},
        {"1.5 stop bits with 8 data bits", [](TCommPort& p) { p.SetStopBits(TDcb::ONE5STOPBITS); }, 3},
        {"stop bit code 3", [](TCommPort& p) { p.SetStopBits(3); }, 3},
    };
    for (const RefusedSetting& c : cases) {
        SCOPED_TRACE(c.name);
        auto port = OpenedPort();
        TDcb before;
        port->GetSettings(before);
        EXPECT_EQ(CommErrorCode([&] { c.set(*port); }), c.code);
        TDcb after;
        port->GetSettings(after);
        EXPECT_TRUE(SameRecord(before, after));
        EXPECT_TRUE(port->IsOpen());
        EXPECT_EQ(pty.SlaveSpeed(), B9600);
    }
}

TEST_F(CommPortTest, SetSettingsWhileOpenIsAppliedOrRefusedWhole) {
    auto port = OpenedPort();
    TDcb dcb;
    port->GetSettings(dcb);
    dcb.fDtrControl = TDcb::DTR_CONTROL_ENABLE;
    dcb.fRtsControl = TDcb::RTS_CONTROL_DISABLE;  // a pseudo-terminal takes the modem lines silently
    dcb.BaudRate = 38400;
    port->SetSettings(dcb);
    EXPECT_EQ(pty.SlaveSpeed(), B38400);

    TDcb refused = dcb;
    refused.BaudRate = 1200;
    refused.fRtsControl = TDcb::RTS_CONTROL_TOGGLE;  // no driver here toggles RTS by itself
    EXPECT_EQ(CommErrorCode([&] { port->SetSettings(refused); }), 15);
    TDcb kept;
    port->GetSettings(kept);
    EXPECT_EQ(kept.BaudRate, 38400u);
    EXPECT_EQ(kept.fRtsControl, TDcb::RTS_CONTROL_DISABLE);
    EXPECT_EQ(pty.SlaveSpeed(), B38400);
}

TEST_F(CommPortTest, SetSettingsWhileClosedOnlyStores) {
    TCommPort port(roots.Map());
    TDcb dcb;
    port.GetSettings(dcb);
    dcb.fRtsControl = TDcb::RTS_CONTROL_TOGGLE;
    EXPECT_NO_THROW(port.SetSettings(dcb));
    TDcb stored;
    port.GetSettings(stored);
    EXPECT_EQ(stored.fRtsControl, TDcb::RTS_CONTROL_TOGGLE);
}

TEST_F(CommPortTest, RefusedStoredSettingFailsTheOpenAndLeavesNoHandle) {
    TCommPort port(roots.Map());
    port.SetBaudRate(12345);
    EXPECT_EQ(CommErrorCode([&] { port.OpenPort(); }), 15);
    EXPECT_FALSE(port.IsOpen());
    TDcb dcb;
    port.GetSettings(dcb);
    EXPECT_EQ(dcb.BaudRate, 12345u);
    // Nothing holds the device: another object gets it.
    TCommPort other(roots.Map());
    EXPECT_NO_THROW(other.OpenPort());
}

TEST_F(CommPortTest, EveryTransferNeedsAnOpenPort) {
    TCommPort port(roots.Map());
    char buffer[16] = "unchanged";
    const std::pair<const char*, std::function<void()>> operations[] = {
        {"CheckOpen", [&] { port.CheckOpen(); }},
        {"PurgeInput", [&] { port.PurgeInput(); }},
        {"FlushOutput", [&] { port.FlushOutput(); }},
        {"WriteChar", [&] { port.WriteChar('a'); }},
        {"ReadChar", [&] { char c; port.ReadChar(c); }},
        {"ReadBlock", [&] { port.ReadBlock(buffer, 4); }},
        {"ReadLine", [&] { port.ReadLine(buffer, 4); }},
        {"InputCount", [&] { port.InputCount(); }},
    };
    for (const auto& [name, operation] : operations) {
        SCOPED_TRACE(name);
        EXPECT_EQ(CommErrorCode(operation), 7);
    }
    EXPECT_STREQ(buffer, "unchanged");
    EXPECT_EQ(pty.Collect(), "");
}

TEST_F(CommPortTest, CloseIsIdempotentAndReleasesTheDevice) {
    auto port = OpenedPort();
    port->ClosePort();
    EXPECT_FALSE(port->IsOpen());
    EXPECT_NO_THROW(port->ClosePort());
    TCommPort other(roots.Map());
    EXPECT_NO_THROW(other.OpenPort());
}

TEST_F(CommPortTest, DestroyingAnOpenPortClosesTheDevice) {
    OpenedPort().reset();
    TCommPort other(roots.Map());
    EXPECT_NO_THROW(other.OpenPort());
}

TEST_F(CommPortTest, SecondOpenOfAHeldPortFailsWithCode8) {
    auto first = OpenedPort();
    TCommPort second(roots.Map());
    EXPECT_EQ(CommErrorCode([&] { second.OpenPort(); }), 8);
    EXPECT_FALSE(second.IsOpen());
    first->ClosePort();
    EXPECT_NO_THROW(second.OpenPort());
    EXPECT_TRUE(second.IsOpen());
}

TEST_F(CommPortTest, OpenFailsWithCode8WhenTheNameLeadsToNoTerminal) {
    const std::string plainFile = roots.dir.Path() + "/plain";
    { std::FILE* f = std::fopen(plainFile.c_str(), "w"); ASSERT_NE(f, nullptr); std::fclose(f); }
    roots.Link("COM2", plainFile);
    roots.Link("COM3", roots.dir.Path() + "/gone");
    const std::pair<const char*, const char*> cases[] = {
        {"", "empty name"},
        {"COM17", "beyond the sixteen ports"},
        {"COM3", "device has gone"},
        {"COM4", "nothing mapped"},
        {"COM2", "not a terminal"},
    };
    for (const auto& [name, why] : cases) {
        SCOPED_TRACE(why);
        TCommPort port(roots.Map());
        port.SetPortName(name);
        try {
            port.OpenPort();
            ADD_FAILURE() << "opened";
        } catch (const ECommError& e) {
            EXPECT_EQ(e.Code(), 8);
            EXPECT_NE(e.SystemError(), 0u);
        }
        EXPECT_FALSE(port.IsOpen());
    }
}

TEST_F(CommPortTest, FailingCloseRaisesCode11AndForgetsTheDescriptor) {
    auto port = OpenedPort();
    // Close the port's descriptor behind its back, as a failing close leaves it.
    const std::string target = pty.SlavePath();
    int portFd = -1;
    DIR* fds = ::opendir("/proc/self/fd");
    ASSERT_NE(fds, nullptr);
    while (const dirent* e = ::readdir(fds)) {
        const int fd = std::atoi(e->d_name);
        if (fd <= 2 || fd == pty.Slave() || fd == ::dirfd(fds)) continue;
        char link[256];
        const ssize_t n = ::readlink(("/proc/self/fd/" + std::string(e->d_name)).c_str(), link, sizeof link - 1);
        if (n > 0 && std::string(link, static_cast<std::size_t>(n)) == target) portFd = fd;
    }
    ::closedir(fds);
    ASSERT_GE(portFd, 0);
    ::close(portFd);

    EXPECT_EQ(CommErrorCode([&] { port->ClosePort(); }), 11);
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(CommErrorCode([&] { port->WriteChar('a'); }), 7);
    EXPECT_NO_THROW(port->OpenPort());
}

TEST_F(CommPortTest, HungUpLineFailsEachOperationWithItsCode) {
    char buffer[8];
    const std::pair<std::function<void(TCommPort&)>, int> cases[] = {
        {[](TCommPort& p) { char c; p.ReadChar(c); }, 10},
        {[&](TCommPort& p) { p.ReadBlock(buffer, 4); }, 10},
        {[](TCommPort& p) { p.WriteChar('a'); }, 9},
        {[](TCommPort& p) { p.PurgeInput(); }, 12},
        {[](TCommPort& p) { p.FlushOutput(); }, 13},
        {[](TCommPort& p) { p.InputCount(); }, 18},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        TPty line;
        TTempRoots local;
        local.Link("COM1", line.SlavePath());
        TCommPort port(local.Map());
        port.OpenPort();
        line.HangUp();
        const auto start = Clock::now();
        EXPECT_EQ(CommErrorCode([&] { cases[i].first(port); }), cases[i].second);
        EXPECT_LT(MsSince(start), kSlackMs);  // no waiting on a dead line
        EXPECT_NO_THROW(port.ClosePort());
    }
}

TEST_F(CommPortTest, BytesTravelBothWays) {
    auto port = OpenedPort();
    for (char c : std::string("com_check\r\n")) port->WriteChar(c);
    port->FlushOutput();
    EXPECT_EQ(pty.Collect(), "com_check\r\n");

    pty.Send("AB");
    const auto waitStart = Clock::now();
    while (port->InputCount() < 2 && MsSince(waitStart) < 1000) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(port->InputCount(), 2u);
    char c = 0;
    ASSERT_TRUE(port->ReadChar(c));
    EXPECT_EQ(c, 'A');
    ASSERT_TRUE(port->ReadChar(c));
    EXPECT_EQ(c, 'B');
}

TEST_F(CommPortTest, PurgeDiscardsWaitingInput) {
    auto port = OpenedPort();
    pty.Send("stale");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(port->InputCount(), 5u);
    port->PurgeInput();
    EXPECT_EQ(port->InputCount(), 0u);
    pty.Send("new");
    char buffer[8];
    EXPECT_EQ(port->ReadBlock(buffer, 3), 3u);
    EXPECT_STREQ(buffer, "new");
}

TEST_F(CommPortTest, ReadCharWithNothingArrivingGivesUpAfterTheTotalTimeout) {
    auto port = OpenedPort();
    char c = 'k';
    const auto start = Clock::now();
    EXPECT_FALSE(port->ReadChar(c));
    const long ms = MsSince(start);
    EXPECT_EQ(c, 'k');
    EXPECT_GE(ms, 200);
    EXPECT_LT(ms, 200 + kSlackMs);
}

// Send times from 0 up to (not including) until, step apart.
std::vector<int> Every(int step, int until) {
    std::vector<int> times;
    for (int t = 0; t < until; t += step) times.push_back(t);
    return times;
}

// Bytes that the unit sends at given times after the read begins.
struct TimedRead {
    const char* name;
    std::vector<int> sendAtMs;  // one byte each
    std::uint32_t max;
    std::uint32_t expectCount;  // 0: any count between 1 and max - 1
    long returnAtMs;            // when the read must return, from its start
};

TEST_F(CommPortTest, BlockReadFollowsTheIntervalAndTotalTimeouts) {
    const TimedRead cases[] = {
        {"burst: returns 50 ms after the last byte", {0, 0, 0, 0, 0}, 1200, 5, 50},
        {"pauses under 50 ms do not end the read", {0, 20, 40, 60, 80, 100, 120}, 1200, 7, 170},
        {"a pause over 50 ms ends it", {0, 10, 100}, 1200, 2, 60},
        {"the count asked for ends it at once", {0, 0, 0, 0, 0, 0}, 4, 4, 0},
        {"total: 200 ms plus 1 ms per byte asked for", Every(10, 600), 100, 0, 300},
        {"nothing at all", {}, 10, 0, 210},
    };
    for (const TimedRead& c : cases) {
        SCOPED_TRACE(c.name);
        auto port = OpenedPort();
        const std::vector<int>& times = c.sendAtMs;
        const auto start = Clock::now();
        std::thread unit([&] {
            for (int t : times) {
                std::this_thread::sleep_until(start + std::chrono::milliseconds(t));
                pty.Send("x");
            }
        });
        std::vector<char> buffer(c.max + 1, '#');
        const std::uint32_t got = port->ReadBlock(buffer.data(), c.max);
        const long ms = MsSince(start);
        unit.join();
        port->PurgeInput();  // bytes sent after the read ended
        if (c.expectCount != 0 || times.empty()) {
            EXPECT_EQ(got, c.expectCount);
        } else {
            EXPECT_GT(got, 0u);
            EXPECT_LT(got, c.max);
        }
        EXPECT_EQ(buffer[got], '\0');
        EXPECT_GE(ms, c.returnAtMs);
        EXPECT_LT(ms, c.returnAtMs + kSlackMs);
    }
}

TEST_F(CommPortTest, BlockReadOf1200BytesArrivesWholeAndTerminated) {
    auto port = OpenedPort();
    std::string reply;
    for (int i = 0; i < 1300; ++i) reply += static_cast<char>('a' + i % 26);
    pty.Send(reply);
    std::vector<char> buffer(1201 + 8, '#');
    EXPECT_EQ(port->ReadBlock(buffer.data(), 1200), 1200u);
    EXPECT_EQ(std::string(buffer.data(), 1200), reply.substr(0, 1200));
    EXPECT_EQ(buffer[1200], '\0');
    EXPECT_EQ(buffer[1201], '#');
    EXPECT_EQ(port->InputCount(), 100u);  // the rest waits for the next read
}

struct LineCase {
    const char* name;
    std::string input;
    std::uint32_t max;
    std::string text;
    std::uint32_t result;
};

TEST_F(CommPortTest, ReadLineCutsAtCrDropsLfAndKeepsTheBufferBounds) {
    const std::string longLine(120, 'z');
    const LineCase cases[] = {
        {"short reply", "12.5\r\n", 100, "12.5", 5},
        {"LF anywhere is dropped", "\n1\n2\n\n3\r4\r", 100, "123", 4},
        {"CR alone: empty line", "\r", 100, "", 1},
        {"120 characters without CR give the first 99", longLine, 100, longLine.substr(0, 99), 100},
        {"99 characters and CR", std::string(99, 'y') + "\r", 100, std::string(99, 'y'), 100},
        {"100 characters and CR", std::string(100, 'y') + "\r", 100, std::string(99, 'y'), 100},
        {"line stops without CR", "abc", 100, "abc", 3},
        {"max 1", "abc\r", 1, "", 1},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto port = OpenedPort();
        pty.Send(c.input);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::vector<char> buffer(c.max + 16, '#');
        EXPECT_EQ(port->ReadLine(buffer.data(), c.max), c.result);
        EXPECT_EQ(std::string(buffer.data()), c.text);
        for (std::size_t i = c.max; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], '#') << "written at " << i;
        port->PurgeInput();
    }
}

TEST_F(CommPortTest, ReadLineLeavesTheLfAfterCrWaiting) {
    auto port = OpenedPort();
    pty.Send("12.5\r\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    char buffer[100];
    port->ReadLine(buffer, 100);
    EXPECT_EQ(port->InputCount(), 1u);
}

TEST_F(CommPortTest, ReadLineWithNothingWaitingReturnsAtOnce) {
    auto port = OpenedPort();
    char buffer[100] = "old text";
    const auto start = Clock::now();
    EXPECT_EQ(port->ReadLine(buffer, 100), 0u);
    EXPECT_LT(MsSince(start), 50);
    EXPECT_STREQ(buffer, "");

    char untouched[4] = "abc";
    pty.Send("x\r");
    EXPECT_EQ(port->ReadLine(untouched, 0), 0u);
    EXPECT_STREQ(untouched, "abc");
}

TEST_F(CommPortTest, PortAvailableAnswersThroughTheMapAndNeverRaises) {
    const std::string plainFile = roots.dir.Path() + "/plain";
    { std::FILE* f = std::fopen(plainFile.c_str(), "w"); ASSERT_NE(f, nullptr); std::fclose(f); }
    roots.Link("COM2", plainFile);
    roots.Link("COM3", roots.dir.Path() + "/gone");
    const auto map = roots.Map();
    const std::pair<const char*, bool> cases[] = {
        {"COM1", true}, {"COM2", false}, {"COM3", false}, {"COM4", false},
        {"", false},    {"com1", false}, {"COM0", false}, {"COM17", false},
    };
    for (const auto& [name, available] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(PortAvailable(*map, name), available);
    }
    // Asking does not take the port.
    auto port = OpenedPort();
    EXPECT_TRUE(PortAvailable(*map, "COM1"));
}

}  // namespace
