// The live angle: one "angle" exchange per tick while "Update Measurement" is
// ticked, the port open only for the exchange.

#include <QCheckBox>
#include <QLabel>
#include <QTimer>

#include "app/TForm1.h"
#include "common/Numbers.h"
#include "link/Exchange.h"
#include "link/PortClosing.h"
#include "link/TForm6.h"
#include "platform/Modal.h"
#include "platform/Wait.h"

namespace {

// One tick on an open line. False when the port could not be opened.
bool MeasureOnce(TForm6& window, TForm1& form)
{
    try {
        form.CommPort->OpenPort();
    } catch (const ECommError&) {
        return false;
    }
    TPortClosing closing(form);

    char buffer[ShortReplySize] = "angle\r\n";
    if (FailUpload(form, ExchangeCommand(form, buffer)))
        return true;
    // The unit answers in tenths of a degree.
    const double angle = ReadNumber(buffer) * 0.1;
    window.Label1->setText(QString::fromStdString(FormatFixed(angle, 1, 7)) + QStringLiteral(" \u00B0"));
    form.CurrentAngle = QString::fromStdString(FormatFixed(angle, 1));
    return true;
}

}  // namespace

void TForm6::CheckBox1Click()
{
    if (!CheckBox1->isChecked()) {
        TPortClosing(*Form1).Close();
        Timer1->stop();
        return;
    }
    bool opened = false;
    {
        TLineBusy busy;
        opened = OpenSelectedPort(*Form1);
    }
    if (opened)
        Timer1->start();
    else
        Modal().ShowMessage(Form1, QStringLiteral("Cannot open COM-Port!"));
}

void TForm6::Timer1Timer()
{
    // The line is in the middle of another exchange; the next tick measures.
    if (IsLineBusy())
        return;
    bool opened = false;
    {
        TLineBusy busy;
        opened = MeasureOnce(*this, *Form1);
    }
    if (!opened) {
        // The device went away while measuring: stop, and say so once, after
        // the timer is off so that no further tick can repeat the message.
        CheckBox1->setChecked(false);
        Modal().ShowMessage(Form1, QStringLiteral("Cannot open COM-Port!"));
    }
}
