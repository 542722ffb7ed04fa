#include "report/ReportPages.h"

#include <QLocale>
#include <algorithm>
#include <QStringList>
#include <cstdint>
#include <string>

#include "app/TForm1.h"
#include "common/CommaToPoint.h"
#include "common/GeneralNumberText.h"
#include "common/Numbers.h"
#include "data/TForm2.h"
#include "data/TForm3.h"
#include "files/TForm5.h"
#include "platform/ReportCanvas.h"

namespace {

// The grid, in dots of a 600-dpi page.
constexpr int LeftMargin = 500;
constexpr int ValueColumn = LeftMargin + 1500;
constexpr int TitlePosition = LeftMargin + 3200;
constexpr int RightBlock = 2500;
constexpr int RightValueColumn = RightBlock + 1500;
constexpr int FooterPosition = 2000;
constexpr int LineStep = 110;
constexpr int RowStep = 90;
constexpr int TextSize = 10;
constexpr int TableSize = 9;

constexpr int DescriptionLimit = 300;  // characters, a line break counting two
constexpr int DescriptionPiece = 80;
constexpr int SeparatorLength = 142;

// The print cursor of one page and the three moves that place every text.
class TPageGrid {
public:
    explicit TPageGrid(TReportCanvas& canvas) : canvas_(canvas) {}

    void NewLine(int x, const QString& text)
    {
        cursor_ += step_;
        canvas_.TextOut(x, cursor_, text);
    }
    void SameLine(int x, const QString& text) { canvas_.TextOut(x, cursor_, text); }
    void BlankLine() { cursor_ += step_; }

    void Bold() { canvas_.SetBold(true); }
    void Regular() { canvas_.SetBold(false); }
    void FontSize(int points) { canvas_.SetFontSize(points); }
    void Step(int step) { step_ = step; }

    std::int32_t Cursor() const { return cursor_; }
    void SetCursor(std::int32_t cursor) { cursor_ = cursor; }

    // The footer stands gap + one line step below the cursor the body hands over.
    void Footer(std::int32_t from, int gap, int page)
    {
        cursor_ = from + gap;
        NewLine(FooterPosition, QStringLiteral("- page %1 of 3 -").arg(page));
    }

private:
    TReportCanvas& canvas_;
    std::int32_t cursor_ = 0;
    int step_ = LineStep;
};

QString WithPoints(const QString& text)
{
    std::string bytes = text.toStdString();
    CommaToPoint(bytes);
    return QString::fromStdString(bytes);
}

QString LampText(const TShape* lamp) { return lamp->BrushColor() == clSilver ? QStringLiteral("no") : QStringLiteral("yes"); }

// The description's lines: at most its first 300 characters, split at every
// run of CR and LF, each line cut into pieces of 80 characters.
QStringList DescriptionLines(const QString& description)
{
    QString text = description.left(DescriptionLimit);
    // Never keep half of a character that needs two code units.
    if (text.size() < description.size() && !text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);

    QStringList lines;
    auto addLine = [&lines](const QString& line) {
        qsizetype at = 0;
        while (at < line.size()) {
            qsizetype length = std::min<qsizetype>(DescriptionPiece, line.size() - at);
            if (at + length < line.size() && line[at + length - 1].isHighSurrogate() && length > 1)
                --length;
            lines << line.mid(at, length);
            at += length;
        }
    };
    QString line;
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            addLine(line);
            line.clear();
        } else {
            line += c;
        }
    }
    addLine(line);
    return lines;
}

void DrawPageHeader(TPageGrid& grid, const TReportClock& now)
{
    grid.Bold();
    grid.NewLine(LeftMargin, QStringLiteral("Location:"));
    grid.Regular();
    grid.NewLine(LeftMargin, Form5->Location());
    grid.BlankLine();
    grid.Bold();
    grid.NewLine(LeftMargin, QStringLiteral("Description:"));
    grid.Regular();
    for (const QString& line : DescriptionLines(Form5->Description()))
        grid.NewLine(LeftMargin, line);
    grid.BlankLine();
    grid.Bold();
    grid.NewLine(LeftMargin, QStringLiteral("Date / Time:"));
    grid.Regular();
    grid.SameLine(ValueColumn, ReportDateTimeText(now()));
    grid.Bold();
    grid.SameLine(TitlePosition, QStringLiteral("Quadrelix v1.7"));
    grid.Regular();
    grid.NewLine(LeftMargin, QString(SeparatorLength, QLatin1Char('-')));
}

// A labelled value of page 1, read when its line is drawn.
struct TValueLine {
    const char* Label;
    QString (*Value)();
};

const TValueLine StateLines[] = {
    {"Firmware Revision:", [] { return Form2->edtFirmwareRev->Text(); }},
    {"Function:", [] { return Form2->edtFunction->Text(); }},
    {"Current State:", [] { return Form2->edtState->Text(); }},
    {"Current Angle [degree]:", [] { return WithPoints(Form1->CurrentAngle); }},
    {"Lock Angle [degree]:", [] { return WithPoints(Form2->edtLockAngle->Text()); }},
    {"Last Cycle Time [sec]:", [] { return WithPoints(Form2->edtTmeCycle->Text()); }},
    {"Number of Cycles:", [] { return Form2->edtCntCycles->Text(); }},
    {"Number of Overruns forward:", [] { return Form2->edtCntOverrunFrw->Text(); }},
    {"Number of Overruns backward:", [] { return Form2->edtCntOverrunBkw->Text(); }},
    {"Number of Abortions:", [] { return Form2->edtCntAborted->Text(); }},
    {"Last Stop Angle [degree]:", [] { return WithPoints(Form2->edtLastStopAngle->Text()); }},
    {"Last Brake Angle forward [degree]:", [] { return WithPoints(Form2->edtBrakeAngleFrw->Text()); }},
    {"Last Brake Angle backward [degree]", [] { return WithPoints(Form2->edtBrakeAngleBkw->Text()); }},
};

const TValueLine ErrorLines[] = {
    {"Error Common Fault:", [] { return LampText(Form2->shpErrCommonFault); }},
    {"Secure State:", [] { return LampText(Form2->shpErrSecureState); }},
    {"Sensor Defect:", [] { return LampText(Form2->shpErrSensor); }},
    {"Error Overrun forward:", [] { return LampText(Form2->shpErrOverrunFrw); }},
    {"Error Overrun backward:", [] { return LampText(Form2->shpErrOverrunBkw); }},
    {"wrong Direction forward:", [] { return LampText(Form2->shpErrWrongDirFrw); }},
    {"wrong Direction backward:", [] { return LampText(Form2->shpErrWrongDirBkw); }},
    {"Short Circuit at Output:", [] { return LampText(Form2->shpErrSC); }},
    {"Error Lock Angle Reserve:", [] { return LampText(Form2->shpErrLockAngleReserve); }},
    {"End of Lock Angle Reserve:", [] { return LampText(Form2->shpErrLockAngleEnd); }},
    {"Start Up:", [] { return LampText(Form2->shpErrStartup); }},
    {"Changed Sensor Position:", [] { return LampText(Form2->shpErrWrgStartAngle); }},
    {"Changed Rotary Mode:", [] { return LampText(Form2->shpErrWrgRotMode); }},
    {"Changed Rotary Direction:", [] { return LampText(Form2->shpErrWrgRotDir); }},
    {"Changed Lock Angle:", [] { return LampText(Form2->shpErrWrgLockAngle); }},
    {"Both Inputs On:", [] { return LampText(Form2->shpErrBothInputsOn); }},
};

const TValueLine InputLines[] = {
    {"Forward On:", [] { return LampText(Form2->shpInFrwOn); }},
    {"Backward On:", [] { return LampText(Form2->shpInBkwOn); }},
    {"Moving Slowly:", [] { return LampText(Form2->shpInMovSlowly); }},
    {"Forward Through:", [] { return LampText(Form2->shpInFrwThrough); }},
    {"Turn 2x Times:", [] { return LampText(Form2->shpInTurnTwoTimes); }},
    {"Turn Direction:", [] { return Form2->edtTurnDirection->Text(); }},
};

const TValueLine OutputLines[] = {
    {"Forward Start:", [] { return LampText(Form2->shpOutFrwStart); }},
    {"Backward Start:", [] { return LampText(Form2->shpOutBkwStart); }},
    {"Output Common Fault:", [] { return LampText(Form2->shpOutCommonFault); }},
    {"Output Warning Lock Angle Reserve:", [] { return LampText(Form2->shpOutWLockAngleRes); }},
    {"In Position:", [] { return LampText(Form2->shpOutInPosition); }},
    {"Output Overrun forward:", [] { return LampText(Form2->shpOutOverrunFrw); }},
    {"Output Overrun backward:", [] { return LampText(Form2->shpOutOverrunBkw); }},
    {"In Position forward:", [] { return LampText(Form2->shpOutPosFrw); }},
    {"In Position backward:", [] { return LampText(Form2->shpOutPosBkw); }},
    {"Target inside Lock Angle:", [] { return LampText(Form2->shpOutInsideLockAngle); }},
};

template <std::size_t N>
void DrawValueLines(TPageGrid& grid, const TValueLine (&lines)[N], int labelX, int valueX)
{
    for (const TValueLine& line : lines) {
        grid.NewLine(labelX, QString::fromLatin1(line.Label));
        grid.SameLine(valueX, line.Value());
    }
}

void DrawHeading(TPageGrid& grid, int x, const char* text)
{
    grid.Bold();
    grid.NewLine(x, QString::fromLatin1(text));
    grid.Regular();
}

// Page 1 body; hands back the right block's cursor, which lies below both blocks.
std::int32_t DrawStateBody(TPageGrid& grid)
{
    DrawValueLines(grid, StateLines, LeftMargin, ValueColumn);
    const std::int32_t blockTop = grid.Cursor();

    grid.BlankLine();
    DrawHeading(grid, LeftMargin, "Errors:");
    DrawValueLines(grid, ErrorLines, LeftMargin, ValueColumn);

    grid.SetCursor(blockTop);
    grid.BlankLine();
    DrawHeading(grid, RightBlock, "Inputs:");
    DrawValueLines(grid, InputLines, RightBlock, RightValueColumn);
    grid.BlankLine();
    DrawHeading(grid, RightBlock, "Outputs:");
    DrawValueLines(grid, OutputLines, RightBlock, RightValueColumn);
    return grid.Cursor();
}

QString AngleText(const TPointSeries* series, int i) { return WithPoints(GeneralNumberText(series->YValue(i))); }

// Page 2 body; hands back the cursor of the last table row.
std::int32_t DrawStatisticBody(TPageGrid& grid)
{
    struct TColumn {
        const char* Heading;
        int X;
        TPointSeries* TForm3::*Series;
    };
    static constexpr TColumn Columns[] = {
        {"Brake Angle backward", LeftMargin + 400, &TForm3::BrakeBkw},
        {"Stop Angle backward", LeftMargin + 1300, &TForm3::StopBkw},
        {"Stop Angle forward", LeftMargin + 2150, &TForm3::StopFrw},
        {"Brake Angle forward", LeftMargin + 2950, &TForm3::BrakeFrw},
    };

    DrawHeading(grid, LeftMargin, "Statistic:");
    grid.BlankLine();
    grid.FontSize(TableSize);
    grid.Bold();
    grid.NewLine(LeftMargin, QStringLiteral("Number"));
    for (const TColumn& column : Columns)
        grid.SameLine(column.X, QString::fromLatin1(column.Heading));
    grid.Regular();
    grid.Step(RowStep);
    for (int i = 0; i < 50; ++i) {
        grid.NewLine(LeftMargin + 50, QString::fromStdString(FormatInt(i, 3)));
        for (const TColumn& column : Columns)
            grid.SameLine(column.X, AngleText(Form3->*column.Series, i));
    }
    const std::int32_t lastRow = grid.Cursor();
    grid.FontSize(TextSize);
    grid.Step(LineStep);
    return lastRow;
}

QString CountText(int slot)
{
    const std::string text = Form3->ListView2->SubItem(slot, 0).toStdString();
    return QString::fromStdString(FormatInt(TruncToInt32(ReadNumber(text))));
}

// Page 3 body; hands back the cursor of the right column's last row.
std::int32_t DrawCycleTimesBody(TPageGrid& grid)
{
    DrawHeading(grid, LeftMargin, "Cycle Times:");
    grid.BlankLine();
    grid.FontSize(TableSize);
    grid.Bold();
    grid.NewLine(LeftMargin, QStringLiteral("Time Slot"));
    grid.SameLine(LeftMargin + 2000, QStringLiteral("Time Slot"));
    grid.SameLine(LeftMargin + 1000, QStringLiteral("Number of Hits"));
    grid.SameLine(LeftMargin + 3000, QStringLiteral("Number of Hits"));
    grid.Regular();
    grid.Step(RowStep);

    const std::int32_t columnTop = grid.Cursor();
    int offset = 0;
    for (int slot = 0; slot <= 85; ++slot) {
        QString label;
        if (slot == 0)
            label = QStringLiteral("<= 1.5 sec");
        else if (slot == 85)
            label = QStringLiteral(">= 10.0 sec");
        else
            label = QString::fromStdString(FormatFixed((slot + 15) * 0.1, 1, 3)) + QStringLiteral(" sec");
        grid.NewLine(LeftMargin + offset, label);
        grid.SameLine(LeftMargin + 1000 + offset, CountText(slot));
        if (slot == 43) {
            grid.SetCursor(columnTop);
            offset = 2000;
        }
    }
    const std::int32_t lastRow = grid.Cursor();
    grid.FontSize(TextSize);
    grid.Step(LineStep);
    return lastRow;
}

// Removes the zone from a time format: "t" outside quotes, and what is left
// of the space or brackets around it.
QString WithoutZone(const QString& format)
{
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        result += c;
    }
    result.replace(QStringLiteral("()"), QString());
    return result.simplified();
}

}  // namespace

QString ReportDateTimeText(const QDateTime& moment)
{
    const QLocale locale;
    return locale.toString(moment.date(), QLocale::ShortFormat) + QStringLiteral(" / ") +
           locale.toString(moment.time(), WithoutZone(locale.timeFormat(QLocale::LongFormat)));
}

void DrawReportPages(TReportCanvas& canvas, const TReportClock& now)
{
    {
        TPageGrid grid(canvas);
        DrawPageHeader(grid, now);
        grid.Footer(DrawStateBody(grid), 110, 1);
    }
    canvas.NewPage();
    {
        TPageGrid grid(canvas);
        DrawPageHeader(grid, now);
        grid.Footer(DrawStatisticBody(grid), 110, 2);
    }
    canvas.NewPage();
    {
        TPageGrid grid(canvas);
        DrawPageHeader(grid, now);
        grid.Footer(DrawCycleTimesBody(grid), 330, 3);
    }
}
