#include "DataFileSupport.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

#include <fstream>
#include <iterator>
#include <sstream>

#include "app/TForm1.h"
#include "common/Numbers.h"
#include "data/TForm2.h"
#include "data/TForm3.h"
#include "files/TForm5.h"

namespace {

std::string Std(const QString& text) { return text.toStdString(); }

}  // namespace

TWindowState CaptureWindows()
{
    TWindowState s;
    for (const TEdit* edit : Form2->findChildren<TEdit*>()) {
        s.Texts[Std(edit->objectName())] = Std(edit->Text());
        s.Colors[Std(edit->objectName())] = edit->Color().Value;
    }
    for (const TShape* lamp : Form2->findChildren<TShape*>())
        s.Lamps[Std(lamp->objectName())] = lamp->BrushColor().Value;
    for (const TPointSeries* series : {Form3->StopFrw, Form3->BrakeFrw, Form3->StopBkw, Form3->BrakeBkw}) {
        auto& values = s.Angles[Std(series->Title())];
        for (int i = 0; i < series->Count(); ++i)
            values.push_back(series->YValue(i));
    }
    for (int r = 0; r < Form3->ListView1->RowCount(); ++r) {
        std::vector<std::string> row{Std(Form3->ListView1->Caption(r))};
        for (int k = 0; k < 4; ++k)
            row.push_back(Std(Form3->ListView1->SubItem(r, k)));
        s.AngleTable.push_back(row);
    }
    for (int r = 0; r < Form3->ListView2->RowCount(); ++r)
        s.SlotTable.push_back({Std(Form3->ListView2->Caption(r)), Std(Form3->ListView2->SubItem(r, 0))});
    s.CurrentAngle = Std(Form1->CurrentAngle);
    s.Location = Std(Form5->Location());
    s.Description = Std(Form5->Description());
    return s;
}

void PrintTo(const TWindowState& s, std::ostream* os)
{
    *os << "{location \"" << s.Location << "\", description \"" << s.Description << "\", angle \""
        << s.CurrentAngle << "\"";
    for (const auto& [name, text] : s.Texts)
        *os << ", " << name << " \"" << text << "\"";
    *os << ", ...}";
}

void SetKnownState()
{
    Form5->SetLocation(QStringLiteral("Halle 3 \u2013 S\u00fcd, Linie 7"));
    Form5->SetDescription(
        QStringLiteral("Rotary table 4\r\n\u00d6lwechsel 2024: 12,5 \u20ac\r\nthird line; with semicolon"));
    Form1->CurrentAngle = QStringLiteral("-12,5");

    Form2->edtFirmwareRev->SetText(QStringLiteral("QX 2.31,B"));
    Form2->edtFunction->SetText(QStringLiteral("Special 1/2 Turn Reverse"));
    Form2->edtFunction->SetColor(clYellow);
    Form2->edtState->SetText(QStringLiteral("Moving aborted"));
    Form2->edtLockAngle->SetText(QStringLiteral("11,4"));
    Form2->edtTmeCycle->SetText(QStringLiteral("0.099"));
    Form2->edtCntCycles->SetText(QStringLiteral("123456"));
    Form2->edtCntOverrunFrw->SetText(QStringLiteral("7"));
    Form2->edtCntOverrunBkw->SetText(QStringLiteral("0"));
    Form2->edtCntAborted->SetText(QStringLiteral("3"));
    Form2->edtLastStopAngle->SetText(QStringLiteral("-3.5"));
    Form2->edtBrakeAngleFrw->SetText(QStringLiteral("1,2"));
    Form2->edtBrakeAngleBkw->SetText(QStringLiteral("-0.7"));
    Form2->edtTurnDirection->SetText(QStringLiteral("right"));

    Form2->shpErrCommonFault->SetBrushColor(clRed);
    Form2->shpErrSensor->SetBrushColor(clRed);
    Form2->shpErrWrgRotDir->SetBrushColor(clAqua);  // any colour but silver is "yes"
    Form2->shpInFrwOn->SetBrushColor(clYellow);
    Form2->shpInTurnTwoTimes->SetBrushColor(clYellow);
    Form2->shpOutCommonFault->SetBrushColor(clRed);
    Form2->shpOutPosBkw->SetBrushColor(clYellow);
    Form2->shpOutInsideLockAngle->SetBrushColor(clMaroon);

    for (int i = 0; i < 50; ++i) {
        const double values[4] = {(i - 25) * 0.1, -i * 1.5 - 0.05, i * 0.7, 10.0 / (i + 1)};
        TPointSeries* series[4] = {Form3->BrakeBkw, Form3->StopBkw, Form3->StopFrw, Form3->BrakeFrw};
        for (int c = 0; c < 4; ++c) {
            series[c]->SetYValue(i, values[c]);
            Form3->ListView1->SetSubItem(i, c, QString::fromStdString(FormatFixed(values[c], 1, 5)));
        }
    }
    for (int s = 0; s < 86; ++s)
        Form3->ListView2->SetSubItem(s, 0, QString::fromStdString(FormatInt((s * 37) % 101, 6)));
    Form3->ListView2->SetSubItem(3, 0, QStringLiteral("  12abc"));
    Form3->ListView2->SetSubItem(4, 0, QStringLiteral("xyz"));
    Form3->ListView2->SetSubItem(5, 0, QStringLiteral("    -4"));
}

std::string FixturePath(const std::string& name)
{
    const std::string here = __FILE__;
    return here.substr(0, here.rfind('/')) + "/fixtures/" + name;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot read " << path;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::vector<std::string> CrLfLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "the last line has no CR LF: " << bytes.substr(start);
            lines.push_back(bytes.substr(start));
            break;
        }
        const std::string line = bytes.substr(start, end - start);
        EXPECT_EQ(line.find('\n'), std::string::npos) << "bare LF in line " << lines.size() + 1;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

::testing::AssertionResult IsDateTimeLine(const std::string& line)
{
    static const QRegularExpression shape(
        QStringLiteral("^Date/Time:;(.+)/(\\d{1,2}):(\\d\\d):(\\d\\d);$"));
    const auto match = shape.match(QString::fromLatin1(line));
    if (!match.hasMatch())
        return ::testing::AssertionFailure() << "\"" << line << "\" is no date/time line";
    // Today or, right after midnight, yesterday.
    const QLocale locale;
    const QDate today = QDate::currentDate();
    for (const QDate& day : {today, today.addDays(-1)})
        if (match.captured(1) == locale.toString(day, QLocale::ShortFormat))
            return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << line << "\" does not carry today's short date "
                                         << Std(locale.toString(today, QLocale::ShortFormat));
}

void ExpectSameDataFile(const std::string& expected, const std::string& actual)
{
    const auto want = CrLfLines(expected);
    const auto got = CrLfLines(actual);
    ASSERT_EQ(got.size(), 197u);
    ASSERT_EQ(want.size(), got.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (i == 7)
            EXPECT_TRUE(IsDateTimeLine(got[i]));
        else
            EXPECT_EQ(got[i], want[i]) << "line " << i + 1;
    }
}

void DataFileTest::SetUp()
{
    AppFixture::SetUp();
    dir_ = temp_.Make("files");
    // Start-up may have reported the missing serial ports.
    script_->Messages.clear();
    // The date line's shape is checked for a known locale, whatever the
    // machine's; tests of another locale set their own.
    previousLocale_ = QLocale();
    QLocale::setDefault(QLocale::c());
}

void DataFileTest::TearDown()
{
    QLocale::setDefault(previousLocale_);
    AppFixture::TearDown();
}

void DataFileTest::Save(const std::string& path)
{
    script_->SaveAnswers.push_back(QString::fromStdString(path));
    Form1->acDateiSpeichernExecute();
}

void DataFileTest::Load(const std::string& path)
{
    script_->OpenAnswers.push_back(QString::fromStdString(path));
    Form1->acDateiOeffnenExecute();
}

void DataFileTest::LoadBytes(const std::string& bytes)
{
    const std::string path = dir_ + "/input.csv";
    WriteBytes(path, bytes);
    Load(path);
}
