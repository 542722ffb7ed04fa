#pragma once
// The report canvas on a QPrinter: a system printer chosen in the print
// dialog, or a PDF file. The 600-dpi grid is scaled to the printer's own
// resolution, so the report has the same size on every printer; font sizes
// in points follow the printer by themselves.

#include <QFont>
#include <QPainter>

#include "platform/ReportCanvas.h"

class QPrinter;

class TPrinterCanvas final : public TReportCanvas {
public:
    explicit TPrinterCanvas(QPrinter& printer);
    ~TPrinterCanvas() override;
    TPrinterCanvas(const TPrinterCanvas&) = delete;
    TPrinterCanvas& operator=(const TPrinterCanvas&) = delete;

    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() noexcept override;

    void SetFontSize(int points) override;
    void SetBold(bool bold) override;
    void TextOut(int x, int y, const QString& text) override;

private:
    // The printer or file named for the operator.
    QString Target() const;
    [[noreturn]] void FailInJob() const;
    void CheckPrinter() const;
    void ApplyFont();
    void DiscardOwnFile() noexcept;

    QPrinter& printer_;
    QPainter painter_;
    QFont font_;
    double scaleX_ = 1.0, scaleY_ = 1.0;
    double ascent_ = 0.0;
    int fontSize_ = 10;
    bool bold_ = false;
    // The output file this job opened (and so truncated); removed when the
    // job is given up, so no half report is left behind looking finished.
    QString ownFile_;
};
