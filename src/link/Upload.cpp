// Data > Upload: the firmware revision and the ten lists of the unit, into
// the State and Statistic windows, with the Upload dialog showing progress.

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <cstring>

#include "app/TForm1.h"
#include "data/DecodeListReply.h"
#include "data/TForm2.h"
#include "data/TForm3.h"
#include "link/Exchange.h"
#include "link/PortClosing.h"
#include "link/TForm4.h"
#include "link/TForm6.h"
#include "platform/Modal.h"
#include "platform/Wait.h"

namespace {

struct TListRow {
    const char* Command;
    unsigned Kind;
    int Progress;
    bool PauseAfter;
};

// The unit needs the pauses after these lists before it takes the next command.
constexpr TListRow kListRows[] = {
    {"lst_stop_angles_frw\r\n", ListStopAnglesFrw, 10, true},
    {"lst_brake_angles_frw\r\n", ListBrakeAnglesFrw, 20, true},
    {"lst_stop_angles_bkw\r\n", ListStopAnglesBkw, 30, true},
    {"lst_brake_angles_bkw\r\n", ListBrakeAnglesBkw, 40, true},
    {"lst_cycle_times\r\n", ListCycleTimes, 50, true},
    {"lst_outputs\r\n", ListOutputs, 60, false},
    {"lst_errors\r\n", ListErrors, 70, false},
    {"lst_inputs\r\n", ListInputs, 80, true},
    {"lst_control\r\n", ListControl, 90, false},
    {"lst_diagnosis\r\n", ListDiagnosis, 100, false},
};

constexpr unsigned kUploadPauseMs = 300;

// True from the start to the end of an upload.
bool uploading = false;

// From the shown dialog to the end; the port is open on entry and closed on
// every way out.
void RunUpload(TForm1& form)
{
    TPortClosing closing(form);

    Form4->Label2->setText(QStringLiteral("Please wait..."));
    Form4->ProgressBar1->setValue(0);
    Form4->show();
    Form4->repaint();
    Sleep(kUploadPauseMs);

    if (!CheckConnection(form)) {
        Form4->Label2->setText(QStringLiteral("Communication failed!"));
        return;
    }

    // One buffer of the list size carries every command and its reply.
    char buffer[ListReplySize];
    std::strcpy(buffer, "fw_rev\r\n");
    if (FailUpload(form, ExchangeCommand(form, buffer)))
        return;
    Form2->edtFirmwareRev->SetText(QString::fromLatin1(buffer));
    Form4->ProgressBar1->setValue(3);

    for (const TListRow& row : kListRows) {
        std::strcpy(buffer, row.Command);
        if (FailUpload(form, ExchangeListCommand(form, buffer)))
            return;
        if (FailUpload(form, DecodeListReply(buffer, row.Kind)))
            return;
        Form4->ProgressBar1->setValue(row.Progress);
        if (row.PauseAfter)
            Sleep(kUploadPauseMs);
    }

    Form4->Label2->setText(QStringLiteral("Parameters uploaded successfully..."));
    closing.Close();
    form.Timer1->start();
    for (TPointSeries* series : {Form3->StopFrw, Form3->BrakeFrw, Form3->StopBkw, Form3->BrakeBkw})
        series->Repaint();
}

}  // namespace

void TForm1::acDatenUploadExecute()
{
    // Only a handler running inside a wait of the line could get here; the
    // line belongs to that exchange.
    if (IsLineBusy())
        return;
    repaint();
    // The hide still pending from an earlier upload must not cut this one short.
    Timer1->stop();
    // Unticking runs the box's handler, which stops the measurement and closes the port.
    Form6->CheckBox1->setChecked(false);

    bool opened = false;
    {
        TLineBusy busy;
        uploading = true;
        struct TUploadEnd {
            ~TUploadEnd() { uploading = false; }
        } uploadEnd;
        opened = OpenSelectedPort(*this);
        if (opened)
            RunUpload(*this);
    }
    if (!opened)
        Modal().ShowMessage(this, QStringLiteral("Cannot open COM-Port!"));
}

void TForm1::Timer1Timer()
{
    // The dialog belongs to the upload in progress; its own end decides.
    if (uploading)
        return;
    Timer1->stop();
    Form4->close();
}
