// Where every text of the three pages stands, in which font, and how the
// description block shapes and shifts the pages.

#include <gtest/gtest.h>

#include <vector>

#include "ReportFixture.h"
#include "files/TForm5.h"

namespace {

struct TRow {
    int X, Y;
    QString Text;
    int Size;
    bool Bold;
};

const QString Dashes(142, QLatin1Char('-'));

// The page header with the initial project information (one description line).
std::vector<TRow> HeaderRows()
{
    return {
        {500, 110, "Location:", 10, true},
        {500, 220, "-.-", 10, false},
        {500, 440, "Description:", 10, true},
        {500, 550, "-.-", 10, false},
        {500, 770, "Date / Time:", 10, true},
        {2000, 770, "3/5/24 / 2:07:09 PM", 10, false},
        {3700, 770, "Quadrelix v1.7", 10, true},
        {500, 880, Dashes, 10, false},
    };
}

std::vector<TRow> Page1Rows()
{
    std::vector<TRow> rows = HeaderRows();
    // label x, value x, y, label, value (the initial content of the windows)
    struct TLine {
        int LabelX, ValueX, Y;
        const char* Label;
        const char* Value;
    };
    const TLine lines[] = {
        {500, 2000, 990, "Firmware Revision:", "-.-"},
        {500, 2000, 1100, "Function:", "-.-"},
        {500, 2000, 1210, "Current State:", "-.-"},
        {500, 2000, 1320, "Current Angle [degree]:", "-.-"},
        {500, 2000, 1430, "Lock Angle [degree]:", "0"},
        {500, 2000, 1540, "Last Cycle Time [sec]:", "0"},
        {500, 2000, 1650, "Number of Cycles:", "0"},
        {500, 2000, 1760, "Number of Overruns forward:", "0"},
        {500, 2000, 1870, "Number of Overruns backward:", "0"},
        {500, 2000, 1980, "Number of Abortions:", "0"},
        {500, 2000, 2090, "Last Stop Angle [degree]:", "0"},
        {500, 2000, 2200, "Last Brake Angle forward [degree]:", "0"},
        {500, 2000, 2310, "Last Brake Angle backward [degree]", "0"},
        {500, 0, 2530, "Errors:", nullptr},
        {500, 2000, 2640, "Error Common Fault:", "no"},
        {500, 2000, 2750, "Secure State:", "no"},
        {500, 2000, 2860, "Sensor Defect:", "no"},
        {500, 2000, 2970, "Error Overrun forward:", "no"},
        {500, 2000, 3080, "Error Overrun backward:", "no"},
        {500, 2000, 3190, "wrong Direction forward:", "no"},
        {500, 2000, 3300, "wrong Direction backward:", "no"},
        {500, 2000, 3410, "Short Circuit at Output:", "no"},
        {500, 2000, 3520, "Error Lock Angle Reserve:", "no"},
        {500, 2000, 3630, "End of Lock Angle Reserve:", "no"},
        {500, 2000, 3740, "Start Up:", "no"},
        {500, 2000, 3850, "Changed Sensor Position:", "no"},
        {500, 2000, 3960, "Changed Rotary Mode:", "no"},
        {500, 2000, 4070, "Changed Rotary Direction:", "no"},
        {500, 2000, 4180, "Changed Lock Angle:", "no"},
        {500, 2000, 4290, "Both Inputs On:", "no"},
        {2500, 0, 2530, "Inputs:", nullptr},
        {2500, 4000, 2640, "Forward On:", "no"},
        {2500, 4000, 2750, "Backward On:", "no"},
        {2500, 4000, 2860, "Moving Slowly:", "no"},
        {2500, 4000, 2970, "Forward Through:", "no"},
        {2500, 4000, 3080, "Turn 2x Times:", "no"},
        {2500, 4000, 3190, "Turn Direction:", "-.-"},
        {2500, 0, 3410, "Outputs:", nullptr},
        {2500, 4000, 3520, "Forward Start:", "no"},
        {2500, 4000, 3630, "Backward Start:", "no"},
        {2500, 4000, 3740, "Output Common Fault:", "no"},
        {2500, 4000, 3850, "Output Warning Lock Angle Reserve:", "no"},
        {2500, 4000, 3960, "In Position:", "no"},
        {2500, 4000, 4070, "Output Overrun forward:", "no"},
        {2500, 4000, 4180, "Output Overrun backward:", "no"},
        {2500, 4000, 4290, "In Position forward:", "no"},
        {2500, 4000, 4400, "In Position backward:", "no"},
        {2500, 4000, 4510, "Target inside Lock Angle:", "no"},
    };
    for (const TLine& line : lines) {
        const bool heading = line.Value == nullptr;
        rows.push_back({line.LabelX, line.Y, line.Label, 10, heading});
        if (!heading)
            rows.push_back({line.ValueX, line.Y, line.Value, 10, false});
    }
    rows.push_back({2000, 4730, "- page 1 of 3 -", 10, false});
    return rows;
}

std::vector<TRow> Page2Rows()
{
    std::vector<TRow> rows = HeaderRows();
    rows.push_back({500, 990, "Statistic:", 10, true});
    rows.push_back({500, 1210, "Number", 9, true});
    rows.push_back({900, 1210, "Brake Angle backward", 9, true});
    rows.push_back({1800, 1210, "Stop Angle backward", 9, true});
    rows.push_back({2650, 1210, "Stop Angle forward", 9, true});
    rows.push_back({3450, 1210, "Brake Angle forward", 9, true});
    // Rows 0 to 49 at 1300 to 5710, every angle 0 before any upload.
    for (int i = 0; i < 50; ++i) {
        const int y = 1300 + 90 * i;
        rows.push_back({550, y, QStringLiteral("%1").arg(i, 3), 9, false});
        for (int x : {900, 1800, 2650, 3450})
            rows.push_back({x, y, "0", 9, false});
    }
    EXPECT_EQ(rows.back().Y, 5710);
    rows.push_back({2000, 5930, "- page 2 of 3 -", 10, false});
    return rows;
}

std::vector<TRow> Page3Rows()
{
    std::vector<TRow> rows = HeaderRows();
    rows.push_back({500, 990, "Cycle Times:", 10, true});
    rows.push_back({500, 1210, "Time Slot", 9, true});
    rows.push_back({2500, 1210, "Time Slot", 9, true});
    rows.push_back({1500, 1210, "Number of Hits", 9, true});
    rows.push_back({3500, 1210, "Number of Hits", 9, true});
    // Slot s covers tenths of a second (s + 15); left column 0 to 43 at 1300
    // to 5170, right column 44 to 85 at 1300 to 4990.
    for (int slot = 0; slot <= 85; ++slot) {
        const int tenths = slot + 15;
        QString label = QStringLiteral("%1.%2 sec").arg(tenths / 10).arg(tenths % 10);
        if (slot == 0)
            label = "<= 1.5 sec";
        if (slot == 85)
            label = ">= 10.0 sec";
        const bool left = slot <= 43;
        const int y = 1300 + 90 * (left ? slot : slot - 44);
        rows.push_back({left ? 500 : 2500, y, label, 9, false});
        rows.push_back({left ? 1500 : 3500, y, "0", 9, false});
        if (slot == 43) {
            EXPECT_EQ(y, 5170);
        }
    }
    EXPECT_EQ(rows.back().Y, 4990);
    rows.push_back({2000, 5430, "- page 3 of 3 -", 10, false});
    return rows;
}

void ExpectPage(const TRecordingCanvas& canvas, int page, const std::vector<TRow>& rows)
{
    const std::vector<TCanvasCall> texts = canvas.Texts(page);
    ASSERT_EQ(texts.size(), rows.size()) << "page " << page;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "page " << page << " text " << i << " \"" << rows[i].Text.toStdString() << "\"");
        EXPECT_EQ(texts[i].Text, rows[i].Text);
        EXPECT_EQ(texts[i].X, rows[i].X);
        EXPECT_EQ(texts[i].Y, rows[i].Y);
        EXPECT_EQ(texts[i].Size, rows[i].Size);
        EXPECT_EQ(texts[i].Bold, rows[i].Bold);
    }
}

}  // namespace

class ReportLayout : public ReportFixture {};

TEST_F(ReportLayout, ThreePagesInOneJobWithEveryTextAtItsPlace)
{
    TRecordingCanvas canvas;
    ASSERT_TRUE(Print(canvas));
    const std::vector<TCanvasCall::TKind> job = {TCanvasCall::Begin, TCanvasCall::NewPage, TCanvasCall::NewPage,
                                                  TCanvasCall::End};
    EXPECT_EQ(canvas.Kinds(), job);
    ExpectPage(canvas, 1, Page1Rows());
    ExpectPage(canvas, 2, Page2Rows());
    ExpectPage(canvas, 3, Page3Rows());
    EXPECT_TRUE(script_->Messages.empty());
}

TEST_F(ReportLayout, EachFurtherDescriptionLineMovesThePageDownBy110)
{
    TRecordingCanvas oneLine;
    ASSERT_TRUE(Print(oneLine));

    struct TCase {
        const char* Name;
        QString Description;
        int Lines;
    };
    const TCase cases[] = {
        {"empty", "", 0},
        {"two lines", "Hall 3\r\nStation 7", 2},
        {"161 characters", QString(161, QLatin1Char('x')), 3},
        {"four lines", "a\r\nb\r\nc\r\nd", 4},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Form5->SetDescription(c.Description);
        TRecordingCanvas canvas;
        ASSERT_TRUE(Print(canvas));
        const int shift = 110 * (c.Lines - 1);
        for (int page = 1; page <= 3; ++page) {
            const auto base = oneLine.Texts(page);
            const auto moved = canvas.Texts(page);
            ASSERT_EQ(moved.size(), base.size() - 1 + c.Lines);
            // "Location:", the location and "Description:" stay.
            for (std::size_t i = 0; i < 3; ++i) {
                EXPECT_EQ(moved[i].Text, base[i].Text);
                EXPECT_EQ(moved[i].Y, base[i].Y);
            }
            for (int k = 0; k < c.Lines; ++k) {
                EXPECT_EQ(moved[3 + k].X, 500);
                EXPECT_EQ(moved[3 + k].Y, 550 + 110 * k);
            }
            // Everything from "Date / Time:" on, the footer included.
            for (std::size_t i = 4; i < base.size(); ++i) {
                const TCanvasCall& m = moved[i - 1 + c.Lines];
                EXPECT_EQ(m.Text, base[i].Text) << "page " << page;
                EXPECT_EQ(m.X, base[i].X) << m.Text.toStdString();
                EXPECT_EQ(m.Y, base[i].Y + shift) << m.Text.toStdString();
            }
        }
    }
}

// The description's lines as page 1 prints them, between "Description:" and "Date / Time:".
static QStringList PrintedDescription(const TRecordingCanvas& canvas)
{
    QStringList lines;
    bool inBlock = false;
    for (const TCanvasCall& call : canvas.Texts(1)) {
        if (call.Text == "Date / Time:")
            break;
        if (inBlock) {
            EXPECT_EQ(call.X, 500);
            EXPECT_FALSE(call.Bold);
            lines << call.Text;
        }
        if (call.Text == "Description:")
            inBlock = true;
    }
    return lines;
}

TEST_F(ReportLayout, DescriptionBlockSplitsAtBreaksAndCutsPiecesOf80)
{
    const QString a80(80, QLatin1Char('a')), b80(80, QLatin1Char('b'));
    struct TCase {
        const char* Name;
        QString Description;
        QStringList Lines;
    };
    const TCase cases[] = {
        {"80 characters", a80, {a80}},
        {"81 characters", a80 + "b", {a80, "b"}},
        {"160 characters", a80 + b80, {a80, b80}},
        {"161 characters", a80 + b80 + "c", {a80, b80, "c"}},
        {"empty", "", {}},
        {"breaks only", "\r\n\r\n\n\r", {}},
        {"a line, an empty line, a third line", "first\r\n\r\nthird", {"first", "third"}},
        {"breaks at both ends", "\r\nonly\r\n", {"only"}},
        {"lone CR and lone LF", "one\rtwo\nthree", {"one", "two", "three"}},
        {"a later line of 81", "x\r\n" + a80 + "b", {"x", a80, "b"}},
        {"blanks make a line", "  \r\nend", {"  ", "end"}},
        // 149 + 2 + 149 = 300: the 301st character is dropped.
        {"301 with a break counting two", QString(149, QLatin1Char('p')) + "\r\n" + QString(150, QLatin1Char('q')),
         {QString(80, QLatin1Char('p')), QString(69, QLatin1Char('p')), QString(80, QLatin1Char('q')),
          QString(69, QLatin1Char('q'))}},
        {"the cut falls between CR and LF", QString(299, QLatin1Char('r')) + "\r\nlost",
         {QString(80, QLatin1Char('r')), QString(80, QLatin1Char('r')), QString(80, QLatin1Char('r')),
          QString(59, QLatin1Char('r'))}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Form5->SetDescription(c.Description);
        TRecordingCanvas canvas;
        ASSERT_TRUE(Print(canvas));
        EXPECT_EQ(PrintedDescription(canvas), c.Lines);
        // The blank line after the block is always there.
        EXPECT_EQ(canvas.Find(1, "Date / Time:").Y, 440 + 110 * (int(c.Lines.size()) + 2));
    }
}

TEST_F(ReportLayout, LocationIsPrintedWholeOnOneLine)
{
    const QString location = QString(120, QLatin1Char('L')) + " end";
    Form5->SetLocation(location);
    TRecordingCanvas canvas;
    ASSERT_TRUE(Print(canvas));
    for (int page = 1; page <= 3; ++page)
        EXPECT_EQ(canvas.At(page, 500, 220), location);
}
