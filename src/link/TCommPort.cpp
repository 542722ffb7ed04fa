#include "link/TCommPort.h"

#include <cerrno>
#include <utility>

#include <sys/stat.h>

#include "platform/SerialOs.h"

namespace {

// Error codes, by the operation that failed.
enum : std::uint8_t {
    kErrBaudRate = 1,
    kErrStopBits = 3,
    kErrParity = 4,
    kErrByteSize = 5,
    kErrPortName = 6,
    kErrNotOpen = 7,
    kErrOpen = 8,
    kErrWrite = 9,
    kErrRead = 10,
    kErrClose = 11,
    kErrPurge = 12,
    kErrFlush = 13,
    kErrGetState = 14,
    kErrSetState = 15,
    kErrQueues = 16,
    kErrTimeouts = 17,
    kErrStatus = 18,
};

constexpr std::uint32_t kInQueue = 32768;
constexpr std::uint32_t kOutQueue = 9216;

SerialOs::TLineControl DtrControl(std::uint8_t f) {
    switch (f) {
    case TDcb::DTR_CONTROL_DISABLE: return SerialOs::TLineControl::Off;
    case TDcb::DTR_CONTROL_ENABLE: return SerialOs::TLineControl::On;
    default: return SerialOs::TLineControl::Handshake;
    }
}

std::uint8_t DtrField(SerialOs::TLineControl c) {
    switch (c) {
    case SerialOs::TLineControl::Off: return TDcb::DTR_CONTROL_DISABLE;
    case SerialOs::TLineControl::On: return TDcb::DTR_CONTROL_ENABLE;
    default: return TDcb::DTR_CONTROL_HANDSHAKE;
    }
}

std::uint8_t RtsField(SerialOs::TLineControl c) {
    switch (c) {
    case SerialOs::TLineControl::Off: return TDcb::RTS_CONTROL_DISABLE;
    case SerialOs::TLineControl::On: return TDcb::RTS_CONTROL_ENABLE;
    default: return TDcb::RTS_CONTROL_HANDSHAKE;
    }
}

// The whole record onto the device; errno of the refusal, or 0.
int ApplyRecord(int fd, const TDcb& dcb) {
    SerialOs::TLineSettings line;
    line.BaudRate = dcb.BaudRate;
    line.ByteSize = dcb.ByteSize;
    line.Parity = dcb.Parity;
    line.StopBits = dcb.StopBits;
    if (dcb.fDtrControl > TDcb::DTR_CONTROL_HANDSHAKE) return EINVAL;
    line.Dtr = DtrControl(dcb.fDtrControl);
    switch (dcb.fRtsControl) {
    case TDcb::RTS_CONTROL_DISABLE: line.Rts = SerialOs::TLineControl::Off; break;
    case TDcb::RTS_CONTROL_ENABLE: line.Rts = SerialOs::TLineControl::On; break;
    case TDcb::RTS_CONTROL_HANDSHAKE: line.Rts = SerialOs::TLineControl::Handshake; break;
    default: return EINVAL;  // RTS toggling needs a driver that does it; Linux has none
    }
    return SerialOs::ApplyLine(fd, line);
}

std::string ErrorText(std::uint8_t code, std::uint32_t systemError) {
    return "Serial port error " + std::to_string(code) + " (system error " + std::to_string(systemError) + ")";
}

}  // namespace

ECommError::ECommError(std::uint8_t code, std::uint32_t systemError)
    : code_(code), systemError_(systemError), text_(ErrorText(code, systemError)) {}

TCommPort::TCommPort(std::shared_ptr<const TPortMap> map)
    : map_(map ? std::move(map) : std::make_shared<const TPortMap>()) {
    dcb_.DCBlength = sizeof(TDcb);
    dcb_.BaudRate = 9600;
    dcb_.ByteSize = 8;
    dcb_.Parity = TDcb::EVENPARITY;
    dcb_.StopBits = TDcb::ONESTOPBIT;
}

TCommPort::~TCommPort() {
    // A destructor must not throw; the descriptor is released either way.
    try {
        ClosePort();
    } catch (const ECommError&) {
    }
}

void TCommPort::SetPortName(const std::string& name) {
    if (open_) throw ECommError(kErrPortName, 0);
    portName_ = name;
}

void TCommPort::OpenPort() {
    if (open_) return;
    const TDcb kept = dcb_;

    const std::optional<std::string> path = map_->DevicePath(portName_);
    if (!path) throw ECommError(kErrOpen, ENOENT);
    int fd = -1;
    if (int err = SerialOs::OpenExclusive(*path, fd)) throw ECommError(kErrOpen, static_cast<std::uint32_t>(err));

    auto fail = [fd](std::uint8_t code, int err) {
        SerialOs::Close(fd);
        return ECommError(code, static_cast<std::uint32_t>(err));
    };

    SerialOs::TLineSettings current;
    if (int err = SerialOs::GetLine(fd, current)) throw fail(kErrGetState, err);
    dcb_.BaudRate = current.BaudRate;
    dcb_.ByteSize = current.ByteSize;
    dcb_.Parity = current.Parity;
    dcb_.StopBits = current.StopBits;
    dcb_.fDtrControl = DtrField(current.Dtr);
    dcb_.fRtsControl = RtsField(current.Rts);

    dcb_.BaudRate = kept.BaudRate;
    dcb_.ByteSize = kept.ByteSize;
    dcb_.Parity = kept.Parity;
    dcb_.StopBits = kept.StopBits;
    if (int err = ApplyRecord(fd, dcb_)) throw fail(kErrSetState, err);

    // The kernel sizes its own queues; the sizes are kept for what they say.
    inQueue_ = kInQueue;
    outQueue_ = kOutQueue;
    // Read and write run under these values; no driver call can refuse them.
    timeouts_ = {50, 1, 200, 1, 200};

    fd_ = fd;
    open_ = true;
}

void TCommPort::ClosePort() {
    if (!open_) return;
    const int err = SerialOs::Close(fd_);
    // Linux releases the descriptor even when close fails, and its number may
    // soon name another file: never touch it again.
    fd_ = -1;
    open_ = false;
    if (err) throw ECommError(kErrClose, static_cast<std::uint32_t>(err));
}

namespace {

// Stores value in field; while open applies the record and on refusal puts
// the previous value back and raises code.
template <typename T>
void SetField(bool open, int fd, TDcb& dcb, T TDcb::*field, T value, std::uint8_t code) {
    const T previous = dcb.*field;
    dcb.*field = value;
    if (!open) return;
    if (int err = ApplyRecord(fd, dcb)) {
        dcb.*field = previous;
        throw ECommError(code, static_cast<std::uint32_t>(err));
    }
}

}  // namespace

void TCommPort::SetBaudRate(std::uint32_t value) { SetField(open_, fd_, dcb_, &TDcb::BaudRate, value, kErrBaudRate); }
void TCommPort::SetByteSize(std::uint8_t value) { SetField(open_, fd_, dcb_, &TDcb::ByteSize, value, kErrByteSize); }
void TCommPort::SetParity(std::uint8_t value) { SetField(open_, fd_, dcb_, &TDcb::Parity, value, kErrParity); }
void TCommPort::SetStopBits(std::uint8_t value) { SetField(open_, fd_, dcb_, &TDcb::StopBits, value, kErrStopBits); }

void TCommPort::GetSettings(TDcb& out) const { out = dcb_; }

void TCommPort::SetSettings(const TDcb& settings) {
    if (open_) {
        if (int err = ApplyRecord(fd_, settings)) throw ECommError(kErrSetState, static_cast<std::uint32_t>(err));
    }
    dcb_ = settings;
}

void TCommPort::CheckOpen() const {
    if (!open_) throw ECommError(kErrNotOpen, 0);
}

void TCommPort::PurgeInput() {
    CheckOpen();
    if (int err = SerialOs::PurgeInput(fd_)) throw ECommError(kErrPurge, static_cast<std::uint32_t>(err));
}

void TCommPort::FlushOutput() {
    CheckOpen();
    if (int err = SerialOs::DrainOutput(fd_)) throw ECommError(kErrFlush, static_cast<std::uint32_t>(err));
}

void TCommPort::WriteChar(char c) {
    CheckOpen();
    std::size_t written = 0;
    const std::uint32_t totalMs = timeouts_.WriteTotalTimeoutConstant + timeouts_.WriteTotalTimeoutMultiplier;
    if (int err = SerialOs::Write(fd_, &c, 1, totalMs, written)) {
        throw ECommError(kErrWrite, static_cast<std::uint32_t>(err));
    }
}

namespace {

SerialOs::TReadTimeouts ReadTimeouts(const TCommTimeouts& t) {
    return {t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier, t.ReadTotalTimeoutConstant};
}

}  // namespace

bool TCommPort::ReadChar(char& c) {
    CheckOpen();
    std::size_t got = 0;
    char byte = 0;
    if (int err = SerialOs::Read(fd_, &byte, 1, ReadTimeouts(timeouts_), got)) {
        throw ECommError(kErrRead, static_cast<std::uint32_t>(err));
    }
    if (got == 0) return false;
    c = byte;
    return true;
}

std::uint32_t TCommPort::ReadBlock(char* buffer, std::uint32_t max) {
    CheckOpen();
    std::size_t got = 0;
    const int err = SerialOs::Read(fd_, buffer, max, ReadTimeouts(timeouts_), got);
    // Terminated even on failure, so the caller never meets a text without end.
    buffer[got] = '\0';
    if (err) throw ECommError(kErrRead, static_cast<std::uint32_t>(err));
    return static_cast<std::uint32_t>(got);
}

std::uint32_t TCommPort::ReadLine(char* buffer, std::uint32_t max) {
    CheckOpen();
    if (max == 0) return 0;
    buffer[0] = '\0';
    if (InputCount() == 0) return 0;
    std::uint32_t stored = 0;
    while (stored < max) {
        char c = 0;
        if (!ReadChar(c)) {
            // The unit stopped without ending the line: keep what came.
            buffer[stored] = '\0';
            return stored;
        }
        if (c == '\r') {
            buffer[stored] = '\0';
            return stored + 1;
        }
        if (c != '\n') buffer[stored++] = c;
    }
    buffer[max - 1] = '\0';
    return max;
}

std::uint32_t TCommPort::InputCount() {
    CheckOpen();
    std::uint32_t count = 0;
    if (int err = SerialOs::InputCount(fd_, count)) throw ECommError(kErrStatus, static_cast<std::uint32_t>(err));
    return count;
}

bool PortAvailable(const TPortMap& map, const std::string& name) {
    try {
        const std::optional<std::string> path = map.DevicePath(name);
        if (!path) return false;
        struct stat st {};
        return ::stat(path->c_str(), &st) == 0 && S_ISCHR(st.st_mode);
    } catch (...) {
        return false;
    }
}
