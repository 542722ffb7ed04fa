#include "platform/ReportCanvasPrinter.h"

#include <QFontMetricsF>
#include <QPrinter>
#include <filesystem>
#include <system_error>

TPrinterCanvas::TPrinterCanvas(QPrinter& printer) : printer_(printer) {}

TPrinterCanvas::~TPrinterCanvas()
{
    // A job left open by an error that nobody handled must not come out as
    // if it were complete.
    Abort();
}

QString TPrinterCanvas::Target() const
{
    const QString file = printer_.outputFileName();
    if (!file.isEmpty())
        return QStringLiteral("the file \"%1\"").arg(file);
    const QString name = printer_.printerName();
    if (!name.isEmpty())
        return QStringLiteral("the printer \"%1\"").arg(name);
    return QStringLiteral("the printer");
}

void TPrinterCanvas::FailInJob() const
{
    throw EPrintError(QStringLiteral("Printing on %1 failed; the print job was cancelled.").arg(Target()).toStdString());
}

void TPrinterCanvas::CheckPrinter() const
{
    const QPrinter::PrinterState state = printer_.printerState();
    if (state == QPrinter::Error || state == QPrinter::Aborted)
        FailInJob();
}

void TPrinterCanvas::BeginDoc()
{
    if (!painter_.begin(&printer_)) {
        QString text = QStringLiteral("Cannot start printing on %1.").arg(Target());
        if (printer_.outputFileName().isEmpty() && printer_.printerName().isEmpty())
            text = QStringLiteral("Cannot start printing: no printer is selected.");
        throw EPrintError(text.toStdString());
    }
    ownFile_ = printer_.outputFileName();
    scaleX_ = double(printer_.logicalDpiX()) / DotsPerInch;
    scaleY_ = double(printer_.logicalDpiY()) / DotsPerInch;
    // The printer's face, with the widths the layout was made for: a wider
    // sans serif would run the longest labels into their values and the
    // separator off the page.
    font_ = painter_.font();
    font_.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica"),
                       QStringLiteral("Nimbus Sans")});
    font_.setStyleHint(QFont::SansSerif);
    ApplyFont();
    CheckPrinter();
}

void TPrinterCanvas::NewPage()
{
    if (!painter_.isActive() || !printer_.newPage())
        FailInJob();
    CheckPrinter();
}

void TPrinterCanvas::EndDoc()
{
    if (!painter_.isActive())
        FailInJob();
    const bool ended = painter_.end();
    if (!ended || printer_.printerState() == QPrinter::Error || printer_.printerState() == QPrinter::Aborted) {
        // What the job wrote is not a finished report.
        DiscardOwnFile();
        FailInJob();
    }
    ownFile_.clear();
}

void TPrinterCanvas::DiscardOwnFile() noexcept
{
    if (ownFile_.isEmpty())
        return;
    std::error_code ec;
    const std::filesystem::path path(ownFile_.toStdString());
    // Only a plain file that the job wrote itself; never a device or a link
    // that was named as output.
    if (std::filesystem::symlink_status(path, ec).type() == std::filesystem::file_type::regular)
        std::filesystem::remove(path, ec);
    ownFile_.clear();
}

void TPrinterCanvas::Abort() noexcept
{
    if (!painter_.isActive())
        return;
    try {
        // Not every printer can take a job back; ending the painter then
        // still closes what was opened for it.
        printer_.abort();
        painter_.end();
    } catch (...) {
    }
    DiscardOwnFile();
}

void TPrinterCanvas::ApplyFont()
{
    if (!painter_.isActive())
        return;
    font_.setPointSize(fontSize_);
    font_.setBold(bold_);
    painter_.setFont(font_);
    ascent_ = QFontMetricsF(painter_.font(), &printer_).ascent();
}

void TPrinterCanvas::SetFontSize(int points)
{
    fontSize_ = points;
    ApplyFont();
}

void TPrinterCanvas::SetBold(bool bold)
{
    bold_ = bold;
    ApplyFont();
}

void TPrinterCanvas::TextOut(int x, int y, const QString& text)
{
    if (!painter_.isActive())
        FailInJob();
    // Qt places text by its baseline; the grid gives the top of the line.
    painter_.drawText(QPointF(x * scaleX_, y * scaleY_ + ascent_), text);
    CheckPrinter();
}
