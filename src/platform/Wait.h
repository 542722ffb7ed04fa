#pragma once
// The waits of the serial work. A wait keeps the windows painted but takes no
// user input, so no command can start while the line is busy.

// Waits ms milliseconds.
void Sleep(unsigned ms);

// Marks the serial line as busy for the lifetime of the object. Timer handlers
// that would talk to the unit, or change what an exchange relies on, look at
// IsLineBusy() and leave their work for a later tick.
class TLineBusy {
public:
    TLineBusy();
    ~TLineBusy();
    TLineBusy(const TLineBusy&) = delete;
    TLineBusy& operator=(const TLineBusy&) = delete;
};

bool IsLineBusy();
