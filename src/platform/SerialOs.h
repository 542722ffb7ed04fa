#pragma once
// The operating system's serial calls, POSIX only, no Qt.
//
// Every call answers 0 on success or the errno value of the failing system
// call, so the caller can raise its own error code with the system's number.

#include <cstddef>
#include <cstdint>
#include <string>

namespace SerialOs {

// Parity and stop bit codes as the settings record numbers them.
enum : std::uint8_t { ParityNone = 0, ParityOdd = 1, ParityEven = 2, ParityMark = 3, ParitySpace = 4 };
enum : std::uint8_t { StopOne = 0, StopOneAndHalf = 1, StopTwo = 2 };

// How a modem control line is driven.
enum class TLineControl : std::uint8_t { Off, On, Handshake };

struct TLineSettings {
    std::uint32_t BaudRate = 9600;
    std::uint8_t ByteSize = 8;
    std::uint8_t Parity = ParityNone;
    std::uint8_t StopBits = StopOne;
    TLineControl Dtr = TLineControl::Off;
    TLineControl Rts = TLineControl::Off;  // Handshake: hardware flow control (RTS/CTS)
};

struct TReadTimeouts {
    std::uint32_t IntervalMs = 0;          // longest pause between two bytes, once one arrived; 0: none
    std::uint32_t TotalMultiplierMs = 0;   // per byte asked for
    std::uint32_t TotalConstantMs = 0;     // added once; both total parts 0: no total limit
};

// Opens the device for reading and writing without making it the controlling
// terminal, then claims it for this process alone (flock and TIOCEXCL). A
// device that someone else holds fails with EWOULDBLOCK.
int OpenExclusive(const std::string& path, int& fd);

// Releases the exclusive claim and closes. Linux frees the descriptor even
// when close reports an error, so fd must not be used again either way.
int Close(int fd);

// The device's current line settings. A device without modem lines reports
// both lines as Off.
int GetLine(int fd, TLineSettings& out);

// Raw mode with the given line settings, then the modem lines. Values the
// device cannot carry fail with EINVAL. A pseudo-terminal takes no line
// settings other than the speed and has no modem lines; it accepts the rest
// silently, as a null-modem cable would.
int ApplyLine(int fd, const TLineSettings& settings);

// Discards the bytes received and not yet read.
int PurgeInput(int fd);

// Waits until every written byte has left the driver. A line that stops
// sending (stalled hardware flow control) fails with ETIMEDOUT rather than
// blocking for ever.
int DrainOutput(int fd);

// Bytes received and waiting to be read.
int InputCount(int fd, std::uint32_t& count);

// Reads up to max bytes. Returns when max bytes have arrived, when more than
// IntervalMs pass between two bytes (counted from the first byte on), or when
// TotalConstantMs + TotalMultiplierMs * max have passed since the call began;
// got holds what arrived until then. A hung-up device fails with EIO.
int Read(int fd, char* buffer, std::size_t max, const TReadTimeouts& timeouts, std::size_t& got);

// Writes n bytes, waiting at most totalMs for the driver to take them;
// written tells how many it took. Running out of time is no error.
int Write(int fd, const char* data, std::size_t n, std::uint32_t totalMs, std::size_t& written);

}  // namespace SerialOs
