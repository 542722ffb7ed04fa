// The print command from its dialogs to the end of the job: cancelling,
// a real PDF through QPrinter at several resolutions, and printer errors
// that give up the job, are shown, and let the program go on.

#include <gtest/gtest.h>

#include <QFile>
#include <QPageLayout>
#include <QPaintEngine>
#include <QPrintEngine>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <fstream>
#include <vector>

#include "ReportFixture.h"
#include "app/TForm1.h"
#include "data/TForm3.h"
#include "files/TForm5.h"
#include "platform/ReportCanvasPrinter.h"

namespace {

struct TWord {
    double XMin, YMin, XMax, YMax;
    QString Text;
};

struct TPdfText {
    bool Ok = false;
    QString Error;
    std::vector<std::vector<TWord>> Pages;
};

QString Unescape(QString text)
{
    text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'");
    return text.replace("&amp;", "&");
}

// The words of every page with their boxes in points, as pdftotext reads them.
TPdfText ReadPdf(const QString& file)
{
    TPdfText result;
    QProcess process;
    process.start("pdftotext", {"-bbox", file, "-"});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        result.Error = "pdftotext failed: " + QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression token(
        R"re(<page\b|<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re");
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith("<page")) {
            result.Pages.emplace_back();
            continue;
        }
        if (result.Pages.empty())
            continue;
        result.Pages.back().push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                                       m.captured(4).toDouble(), Unescape(m.captured(5))});
    }
    result.Ok = true;
    return result;
}

// The first occurrence of a phrase on a page: from the first word's left
// and top to the last word's right. Text stays empty when the phrase is missing.
TWord FindPhrase(const std::vector<TWord>& words, const QString& phrase)
{
    const QStringList parts = phrase.split(' ', Qt::SkipEmptyParts);
    const std::size_t n = std::size_t(parts.size());
    for (std::size_t i = 0; i + n <= words.size(); ++i) {
        bool match = true;
        for (std::size_t k = 0; k < n && match; ++k)
            match = words[i + k].Text == parts[qsizetype(k)];
        if (match) {
            TWord found = words[i];
            found.XMax = words[i + n - 1].XMax;
            found.Text = phrase;
            return found;
        }
    }
    return {};
}

bool HavePdfToText() { return !QStandardPaths::findExecutable("pdftotext").isEmpty(); }

}  // namespace

class PrintCommand : public ReportFixture {
protected:
    QString PdfPath(const char* name) const { return QString::fromStdString(temp_.Path()) + "/" + name; }

    // Confirms the print dialog once, printing to a PDF file.
    void ConfirmToPdf(const QString& file, int resolution = 600)
    {
        script_->PrintAnswers.push_back(true);
        script_->OnPrint = [file, resolution](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            printer.setResolution(resolution);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setPageMargins(QMarginsF(36, 48, 36, 48), QPageLayout::Point);
        };
    }
};

TEST_F(PrintCommand, ProjectInformationFirstThenPrintDialogForPagesOneToThree)
{
    // Aimed at a file, so anything printed would show.
    const QString file = PdfPath("cancelled.pdf");
    ReportPrinter().setOutputFormat(QPrinter::PdfFormat);
    ReportPrinter().setOutputFileName(file);

    std::size_t printDialogsWhileInformationShown = 99;
    script_->OnShowModal = [&](QDialog& dialog) {
        printDialogsWhileInformationShown = script_->PrintDialogs.size();
        static_cast<TForm5&>(dialog).SetLocation("Hall 3");
    };
    Form1->ToolButton8Click();  // the print dialog is cancelled

    EXPECT_EQ(script_->ModalDialogs, std::vector<QString>{"Form5"});
    EXPECT_EQ(printDialogsWhileInformationShown, 0u);
    ASSERT_EQ(script_->PrintDialogs.size(), 1u);
    EXPECT_EQ(script_->PrintDialogs[0].MinPage, 1);
    EXPECT_EQ(script_->PrintDialogs[0].MaxPage, 3);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(script_->Messages.empty());
    EXPECT_EQ(Form5->Location(), "Hall 3");
}

TEST_F(PrintCommand, PdfHasThreePagesWithTheGridScaledToTheResolution)
{
    if (!HavePdfToText())
        GTEST_SKIP() << "pdftotext is not installed";
    // The grid is 600 dots per inch: a dot is 72 / 600 points from the
    // printable area's corner, at (36, 48) points on the page.
    auto pointX = [](int dots) { return 36 + dots * 72.0 / 600; };
    auto pointY = [](int dots) { return 48 + dots * 72.0 / 600; };
    const int footerY[] = {4730, 5930, 5430};

    double locationHeight = 0;
    for (int resolution : {600, 300, 1200, 72}) {
        SCOPED_TRACE(testing::Message() << resolution << " dpi");
        const QString file = PdfPath("report.pdf");
        ConfirmToPdf(file, resolution);
        Form1->ToolButton8Click();
        EXPECT_TRUE(script_->Messages.empty());

        const TPdfText pdf = ReadPdf(file);
        ASSERT_TRUE(pdf.Ok) << pdf.Error.toStdString();
        ASSERT_EQ(pdf.Pages.size(), 3u);
        for (int page = 1; page <= 3; ++page) {
            SCOPED_TRACE(testing::Message() << "page " << page);
            const auto& words = pdf.Pages[std::size_t(page - 1)];
            const TWord footer = FindPhrase(words, QStringLiteral("- page %1 of 3 -").arg(page));
            ASSERT_FALSE(footer.Text.isEmpty());
            EXPECT_NEAR(footer.XMin, pointX(2000), 1.0);
            EXPECT_NEAR(footer.YMin, pointY(footerY[page - 1]), 1.0);

            const TWord location = FindPhrase(words, "Location:");
            ASSERT_FALSE(location.Text.isEmpty());
            EXPECT_NEAR(location.XMin, pointX(500), 1.0);
            EXPECT_NEAR(location.YMin, pointY(110), 1.0);
            EXPECT_FALSE(FindPhrase(words, "Quadrelix v1.7").Text.isEmpty());
            // A 10-point line is about as high as 10 points on any printer.
            const double height = location.YMax - location.YMin;
            EXPECT_GT(height, 9.0);
            EXPECT_LT(height, 14.0);
            if (locationHeight == 0)
                locationHeight = height;
            EXPECT_NEAR(height, locationHeight, 0.5);
        }
        // The longest labels end before their values, and the separator on the page.
        // (A label that ran into its value would be read as one word with it.)
        auto expectEndsBefore = [&](const QString& phrase, double limit) {
            const TWord found = FindPhrase(pdf.Pages[0], phrase);
            EXPECT_FALSE(found.Text.isEmpty()) << phrase.toStdString();
            EXPECT_LT(found.XMax, limit) << phrase.toStdString();
        };
        expectEndsBefore("Last Brake Angle forward [degree]:", pointX(2000));
        expectEndsBefore("Last Brake Angle backward [degree]", pointX(2000));
        expectEndsBefore("Output Warning Lock Angle Reserve:", pointX(4000));
        expectEndsBefore(QString(142, QLatin1Char('-')), 595.0);
        EXPECT_FALSE(FindPhrase(pdf.Pages[0], "Both Inputs On:").Text.isEmpty());
        EXPECT_FALSE(FindPhrase(pdf.Pages[1], "Brake Angle backward").Text.isEmpty());
        EXPECT_FALSE(FindPhrase(pdf.Pages[2], ">= 10.0 sec").Text.isEmpty());
    }
}

TEST_F(PrintCommand, PrinterThatCannotStartReportsAndTheNextPrintWorks)
{
    const QString unreachable = PdfPath("missing-dir/report.pdf");
    ConfirmToPdf(unreachable);
    Form1->ToolButton8Click();
    EXPECT_EQ(script_->Messages, std::vector<QString>{"Cannot start printing on the file \"" + unreachable + "\"."});
    EXPECT_FALSE(QFile::exists(unreachable));

    script_->Messages.clear();
    const QString file = PdfPath("report.pdf");
    ConfirmToPdf(file);
    Form1->ToolButton8Click();
    EXPECT_TRUE(script_->Messages.empty());
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(PrintCommand, FailureDuringTheJobGivesItUpAndShowsTheError)
{
    struct TCase {
        const char* Name;
        std::function<void(TRecordingCanvas&)> Arrange;
        std::vector<TCanvasCall::TKind> Job;
        const char* Message;
        const char* LastText;
    };
    const TCase cases[] = {
        {"a text on page 1", [](TRecordingCanvas& c) { c.FailAtText = 60; },
         {TCanvasCall::Begin, TCanvasCall::Abort}, "The printer ran out of paper.", nullptr},
        {"the second new page", [](TRecordingCanvas& c) { c.FailAtNewPage = 2; },
         {TCanvasCall::Begin, TCanvasCall::NewPage, TCanvasCall::Abort}, "The printer ran out of paper.",
         "- page 2 of 3 -"},
        {"a histogram row gone from the window",
         [](TRecordingCanvas&) { delete Form3->ListView2->takeTopLevelItem(85); },
         {TCanvasCall::Begin, TCanvasCall::NewPage, TCanvasCall::NewPage, TCanvasCall::Abort},
         "list view row out of range", ">= 10.0 sec"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        script_->Messages.clear();
        TRecordingCanvas canvas;
        c.Arrange(canvas);
        EXPECT_FALSE(Print(canvas));
        EXPECT_EQ(canvas.Kinds(), c.Job);
        EXPECT_EQ(script_->Messages, std::vector<QString>{c.Message});
        // Nothing is drawn after the failure.
        ASSERT_FALSE(canvas.Calls.empty());
        EXPECT_EQ(canvas.Calls.back().Kind, TCanvasCall::Abort);
        if (c.LastText) {
            ASSERT_GE(canvas.Calls.size(), 2u);
            EXPECT_EQ(canvas.Calls[canvas.Calls.size() - 2].Text, c.LastText);
        } else {
            EXPECT_EQ(canvas.Texts(1).size(), 59u);
        }
    }
}

namespace {

// A printer that fails on demand, standing in for a real one on the
// QPrinter canvas: it takes the painting and reports the printer's state.
class TFakeEngine final : public QPaintEngine, public QPrintEngine {
public:
    TFakeEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    // Set up by the test.
    QString OutputFile;
    bool FailBegin = false;
    int FailNewPageAt = 0;    // page number whose start fails
    int ErrorAfterTexts = 0;  // the printer's state turns to error after this many texts
    bool CanAbort = true;

    // What happened.
    QStringList Texts;
    std::vector<QPointF> Points;
    int Pages = 0;
    bool Aborted = false, Ended = false;
    QPrinter::PrinterState PrinterState = QPrinter::Idle;

    bool begin(QPaintDevice*) override
    {
        if (FailBegin) {
            PrinterState = QPrinter::Error;
            return false;
        }
        PrinterState = QPrinter::Active;
        Pages = 1;
        return true;
    }
    bool end() override
    {
        Ended = true;
        if (PrinterState == QPrinter::Active)
            PrinterState = QPrinter::Idle;
        return true;
    }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        Texts << item.text();
        Points.push_back(p);
        if (ErrorAfterTexts && Texts.size() == ErrorAfterTexts)
            PrinterState = QPrinter::Error;
    }
    Type type() const override { return QPaintEngine::User; }

    void setProperty(PrintEnginePropertyKey, const QVariant&) override {}
    QVariant property(PrintEnginePropertyKey key) const override
    {
        switch (key) {
        case PPK_OutputFileName:
            return OutputFile;
        case PPK_PrinterName:
            return QStringLiteral("Fake");
        case PPK_QPageLayout:
            return QVariant::fromValue(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        default:
            return {};
        }
    }
    bool newPage() override
    {
        ++Pages;
        if (Pages == FailNewPageAt) {
            PrinterState = QPrinter::Error;
            return false;
        }
        return true;
    }
    bool abort() override
    {
        Aborted = true;
        if (!CanAbort)
            return false;
        PrinterState = QPrinter::Aborted;
        return true;
    }
    int metric(QPaintDevice::PaintDeviceMetric m) const override
    {
        switch (m) {
        case QPaintDevice::PdmWidth:
            return 2480;
        case QPaintDevice::PdmHeight:
            return 14031;
        case QPaintDevice::PdmWidthMM:
            return 210;
        case QPaintDevice::PdmHeightMM:
            return 297;
        case QPaintDevice::PdmNumColors:
            return INT_MAX;
        case QPaintDevice::PdmDepth:
            return 32;
        case QPaintDevice::PdmDpiX:
        case QPaintDevice::PdmPhysicalDpiX:
            return 300;
        case QPaintDevice::PdmDpiY:
        case QPaintDevice::PdmPhysicalDpiY:
            return 600 * 2;
        case QPaintDevice::PdmDevicePixelRatio:
            return 1;
        case QPaintDevice::PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        }
        return 0;
    }
    QPrinter::PrinterState printerState() const override { return PrinterState; }
};

class TFakePrinter final : public QPrinter {
public:
    explicit TFakePrinter(TFakeEngine& engine) { setEngines(&engine, &engine); }
};

}  // namespace

TEST_F(PrintCommand, PrinterCanvasScalesTheGridToEachAxis)
{
    // 300 dpi across and 1200 dpi down: a dot is half a pixel across and two down.
    TFakeEngine engine;
    TFakePrinter printer(engine);
    TPrinterCanvas canvas(printer);
    ASSERT_TRUE(PrintReport(canvas, &Moment));
    ASSERT_TRUE(script_->Messages.empty());
    const int location = int(engine.Texts.indexOf("-.-"));  // the location, y 220
    const int footer = int(engine.Texts.indexOf("- page 1 of 3 -"));
    ASSERT_GE(location, 0);
    ASSERT_GE(footer, 0);
    EXPECT_DOUBLE_EQ(engine.Points[std::size_t(location)].x(), 250.0);
    EXPECT_DOUBLE_EQ(engine.Points[std::size_t(footer)].x(), 1000.0);
    // Both are regular 10-point lines, so their baselines lie as far apart as their tops.
    EXPECT_NEAR(engine.Points[std::size_t(footer)].y() - engine.Points[std::size_t(location)].y(), (4730 - 220) * 2.0,
                1e-6);
    EXPECT_EQ(engine.Pages, 3);
    EXPECT_TRUE(engine.Ended);
    EXPECT_FALSE(engine.Aborted);
}

TEST_F(PrintCommand, PrinterErrorGivesUpTheJobAndLeavesNoHalfFile)
{
    struct TCase {
        const char* Name;
        std::function<void(TFakeEngine&)> Arrange;
        bool ToFile;
        const char* Message;     // %1: the output file
        int TextsDrawn;          // -1: up to the end of page 1
        bool Aborted;
        bool FileKept;
    };
    const TCase cases[] = {
        {"page 2 cannot start", [](TFakeEngine& e) { e.FailNewPageAt = 2; }, true,
         "Printing on the file \"%1\" failed; the print job was cancelled.", -1, true, false},
        {"error in the middle of page 1", [](TFakeEngine& e) { e.ErrorAfterTexts = 30; }, true,
         "Printing on the file \"%1\" failed; the print job was cancelled.", 30, true, false},
        {"a printer that cannot take the job back", [](TFakeEngine& e) { e.FailNewPageAt = 3; e.CanAbort = false; },
         true, "Printing on the file \"%1\" failed; the print job was cancelled.", -2, true, false},
        {"on a printer, not a file", [](TFakeEngine& e) { e.FailNewPageAt = 2; }, false,
         "Printing on the printer \"Fake\" failed; the print job was cancelled.", -1, true, true},
        // The job never started, so the file there is not ours to remove.
        {"the job cannot start", [](TFakeEngine& e) { e.FailBegin = true; }, true,
         "Cannot start printing on the file \"%1\".", 0, false, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        script_->Messages.clear();
        const QString file = PdfPath("earlier.pdf");
        {
            std::ofstream(file.toStdString()) << "earlier report";
        }
        TFakeEngine engine;
        if (c.ToFile)
            engine.OutputFile = file;
        c.Arrange(engine);
        {
            TFakePrinter printer(engine);
            TPrinterCanvas canvas(printer);
            EXPECT_FALSE(PrintReport(canvas, &Moment));
        }
        QString message = QString::fromLatin1(c.Message);
        if (message.contains("%1"))
            message = message.arg(file);
        EXPECT_EQ(script_->Messages, std::vector<QString>{message});
        EXPECT_EQ(engine.Aborted, c.Aborted);
        // A started job always releases the printer.
        EXPECT_EQ(engine.Ended, c.Aborted);
        if (c.TextsDrawn >= 0) {
            EXPECT_EQ(engine.Texts.size(), c.TextsDrawn);
        } else {
            // Nothing is drawn after the footer of the last page that was started.
            const QString footer = c.TextsDrawn == -1 ? "- page 1 of 3 -" : "- page 2 of 3 -";
            ASSERT_FALSE(engine.Texts.isEmpty());
            EXPECT_EQ(engine.Texts.back(), footer);
        }
        EXPECT_EQ(QFile::exists(file), c.FileKept);
        QFile::remove(file);
    }
}
