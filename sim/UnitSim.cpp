#include "UnitSim.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// 1 start, 8 data, 1 parity and 1 stop bit at 9600 baud.
constexpr auto kByteTime = std::chrono::microseconds(1146);
// A program that stops reading for this long gets the rest of a reply dropped.
constexpr int kWriteStallMs = 2000;
// The unit's command buffer; longer garbage without a line end is dropped.
constexpr std::size_t kMaxCommand = 256;

std::system_error SystemError(const char* what) { return std::system_error(errno, std::generic_category(), what); }

std::string Lines(std::size_t count, long (*value)(std::size_t)) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < count; ++i) lines.push_back(std::to_string(value(i)));
    return MakeListReply(lines);
}

}  // namespace

const std::array<const char*, 10> kUnitListCommands = {
    "lst_stop_angles_frw", "lst_brake_angles_frw", "lst_stop_angles_bkw", "lst_brake_angles_bkw",
    "lst_cycle_times",     "lst_outputs",          "lst_errors",          "lst_inputs",
    "lst_control",         "lst_diagnosis",
};

std::string MakeListReply(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

TUnitData TUnitData::Sample() {
    TUnitData d;
    d.Angle = "1234";
    d.Lists[0] = Lines(50, [](std::size_t i) { return static_cast<long>(i % 7) * 3 - 9; });
    d.Lists[1] = Lines(50, [](std::size_t i) { return 80 + static_cast<long>(i % 11) * 2; });
    d.Lists[2] = Lines(50, [](std::size_t i) { return 6 - static_cast<long>(i % 5) * 4; });
    d.Lists[3] = Lines(50, [](std::size_t i) { return 90 + static_cast<long>(i % 13); });
    d.Lists[4] = Lines(86, [](std::size_t i) { return i >= 20 && i < 30 ? static_cast<long>(i) * 3 : 0L; });
    d.Lists[5] = MakeListReply({"0", "0", "0", "0", "1", "0", "0", "1", "0", "0"});
    d.Lists[6] = MakeListReply({"0", "0", "0", "0", "1", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"});
    d.Lists[7] = MakeListReply({"1", "0", "0", "0", "1", "0"});
    d.Lists[8] = MakeListReply({"450", "-12", "95", "102", "5", "1"});
    d.Lists[9] = MakeListReply({"12345", "3", "1", "0", "8765"});
    return d;
}

TUnitSim::TUnitSim(TUnitData data) : data_(std::move(data)) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) throw SystemError("posix_openpt");
    try {
        if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) throw SystemError("unlockpt");
        char name[128];
        if (::ptsname_r(master_, name, sizeof name) != 0) throw SystemError("ptsname_r");
        slavePath_ = name;
        // Holding the slave open keeps the master from seeing a hang-up each
        // time the program closes its port.
        slaveKeep_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (slaveKeep_ < 0) throw SystemError("open pty slave");
        // Raw from the start: the line discipline must neither echo nor
        // translate what the unit sends before the program sets the line up.
        termios t {};
        if (::tcgetattr(slaveKeep_, &t) != 0) throw SystemError("tcgetattr");
        cfmakeraw(&t);
        if (::tcsetattr(slaveKeep_, TCSANOW, &t) != 0) throw SystemError("tcsetattr");
        if (::fcntl(master_, F_SETFL, O_NONBLOCK) != 0) throw SystemError("fcntl");
        if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) throw SystemError("pipe2");
        thread_ = std::thread(&TUnitSim::Run, this);
    } catch (...) {
        CloseLine();
        for (int& fd : wake_) {
            if (fd >= 0) ::close(fd);
            fd = -1;
        }
        throw;
    }
}

TUnitSim::~TUnitSim() {
    Stop();
    CloseLine();
    for (int fd : wake_) ::close(fd);
    Unpublish();
}

void TUnitSim::Stop() {
    stop_ = true;
    const char c = 's';
    [[maybe_unused]] const ssize_t w = ::write(wake_[1], &c, 1);
    if (thread_.joinable()) thread_.join();
}

void TUnitSim::CloseLine() {
    std::lock_guard lock(mutex_);
    if (master_ >= 0) ::close(master_);
    if (slaveKeep_ >= 0) ::close(slaveKeep_);
    master_ = slaveKeep_ = -1;
}

std::string TUnitSim::PublishAs(const std::string& linksDir, const std::string& portName) {
    const std::string link = linksDir + "/" + portName;
    if (::symlink(slavePath_.c_str(), link.c_str()) != 0) throw SystemError("symlink");
    Unpublish();
    linkPath_ = link;
    return link;
}

void TUnitSim::Unpublish() {
    if (linkPath_.empty()) return;
    // Remove the link only while it is still ours.
    char target[256];
    const ssize_t n = ::readlink(linkPath_.c_str(), target, sizeof target - 1);
    if (n >= 0 && std::string(target, static_cast<std::size_t>(n)) == slavePath_) ::unlink(linkPath_.c_str());
    linkPath_.clear();
}

void TUnitSim::SetData(TUnitData data) {
    std::lock_guard lock(mutex_);
    data_ = std::move(data);
}

TUnitData TUnitSim::Data() const {
    std::lock_guard lock(mutex_);
    return data_;
}

void TUnitSim::SetFaults(TUnitFaults faults) {
    std::lock_guard lock(mutex_);
    faults_ = std::move(faults);
}

void TUnitSim::SetPaced(bool paced) {
    std::lock_guard lock(mutex_);
    paced_ = paced;
}

std::vector<TReceivedByte> TUnitSim::Received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<TReceivedCommand> TUnitSim::Commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

void TUnitSim::ClearRecord() {
    std::lock_guard lock(mutex_);
    received_.clear();
    commands_.clear();
}

void TUnitSim::HangUp() {
    Stop();
    CloseLine();
    std::lock_guard lock(mutex_);
    hungUp_ = true;
}

bool TUnitSim::HungUp() const {
    std::lock_guard lock(mutex_);
    return hungUp_;
}

void TUnitSim::Run() {
    char chunk[512];
    while (!stop_ && master_ >= 0) {
        pollfd fds[2] = {{master_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents) return;
        const ssize_t n = ::read(master_, chunk, sizeof chunk);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n <= 0) return;  // the line is gone
        for (ssize_t i = 0; i < n && master_ >= 0 && !stop_; ++i) HandleByte(chunk[i]);
    }
}

void TUnitSim::HandleByte(char c) {
    TUnitFaults faults;
    const auto now = Clock::now();
    {
        std::lock_guard lock(mutex_);
        received_.push_back({c, now});
        faults = faults_;
    }
    const std::size_t position = pending_.size();
    if (faults.HangUpAt && *faults.HangUpAt == position) {
        CloseLine();
        std::lock_guard lock(mutex_);
        hungUp_ = true;
        return;
    }
    pending_ += c;

    std::string command;
    const bool complete = c == '\n';
    if (complete) {
        command = pending_.substr(0, pending_.size() - 1);
        if (!command.empty() && command.back() == '\r') command.pop_back();
        pending_.clear();
        std::lock_guard lock(mutex_);
        commands_.push_back({command, now});
    } else if (pending_.size() >= kMaxCommand) {
        pending_.clear();
    }

    if (!faults.NoEcho) {
        char echo = c;
        if (faults.WrongEchoAt && *faults.WrongEchoAt == position) echo = static_cast<char>(c ^ 0x20);
        if (!Send(&echo, 1)) return;
    }
    if (complete) Answer(command);
}

void TUnitSim::Answer(const std::string& command) {
    TUnitData data;
    TUnitFaults faults;
    {
        std::lock_guard lock(mutex_);
        data = data_;
        faults = faults_;
    }

    std::string reply = "?\r\n";
    if (command == faults.RefuseCommand) {
        // refused as asked
    } else if (command == "com_check") {
        reply = data.CheckReply + "\r\n";
    } else if (command == "fw_rev") {
        reply = data.Firmware + "\r\n";
    } else if (command == "angle") {
        reply = data.Angle + "\r\n";
    } else {
        for (std::size_t i = 0; i < kUnitListCommands.size(); ++i) {
            if (command == kUnitListCommands[i]) reply = data.Lists[i];
        }
    }

    if (faults.ReplyFaultsFor.empty() || faults.ReplyFaultsFor == command) {
        if (faults.NoReply) reply.clear();
        if (faults.LongReply) {
            reply.clear();
            for (std::size_t i = 0; i < kLongReplyBytes; ++i) reply += static_cast<char>('0' + i % 10);
        }
        if (faults.CutReplyAfter && *faults.CutReplyAfter < reply.size()) reply.resize(*faults.CutReplyAfter);
        if (!Send(reply.data(), reply.size())) return;
        if (faults.HangUpAfterReplyMs) {
            pollfd wake {wake_[0], POLLIN, 0};
            if (::poll(&wake, 1, *faults.HangUpAfterReplyMs) != 0) return;  // stopped meanwhile
            CloseLine();
            std::lock_guard lock(mutex_);
            hungUp_ = true;
        }
        return;
    }
    Send(reply.data(), reply.size());
}

bool TUnitSim::WaitWritable() {
    pollfd fds[2] = {{master_, POLLOUT, 0}, {wake_[0], POLLIN, 0}};
    const int r = ::poll(fds, 2, kWriteStallMs);
    return r > 0 && !fds[1].revents && (fds[0].revents & POLLOUT);
}

bool TUnitSim::Send(const char* data, std::size_t n) {
    bool paced = false;
    {
        std::lock_guard lock(mutex_);
        paced = paced_;
    }
    std::size_t sent = 0;
    while (sent < n) {
        if (stop_ || master_ < 0) return false;
        std::size_t step = n - sent;
        if (paced) {
            nextSlot_ = std::max(nextSlot_, Clock::now());
            std::this_thread::sleep_until(nextSlot_);
            nextSlot_ += kByteTime;
            step = 1;
        }
        const ssize_t w = ::write(master_, data + sent, step);
        if (w > 0) {
            sent += static_cast<std::size_t>(w);
        } else if (w < 0 && errno == EAGAIN) {
            if (!WaitWritable()) return false;
        } else if (!(w < 0 && errno == EINTR)) {
            return false;
        }
    }
    return true;
}
