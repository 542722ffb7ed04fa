#pragma once
// The one serial port of the application: open by port name with fixed line
// settings, driver queues and timeouts; byte, block and line reads; purge,
// flush, close. Every OS failure is raised as ECommError. No Qt here.

#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "link/PortMap.h"

// Settings record: the fields the program uses of the serial line.
struct TDcb {
    enum : std::uint8_t { NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4 };
    enum : std::uint8_t { ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2 };
    enum : std::uint8_t { DTR_CONTROL_DISABLE = 0, DTR_CONTROL_ENABLE = 1, DTR_CONTROL_HANDSHAKE = 2 };
    enum : std::uint8_t { RTS_CONTROL_DISABLE = 0, RTS_CONTROL_ENABLE = 1, RTS_CONTROL_HANDSHAKE = 2, RTS_CONTROL_TOGGLE = 3 };

    std::uint32_t DCBlength = sizeof(TDcb);
    std::uint32_t BaudRate = 0;
    std::uint8_t ByteSize = 0;
    std::uint8_t Parity = 0;
    std::uint8_t StopBits = 0;
    std::uint8_t fDtrControl = 0;
    std::uint8_t fRtsControl = 0;
};

class ECommError : public std::exception {
public:
    ECommError(std::uint8_t code, std::uint32_t systemError);
    std::uint8_t Code() const { return code_; }
    std::uint32_t SystemError() const { return systemError_; }
    const char* what() const noexcept override { return text_.c_str(); }

private:
    std::uint8_t code_;
    std::uint32_t systemError_;
    std::string text_;
};

struct TCommTimeouts {
    std::uint32_t ReadIntervalTimeout = 0;
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;
};

class TCommPort {
public:
    // The map resolves port names to devices; null means the default roots.
    explicit TCommPort(std::shared_ptr<const TPortMap> map = nullptr);
    ~TCommPort();
    TCommPort(const TCommPort&) = delete;
    TCommPort& operator=(const TCommPort&) = delete;

    void SetPortName(const std::string& name);
    const std::string& PortName() const { return portName_; }
    bool IsOpen() const { return open_; }

    void OpenPort();
    void ClosePort();

    void SetBaudRate(std::uint32_t value);
    void SetByteSize(std::uint8_t value);
    void SetParity(std::uint8_t value);
    void SetStopBits(std::uint8_t value);
    void GetSettings(TDcb& out) const;
    void SetSettings(const TDcb& settings);
    const TCommTimeouts& Timeouts() const { return timeouts_; }

    void CheckOpen() const;
    void PurgeInput();
    void FlushOutput();
    void WriteChar(char c);
    // False when no byte arrived within the read timeouts.
    bool ReadChar(char& c);
    // Reads up to max bytes in one read under the timeout rule; buffer holds max + 1.
    std::uint32_t ReadBlock(char* buffer, std::uint32_t max);
    std::uint32_t ReadLine(char* buffer, std::uint32_t max);
    std::uint32_t InputCount();

    const TPortMap& PortMap() const { return *map_; }

private:
    std::shared_ptr<const TPortMap> map_;
    bool open_ = false;
    TCommTimeouts timeouts_;
    std::string portName_ = "COM1";
    TDcb dcb_;
    int fd_ = -1;
    std::uint32_t inQueue_ = 0, outQueue_ = 0;
};

// Whether the port name maps to a device that exists. Never throws.
bool PortAvailable(const TPortMap& map, const std::string& name);
