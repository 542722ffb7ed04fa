#pragma once
// A simulated turning unit on the master side of a pseudo-terminal.
//
// A thread of its own echoes every byte it receives and, once a command has
// ended with CR LF, answers it from the data set. Faults can be switched on
// at any time; everything received is recorded with its time so tests can
// check order and pauses. No Qt here.

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// What the unit answers. The list replies are sent exactly as given.
struct TUnitData {
    std::string CheckReply = "COM_OK";
    std::string Firmware = "TU-200 V2.14";
    std::string Angle = "0";  // tenths of a degree
    std::array<std::string, 10> Lists;  // replies to the list commands, in list kind order

    // A small, complete data set: every list has its full number of lines.
    static TUnitData Sample();
};

// The list commands without CR LF, in list kind order.
extern const std::array<const char*, 10> kUnitListCommands;

// Lines joined by CR LF, ended by CR LF: the way the unit sends a list.
std::string MakeListReply(const std::vector<std::string>& lines);

struct TUnitFaults {
    bool NoEcho = false;
    std::optional<std::size_t> WrongEchoAt;    // echo a different byte at this position of each command
    std::optional<std::size_t> HangUpAt;       // hang up on receiving this position of a command
    std::string RefuseCommand;                 // answer "?" to this command (no CR LF)
    // The reply faults below hit every command, or only ReplyFaultsFor.
    std::string ReplyFaultsFor;
    bool NoReply = false;
    std::optional<std::size_t> CutReplyAfter;  // send only this many bytes of the reply
    bool LongReply = false;                    // 5000 bytes without a line end instead of the reply
    // Hang up this long after the reply has gone: the line drops while the
    // program still reads or waits. (Pending input dies with the line.)
    std::optional<int> HangUpAfterReplyMs;
};

struct TReceivedByte {
    char Byte;
    std::chrono::steady_clock::time_point At;
};

struct TReceivedCommand {
    std::string Text;  // without CR LF
    std::chrono::steady_clock::time_point At;  // when its LF arrived
};

class TUnitSim {
public:
    // Opens the pseudo-terminal and starts the unit. Throws std::system_error.
    explicit TUnitSim(TUnitData data = TUnitData::Sample());
    ~TUnitSim();
    TUnitSim(const TUnitSim&) = delete;
    TUnitSim& operator=(const TUnitSim&) = delete;

    // The device the program opens, e.g. /dev/pts/4.
    const std::string& SlavePath() const { return slavePath_; }

    // Publishes the device as portName ("COM3") in linksDir and returns the
    // link's path; the link is removed again by Unpublish or the destructor.
    // Throws std::system_error, e.g. when the name is taken.
    std::string PublishAs(const std::string& linksDir, const std::string& portName);
    void Unpublish();

    void SetData(TUnitData data);
    TUnitData Data() const;
    void SetFaults(TUnitFaults faults);
    // Paced: bytes leave at the speed of 9600 baud 8E1, about 1.15 ms each.
    void SetPaced(bool paced);

    std::vector<TReceivedByte> Received() const;
    std::vector<TReceivedCommand> Commands() const;
    void ClearRecord();

    // Closes the master side as an unplugged cable would.
    void HangUp();
    bool HungUp() const;

    static constexpr std::size_t kLongReplyBytes = 5000;

private:
    void Run();
    void HandleByte(char c);
    void Answer(const std::string& command);
    // Sends bytes, paced if asked; false when stopped or hung up.
    bool Send(const char* data, std::size_t n);
    bool WaitWritable();
    void CloseLine();
    void Stop();

    mutable std::mutex mutex_;
    TUnitData data_;
    TUnitFaults faults_;
    bool paced_ = false;
    std::vector<TReceivedByte> received_;
    std::vector<TReceivedCommand> commands_;
    bool hungUp_ = false;

    std::atomic<bool> stop_ {false};
    int master_ = -1;
    int slaveKeep_ = -1;  // keeps the line up while the program has the port closed
    int wake_[2] = {-1, -1};
    std::string slavePath_;
    std::string linkPath_;

    // Owned by the unit's thread.
    std::string pending_;
    std::chrono::steady_clock::time_point nextSlot_ {};
    std::thread thread_;
};
