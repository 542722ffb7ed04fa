// The simulated turning unit, driven through the real serial layer: replies,
// faults, the record of what it received, pacing, publishing, the working
// unit's data and the quadrelix-unit-sim program.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "LinkFixture.h"
#include "UnitSim.h"
#include "WorkingUnit.h"
#include "link/TCommPort.h"

extern char** environ;

using namespace linktest;

namespace {

// Sends the bytes as the command exchange does: each one, a 4 ms pause, its
// echo. Stops at the first echo that does not come. The echoes gathered stay
// in echoes when an error ends it.
void SendInto(TCommPort& port, const std::string& command, std::string& echoes) {
    for (char c : command) {
        port.WriteChar(c);
        std::this_thread::sleep_for(std::chrono::milliseconds(4));
        char echo = 0;
        if (!port.ReadChar(echo)) return;
        echoes += echo;
    }
}

std::string SendCommand(TCommPort& port, const std::string& command) {
    std::string echoes;
    SendInto(port, command, echoes);
    return echoes;
}

// Everything the unit sends until it pauses for more than 50 ms; what came
// before an error stays in reply.
void ReadInto(TCommPort& port, std::string& reply) {
    std::vector<char> buffer(1201);
    try {
        // A full block may have more behind it; a shorter one ended at a pause.
        std::uint32_t n = 0;
        do {
            n = port.ReadBlock(buffer.data(), 1200);
            reply.append(buffer.data(), n);
        } while (n == 1200);
    } catch (const ECommError&) {
        reply += buffer.data();
        throw;
    }
}

std::string ReadReply(TCommPort& port) {
    std::string reply;
    ReadInto(port, reply);
    return reply;
}

// Line i of a reply, counted from 0.
std::string Line(const std::string& text, std::size_t i) {
    std::size_t begin = 0;
    for (; i > 0; --i) begin = text.find("\r\n", begin) + 2;
    return text.substr(begin, text.find("\r\n", begin) - begin);
}

std::size_t LineCount(const std::string& text) {
    std::size_t n = 0;
    for (std::size_t pos = 0; (pos = text.find("\r\n", pos)) != std::string::npos; pos += 2) ++n;
    return n;
}

constexpr std::size_t kListLines[10] = {50, 50, 50, 50, 86, 10, 16, 6, 6, 5};

class UnitSimTest : public ::testing::Test {
protected:
    void SetUp() override { sim.PublishAs(roots.roots.Links, "COM1"); }

    std::unique_ptr<TCommPort> OpenedPort() {
        auto port = std::make_unique<TCommPort>(roots.Map());
        port->OpenPort();
        return port;
    }

    static TUnitData DistinctData() {
        TUnitData d;
        d.Firmware = "FW 9.87";
        d.Angle = "-123";
        for (std::size_t i = 0; i < d.Lists.size(); ++i) d.Lists[i] = MakeListReply({std::to_string(i + 1), "x" + std::to_string(i)});
        return d;
    }

    TTempRoots roots;
    TUnitSim sim {DistinctData()};
};

TEST_F(UnitSimTest, EchoesEveryByteAndAnswersEachCommandFromItsData) {
    const TUnitData d = DistinctData();
    std::vector<std::pair<std::string, std::string>> cases = {
        {"com_check", "COM_OK\r\n"},
        {"fw_rev", "FW 9.87\r\n"},
        {"angle", "-123\r\n"},
        {"no_such_command", "?\r\n"},
    };
    for (std::size_t i = 0; i < kUnitListCommands.size(); ++i) cases.emplace_back(kUnitListCommands[i], d.Lists[i]);
    auto port = OpenedPort();
    for (const auto& [command, reply] : cases) {
        SCOPED_TRACE(command);
        port->PurgeInput();
        EXPECT_EQ(SendCommand(*port, command + "\r\n"), command + "\r\n");
        EXPECT_EQ(ReadReply(*port), reply);
    }
    const std::vector<TReceivedCommand> received = sim.Commands();
    ASSERT_EQ(received.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(received[i].Text, cases[i].first);
}

struct FaultCase {
    const char* name;
    TUnitFaults faults;
    std::string command;
    std::string echo;
    std::string reply;
    int errorCode;  // raised while sending or reading; 0 for none
};

TUnitFaults Faults(void (*set)(TUnitFaults&)) {
    TUnitFaults f;
    set(f);
    return f;
}

TEST_F(UnitSimTest, InjectsEachFaultOnDemand) {
    const std::string digits = [] {
        std::string s;
        for (std::size_t i = 0; i < TUnitSim::kLongReplyBytes; ++i) s += static_cast<char>('0' + i % 10);
        return s;
    }();
    const FaultCase cases[] = {
        {"no echo", Faults([](TUnitFaults& f) { f.NoEcho = true; }), "angle\r\n", "", "", 0},
        {"wrong echo at byte 2", Faults([](TUnitFaults& f) { f.WrongEchoAt = 2; }), "angle\r\n", "anGle\r\n", "-123\r\n", 0},
        {"wrong echo of the CR", Faults([](TUnitFaults& f) { f.WrongEchoAt = 5; }), "angle\r\n", "angle-\n", "-123\r\n", 0},
        {"refused command", Faults([](TUnitFaults& f) { f.RefuseCommand = "fw_rev"; }), "fw_rev\r\n", "fw_rev\r\n", "?\r\n", 0},
        {"refusal hits only its command", Faults([](TUnitFaults& f) { f.RefuseCommand = "fw_rev"; }), "angle\r\n",
         "angle\r\n", "-123\r\n", 0},
        {"reply cut", Faults([](TUnitFaults& f) { f.CutReplyAfter = 3; }), "com_check\r\n", "com_check\r\n", "COM", 0},
        {"no reply", Faults([](TUnitFaults& f) { f.NoReply = true; }), "com_check\r\n", "com_check\r\n", "", 0},
        {"5000 bytes", Faults([](TUnitFaults& f) { f.LongReply = true; }), "angle\r\n", "angle\r\n", digits, 0},
        {"reply fault for another command",
         Faults([](TUnitFaults& f) {
             f.ReplyFaultsFor = "lst_errors";
             f.NoReply = true;
         }),
         "angle\r\n", "angle\r\n", "-123\r\n", 0},
        {"reply fault for this command",
         Faults([](TUnitFaults& f) {
             f.ReplyFaultsFor = "lst_errors";
             f.CutReplyAfter = 2;
         }),
         "lst_errors\r\n", "lst_errors\r\n", "7\r", 0},
        {"hang-up at byte 3", Faults([](TUnitFaults& f) { f.HangUpAt = 3; }), "angle\r\n", "ang", "", 10},
        {"hang-up after the reply", Faults([](TUnitFaults& f) { f.HangUpAfterReplyMs = 200; }), "angle\r\n",
         "angle\r\n", "-123\r\n", 10},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTempRoots local;
        TUnitSim unit(DistinctData());
        unit.PublishAs(local.roots.Links, "COM1");
        unit.SetFaults(c.faults);
        TCommPort port(local.Map());
        port.OpenPort();
        std::string echo, reply;
        const int code = CommErrorCode([&] {
            SendInto(port, c.command, echo);
            if (echo.size() == c.command.size()) ReadInto(port, reply);
        });
        EXPECT_EQ(echo, c.echo);
        EXPECT_EQ(reply, c.reply);
        // Once the line has dropped, reading fails instead of waiting.
        int after = code;
        for (int i = 0; i < 5 && c.errorCode != 0 && after == 0; ++i) {
            after = CommErrorCode([&] { char ch; port.ReadChar(ch); });
        }
        EXPECT_EQ(after, c.errorCode);
        EXPECT_EQ(unit.HungUp(), c.errorCode != 0);
    }
}

TEST_F(UnitSimTest, RecordsWhatArrivesWithItsTimes) {
    auto port = OpenedPort();
    // Its echo shows that the unit has taken the byte: the pause starts after it.
    ASSERT_EQ(SendCommand(*port, "c"), "c");
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    SendCommand(*port, "om_");  // an unfinished command is no command
    EXPECT_TRUE(sim.Commands().empty());
    SendCommand(*port, "check\r\n");
    ReadReply(*port);
    SendCommand(*port, "angle\r\n");

    const std::vector<TReceivedByte> bytes = sim.Received();
    std::string text;
    for (const TReceivedByte& b : bytes) text += b.Byte;
    EXPECT_EQ(text, "com_check\r\nangle\r\n");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_GE(bytes[1].At - bytes[0].At, std::chrono::milliseconds(40));
    for (std::size_t i = 1; i < bytes.size(); ++i) EXPECT_LE(bytes[i - 1].At, bytes[i].At);

    const std::vector<TReceivedCommand> commands = sim.Commands();
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].Text, "com_check");
    EXPECT_EQ(commands[1].Text, "angle");
    EXPECT_EQ(commands[0].At, bytes[10].At);  // done when its LF arrived

    sim.ClearRecord();
    EXPECT_TRUE(sim.Received().empty());
    EXPECT_TRUE(sim.Commands().empty());
}

TEST_F(UnitSimTest, PacedUnitSendsAtTheByteTimeOf9600Baud) {
    TUnitData d = DistinctData();
    d.CheckReply = std::string(98, 'k');
    sim.SetData(d);
    sim.SetPaced(true);
    auto port = OpenedPort();
    ASSERT_EQ(SendCommand(*port, "com_check\r\n"), "com_check\r\n");
    char c = 0;
    ASSERT_TRUE(port->ReadChar(c));
    const auto first = Clock::now();
    auto last = first;
    std::size_t count = 1;
    while (port->ReadChar(c)) {
        last = Clock::now();
        ++count;
    }
    EXPECT_EQ(count, 100u);
    // 99 byte times of about 1.15 ms after the first byte.
    EXPECT_GE(last - first, std::chrono::milliseconds(110));
}

TEST_F(UnitSimTest, PublishedPortResolvesAndTheLinkGoesWithTheUnit) {
    const std::string link = roots.roots.Links + "/COM2";
    {
        TUnitSim second;
        EXPECT_EQ(second.PublishAs(roots.roots.Links, "COM2"), link);
        EXPECT_EQ(std::filesystem::read_symlink(link), second.SlavePath());
        EXPECT_EQ(roots.Map()->DevicePath("COM2"), link);
        EXPECT_TRUE(PortAvailable(*roots.Map(), "COM2"));
        try {
            TUnitSim third;
            third.PublishAs(roots.roots.Links, "COM2");
            ADD_FAILURE() << "published over a taken name";
        } catch (const std::system_error& e) {
            EXPECT_EQ(e.code().value(), EEXIST);
        }
        EXPECT_EQ(std::filesystem::read_symlink(link), second.SlavePath());
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));

    // A link that someone else has put in its place stays.
    TUnitSim fourth;
    fourth.PublishAs(roots.roots.Links, "COM2");
    std::filesystem::remove(link);
    std::filesystem::create_symlink(sim.SlavePath(), link);
    fourth.Unpublish();
    EXPECT_EQ(std::filesystem::read_symlink(link), sim.SlavePath());
}

TEST(UnitData, SampleAndWorkingUnitSendFullLists) {
    TWorkingUnit unit;
    for (const TUnitData& d : {TUnitData::Sample(), unit.Data()}) {
        for (std::size_t i = 0; i < d.Lists.size(); ++i) {
            SCOPED_TRACE(kUnitListCommands[i]);
            EXPECT_EQ(LineCount(d.Lists[i]), kListLines[i]);
            EXPECT_EQ(d.Lists[i].substr(d.Lists[i].size() - 2), "\r\n");
        }
    }
}

TEST(WorkingUnit, SwivelsBetweenItsEndPositionsAndCounts) {
    TWorkingUnit unit;
    auto counter = [](const TUnitData& d, std::size_t line) { return std::stol(Line(d.Lists[9], line)); };
    const long cyclesBefore = counter(unit.Data(), 0);
    int lowest = 0, highest = 0;
    bool sawMoving = false, sawInPosition = false;
    const auto cycle = TWorkingUnit::kMoveTime + TWorkingUnit::kHoldTime;
    for (auto t = std::chrono::milliseconds(0); t < cycle * 4; t += std::chrono::milliseconds(50)) {
        unit.Advance(std::chrono::milliseconds(50));
        const TUnitData d = unit.Data();
        const int angle = std::stoi(d.Angle);
        lowest = std::min(lowest, angle);
        highest = std::max(highest, angle);
        const std::string code = Line(d.Lists[8], 4);  // the state
        sawMoving = sawMoving || code == "9" || code == "10";
        sawInPosition = sawInPosition || code == "5";
    }
    EXPECT_LE(lowest, -TWorkingUnit::kEndPosition + 20);
    EXPECT_GE(highest, TWorkingUnit::kEndPosition - 20);
    EXPECT_TRUE(sawMoving);
    EXPECT_TRUE(sawInPosition);
    EXPECT_EQ(counter(unit.Data(), 0), cyclesBefore + 4);

    // Some stop angles lie below the target.
    EXPECT_NE(unit.Data().Lists[0].find('-'), std::string::npos);
}

// The program beside this test program in the build tree.
std::optional<std::string> SimProgram() {
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
    const std::filesystem::path program = self.parent_path().parent_path() / "sim" / "quadrelix-unit-sim";
    if (!std::filesystem::exists(program)) return std::nullopt;
    return program.string();
}

class SimProgramRun {
public:
    SimProgramRun(const std::string& program, const std::vector<std::string>& args) {
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe2");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        std::vector<char*> argv {const_cast<char*>(program.c_str())};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        const int rc = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        out_ = out[0];
        if (rc != 0) throw std::system_error(rc, std::generic_category(), "posix_spawn");
    }
    ~SimProgramRun() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
    }
    // The first line the program prints, or "" when none comes in time.
    std::string FirstLine() const {
        std::string line;
        const auto start = Clock::now();
        while (MsSince(start) < 10000) {
            pollfd p {out_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            char c;
            if (::read(out_, &c, 1) != 1 || c == '\n') break;
            line += c;
        }
        return line;
    }
    // The exit status after sig; -1 when the program does not end in time.
    int StopWith(int sig) {
        ::kill(pid_, sig);
        return Wait();
    }
    int Wait() {
        const auto start = Clock::now();
        while (MsSince(start) < 10000) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
};

TEST(UnitSimProgram, PublishesAPlausibleUnitAndRemovesItsLinkWhenStopped) {
    const std::optional<std::string> program = SimProgram();
    if (!program) GTEST_SKIP() << "quadrelix-unit-sim is not built";
    TTempRoots roots;
    TUnitSim holder;  // COM1 is taken: the program must take the next number
    holder.PublishAs(roots.roots.Links, "COM1");

    for (int sig : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(sig);
        SimProgramRun run(*program, {"--links", roots.roots.Links});
        ASSERT_EQ(run.FirstLine(), "COM2");
        const std::string link = roots.roots.Links + "/COM2";
        ASSERT_TRUE(std::filesystem::is_symlink(link));

        TCommPort port(roots.Map());
        port.SetPortName("COM2");
        port.OpenPort();
        EXPECT_EQ(SendCommand(port, "com_check\r\n"), "com_check\r\n");
        EXPECT_EQ(ReadReply(port), "COM_OK\r\n");
        SendCommand(port, "lst_diagnosis\r\n");
        EXPECT_EQ(LineCount(ReadReply(port)), 5u);
        port.ClosePort();

        EXPECT_EQ(run.StopWith(sig), 0);
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
    }
}

TEST(UnitSimProgram, RefusesATakenPortAndAnUntrustedDirectory) {
    const std::optional<std::string> program = SimProgram();
    if (!program) GTEST_SKIP() << "quadrelix-unit-sim is not built";
    TTempRoots roots;
    TUnitSim holder;
    holder.PublishAs(roots.roots.Links, "COM3");
    {
        SimProgramRun run(*program, {"--links", roots.roots.Links, "--port", "3"});
        EXPECT_EQ(run.Wait(), 1);
    }
    EXPECT_EQ(std::filesystem::read_symlink(roots.roots.Links + "/COM3"), holder.SlavePath());

    // A stale link from a killed simulator is replaced.
    std::filesystem::create_symlink(roots.dir.Path() + "/gone", roots.roots.Links + "/COM4");
    {
        SimProgramRun run(*program, {"--links", roots.roots.Links, "--port", "4"});
        EXPECT_EQ(run.FirstLine(), "COM4");
        EXPECT_TRUE(PortAvailable(*roots.Map(), "COM4"));
        EXPECT_EQ(run.StopWith(SIGINT), 0);
    }

    ::chmod(roots.roots.Links.c_str(), 0777);
    SimProgramRun run(*program, {"--links", roots.roots.Links});
    EXPECT_EQ(run.Wait(), 1);
    EXPECT_EQ(run.FirstLine(), "");
}

}  // namespace
