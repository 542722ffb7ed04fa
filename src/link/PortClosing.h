#pragma once
// Closes the main window's port when an operation on the line ends, whichever
// way it ends, so that the port is never left open between operations.

#include "app/TForm1.h"

class TPortClosing {
public:
    explicit TPortClosing(TForm1& form) : form_(form) {}
    ~TPortClosing() { Close(); }
    TPortClosing(const TPortClosing&) = delete;
    TPortClosing& operator=(const TPortClosing&) = delete;

    // A close that fails has still given the device back; nothing to do then.
    void Close()
    {
        try {
            form_.CommPort->ClosePort();
        } catch (const ECommError&) {
        }
    }

private:
    TForm1& form_;
};
