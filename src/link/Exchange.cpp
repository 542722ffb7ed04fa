#include "link/Exchange.h"

#include <QLabel>
#include <cstring>

#include "app/TForm1.h"
#include "link/TForm4.h"
#include "platform/Wait.h"

namespace {

// Sends the command byte by byte, checking each echo; a differing (or
// missing) echo before the closing CR LF fails the exchange with "?".
bool SendEchoed(TCommPort& port, char* buffer)
{
    const std::size_t n = std::strlen(buffer);
    for (std::size_t i = 0; i < n; ++i) {
        const char sent = buffer[i];
        port.WriteChar(sent);
        Sleep(4);
        char echo = 0;
        const bool got = port.ReadChar(echo);
        if ((!got || echo != sent) && i + 2 < n) {
            std::strcpy(buffer, "?");
            port.PurgeInput();
            port.FlushOutput();
            return false;
        }
    }
    return true;
}

template <typename ReadReply>
bool Exchange(TForm1& form, char* buffer, unsigned pauseMs, ReadReply readReply)
{
    TLineBusy busy;
    try {
        TCommPort& port = *form.CommPort;
        port.PurgeInput();
        if (!SendEchoed(port, buffer))
            return false;
        Sleep(pauseMs);
        readReply(port, buffer);
        port.FlushOutput();
        return buffer[0] != '?';
    } catch (const ECommError&) {
        return false;
    }
}

}  // namespace

bool ExchangeCommand(TForm1& form, char* ReplyBuffer)
{
    return Exchange(form, ReplyBuffer, 50,
                    [](TCommPort& port, char* buffer) { port.ReadLine(buffer, ShortReplySize); });
}

bool ExchangeListCommand(TForm1& form, char* ReplyBuffer)
{
    return Exchange(form, ReplyBuffer, 600,
                    [](TCommPort& port, char* buffer) { port.ReadBlock(buffer, ListReplySize - 1); });
}

bool OpenSelectedPort(TForm1& form)
{
    TLineBusy busy;
    TCommPort& port = *form.CommPort;
    try {
        port.SetPortName(form.SelectedPort);
        port.OpenPort();
    } catch (const ECommError&) {
        return false;
    }
    try {
        port.GetSettings(form.Dcb);
        form.Dcb.fDtrControl = TDcb::DTR_CONTROL_ENABLE;
        form.Dcb.fRtsControl = TDcb::RTS_CONTROL_ENABLE;
        port.SetSettings(form.Dcb);
        Sleep(50);
        form.Dcb.fDtrControl = TDcb::DTR_CONTROL_ENABLE;
        form.Dcb.fRtsControl = TDcb::RTS_CONTROL_DISABLE;
        port.SetSettings(form.Dcb);
        Sleep(200);
        port.PurgeInput();
        port.FlushOutput();
        return true;
    } catch (const ECommError&) {
        // A port left open here would stay locked to us, and every later
        // open (which renames the port first) would fail until restart.
        try {
            port.ClosePort();
        } catch (const ECommError&) {
        }
        return false;
    }
}

bool CheckConnection(TForm1& form)
{
    char buffer[ShortReplySize] = "com_check\r\n";
    const bool exchanged = ExchangeCommand(form, buffer);
    if (!exchanged) {
        FailUpload(form, exchanged);
        try {
            form.CommPort->ClosePort();
        } catch (const ECommError&) {
        }
        return false;
    }
    if (std::strstr(buffer, "COM_OK"))
        return true;
    try {
        form.CommPort->ClosePort();
    } catch (const ECommError&) {
    }
    return false;
}

bool FailUpload(TForm1& form, bool result)
{
    if (result)
        return false;
    // During the discovery at start-up the Upload dialog does not exist yet.
    if (Form4)
        Form4->Label2->setText(QStringLiteral("Upload Error!"));
    try {
        form.CommPort->ClosePort();
    } catch (const ECommError&) {
        // The port is reported open still; the next open tries again.
    }
    return true;
}
