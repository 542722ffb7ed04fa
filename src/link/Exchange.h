#pragma once
// The echo-checked command exchange with the turning unit, over the main
// window's one serial port.

#include <cstddef>

class TForm1;

// ReplyBuffer capacities: the longest reply of the exchange plus the terminator.
inline constexpr std::size_t ShortReplySize = 100;
inline constexpr std::size_t ListReplySize = 1201;

// Opens the selected port and runs the DTR/RTS sequence; false on any port error.
bool OpenSelectedPort(TForm1& form);

// The buffer holds the command on entry and the reply (or "?") on return.
// ExchangeCommand needs ShortReplySize, ExchangeListCommand ListReplySize.
bool ExchangeCommand(TForm1& form, char* ReplyBuffer);
bool ExchangeListCommand(TForm1& form, char* ReplyBuffer);

// "com_check" answered with "COM_OK": the port stays open; otherwise it is closed.
bool CheckConnection(TForm1& form);

// Nothing when the result was success (answers false); otherwise "Upload Error!"
// in the Upload dialog, the port closed, and true.
bool FailUpload(TForm1& form, bool result);
