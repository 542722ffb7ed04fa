#include "report/Report.h"

#include <QPrinter>
#include <exception>

#include "app/TForm1.h"
#include "files/TForm5.h"
#include "platform/Modal.h"
#include "platform/ReportCanvasPrinter.h"

namespace {

// Lives as long as the main window, so the printer chosen in the print
// dialog stays chosen for the next print.
class TPrinterHolder final : public QObject {
public:
    explicit TPrinterHolder(QObject* owner) : QObject(owner), Printer(QPrinter::HighResolution)
    {
        setObjectName(QStringLiteral("ReportPrinter"));
    }
    QPrinter Printer;
};

}  // namespace

QPrinter& ReportPrinter()
{
    for (QObject* child : Form1->children())
        if (auto* holder = dynamic_cast<TPrinterHolder*>(child))
            return holder->Printer;
    return (new TPrinterHolder(Form1))->Printer;
}

bool PrintReport(TReportCanvas& canvas, const TReportClock& now)
{
    try {
        canvas.BeginDoc();
        canvas.SetFontSize(10);
        DrawReportPages(canvas, now);
        canvas.EndDoc();
        return true;
    } catch (const std::exception& e) {
        canvas.Abort();
        ShowErrorMessage(QString::fromUtf8(e.what()));
    }
    return false;
}

void TForm1::ToolButton8Click()
{
    // The operator sees the project information even when the print is then cancelled.
    Modal().ShowModal(*Form5);
    PrintDialog1.MinPage = 1;
    PrintDialog1.MaxPage = 3;
    QPrinter& printer = ReportPrinter();
    if (!Modal().ExecutePrint(this, PrintDialog1, printer))
        return;
    TPrinterCanvas canvas(printer);
    PrintReport(canvas);
}
