// The decoding of the unit's list replies into the State and Statistic
// windows: line walk, number reading, scaling, formats, flags and codes, and
// what stays when a reply is cut short.

#include <gtest/gtest.h>

#include <QLocale>
#include <cstring>
#include <string>
#include <vector>

#include "common/Colors.h"
#include "support/CommaLocaleGuard.h"
#include "data/DecodeListReply.h"
#include "data/TForm2.h"
#include "data/TForm3.h"
#include "support/AppFixture.h"

// Failure messages show texts, not code units.
static void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace {

// Every field is set to these before a case, so that a field a case must not
// reach is seen to keep its old value.
const char* const kStale = "stale";
constexpr TColor kStaleColor = clAqua;
constexpr double kStaleY = 99.0;

struct Expect {
    enum What { Text, Background, Lamp, Angle, Slot } what;
    std::string field;  // edit box or lamp; series for an angle
    int index = 0;      // point of a series, slot of the histogram
    QString text;       // edit text, angle cell or slot count
    TColor color {};
    double y = 0;
};

Expect Text(const char* field, const char* text) { return {Expect::Text, field, 0, QString::fromUtf8(text), {}, 0}; }
Expect Background(const char* field, TColor color) { return {Expect::Background, field, 0, {}, color, 0}; }
Expect Lamp(const char* field, TColor color) { return {Expect::Lamp, field, 0, {}, color, 0}; }
Expect Angle(const char* series, int point, double y, const char* cell)
{
    return {Expect::Angle, series, point, QString::fromUtf8(cell), {}, y};
}
Expect Slot(int slot, const char* count) { return {Expect::Slot, "", slot, QString::fromUtf8(count), {}, 0}; }

struct Case {
    const char* name;
    unsigned kind;
    std::string reply;
    bool result;
    std::vector<Expect> expects;
};

// The lines as the unit sends them: each ended by CR LF. The list is filled
// up to total lines with fill.
std::string Reply(std::vector<std::string> lines, int total = 0, const std::string& fill = "0")
{
    while (int(lines.size()) < total)
        lines.push_back(fill);
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// Series and its column in ListView1.
struct SeriesColumn {
    TPointSeries* series;
    int column;
};

SeriesColumn FindSeries(const std::string& name)
{
    if (name == "StopFrw")
        return {Form3->StopFrw, 2};
    if (name == "BrakeFrw")
        return {Form3->BrakeFrw, 3};
    if (name == "StopBkw")
        return {Form3->StopBkw, 1};
    if (name == "BrakeBkw")
        return {Form3->BrakeBkw, 0};
    ADD_FAILURE() << "no series " << name;
    return {nullptr, 0};
}

class DecodeListReplyTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        QLocale::setDefault(QLocale::c());
    }

    void MakeStale()
    {
        for (TEdit* edit : Form2->findChildren<TEdit*>()) {
            edit->SetText(QString::fromLatin1(kStale));
            edit->SetColor(kStaleColor);
        }
        for (TShape* lamp : Form2->findChildren<TShape*>())
            lamp->SetBrushColor(kStaleColor);
        for (TPointSeries* s : {Form3->StopFrw, Form3->BrakeFrw, Form3->StopBkw, Form3->BrakeBkw})
            for (int i = 0; i < s->Count(); ++i)
                s->SetYValue(i, kStaleY);
        for (int row = 0; row < Form3->ListView1->RowCount(); ++row)
            for (int k = 0; k < 4; ++k)
                Form3->ListView1->SetSubItem(row, k, QString::fromLatin1(kStale));
        for (int row = 0; row < Form3->ListView2->RowCount(); ++row)
            Form3->ListView2->SetSubItem(row, 0, QString::fromLatin1(kStale));
    }

    static bool Decode(std::string& text, unsigned kind)
    {
        std::vector<char> buffer(text.begin(), text.end());
        buffer.push_back('\0');
        const bool ok = DecodeListReply(buffer.data(), kind);
        text = buffer.data();
        return ok;
    }

    static void Check(const Expect& e)
    {
        SCOPED_TRACE(e.field + " " + std::to_string(e.index));
        switch (e.what) {
        case Expect::Text: {
            auto* edit = Form2->findChild<TEdit*>(QString::fromStdString(e.field));
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->Text(), e.text);
            break;
        }
        case Expect::Background: {
            auto* edit = Form2->findChild<TEdit*>(QString::fromStdString(e.field));
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->Color(), e.color);
            break;
        }
        case Expect::Lamp: {
            auto* lamp = Form2->findChild<TShape*>(QString::fromStdString(e.field));
            ASSERT_NE(lamp, nullptr);
            EXPECT_EQ(lamp->BrushColor(), e.color);
            break;
        }
        case Expect::Angle: {
            const SeriesColumn sc = FindSeries(e.field);
            ASSERT_NE(sc.series, nullptr);
            EXPECT_DOUBLE_EQ(sc.series->YValue(e.index), e.y);
            EXPECT_EQ(sc.series->XValue(e.index), e.index);
            EXPECT_EQ(Form3->ListView1->SubItem(e.index, sc.column), e.text);
            break;
        }
        case Expect::Slot:
            EXPECT_EQ(Form3->ListView2->SubItem(e.index, 0), e.text);
            break;
        }
    }
};

const std::vector<Case>& Cases()
{
    static const std::vector<Case> cases = {
        // Angle lists: value x 0.1, "%5.1f" in the list's column; other lists untouched.
        {"stop angles forward", 1,
         Reply({"-123", "250", "0", "abc", "1,234", " -5", "+7", "1e1", "0x10", "inf", "5abc", "-1234"}, 50, "5"),
         true,
         {Angle("StopFrw", 0, -123 * 0.1, "-12.3"), Angle("StopFrw", 1, 250 * 0.1, " 25.0"),
          Angle("StopFrw", 2, 0, "  0.0"), Angle("StopFrw", 3, 0, "  0.0"), Angle("StopFrw", 4, 1.234 * 0.1, "  0.1"),
          Angle("StopFrw", 5, -5 * 0.1, " -0.5"), Angle("StopFrw", 6, 7 * 0.1, "  0.7"),
          Angle("StopFrw", 7, 10 * 0.1, "  1.0"), Angle("StopFrw", 8, 0, "  0.0"), Angle("StopFrw", 9, 0, "  0.0"),
          Angle("StopFrw", 10, 5 * 0.1, "  0.5"), Angle("StopFrw", 11, -1234 * 0.1, "-123.4"),
          Angle("StopFrw", 49, 5 * 0.1, "  0.5"), Angle("BrakeFrw", 0, kStaleY, kStale),
          Angle("StopBkw", 49, kStaleY, kStale), Angle("BrakeBkw", 0, kStaleY, kStale)}},
        {"brake angles forward", 2, Reply({"11"}, 50, "-22"), true,
         {Angle("BrakeFrw", 0, 11 * 0.1, "  1.1"), Angle("BrakeFrw", 49, -22 * 0.1, " -2.2"),
          Angle("StopFrw", 0, kStaleY, kStale)}},
        {"stop angles backward", 3, Reply({"33"}, 50, "44"), true,
         {Angle("StopBkw", 0, 33 * 0.1, "  3.3"), Angle("StopBkw", 49, 44 * 0.1, "  4.4"),
          Angle("BrakeBkw", 0, kStaleY, kStale)}},
        {"brake angles backward", 4, Reply({"-450"}, 50, "450"), true,
         {Angle("BrakeBkw", 0, -450 * 0.1, "-45.0"), Angle("BrakeBkw", 49, 450 * 0.1, " 45.0"),
          Angle("StopBkw", 0, kStaleY, kStale)}},
        {"angle list cut short", 1, Reply({"10", "20", "30"}), false,
         {Angle("StopFrw", 0, 1, "  1.0"), Angle("StopFrw", 2, 3, "  3.0"), Angle("StopFrw", 3, kStaleY, kStale),
          Angle("StopFrw", 49, kStaleY, kStale)}},

        // Cycle-time histogram: truncated toward zero, clamped to 32 bits, "%6d".
        {"cycle times", 5, Reply({"2.9", "-1.5", "3e10", "-3e10", "123456", "1234567"}, 86, "7"), true,
         {Slot(0, "     2"), Slot(1, "    -1"), Slot(2, "2147483647"), Slot(3, "-2147483648"), Slot(4, "123456"),
          Slot(5, "1234567"), Slot(85, "     7")}},
        {"cycle times: only 40 lines", 5, Reply({}, 40, "1"), false,
         {Slot(0, "     1"), Slot(39, "     1"), Slot(40, kStale), Slot(85, kStale)}},

        // Flags: only exactly 1 (after truncation) lights a lamp.
        {"inputs", 8, Reply({"1", "0", "0", "1", "1", "0"}), true,
         {Lamp("shpInFrwOn", clYellow), Lamp("shpInBkwOn", clSilver), Lamp("shpInMovSlowly", clSilver),
          Lamp("shpInFrwThrough", clYellow), Text("edtTurnDirection", "right"), Lamp("shpInTurnTwoTimes", clSilver)}},
        {"inputs: flags 2, -1, 1.9, 0.9", 8, Reply({"2", "-1", "1.9", "0.9", "0", "1.0"}), true,
         {Lamp("shpInFrwOn", clSilver), Lamp("shpInBkwOn", clSilver), Lamp("shpInMovSlowly", clYellow),
          Lamp("shpInFrwThrough", clSilver), Text("edtTurnDirection", "left"), Lamp("shpInTurnTwoTimes", clYellow)}},
        {"turn direction 2 reads left", 8, Reply({"0", "0", "0", "0", "2", "0"}), true,
         {Text("edtTurnDirection", "left")}},
        {"turn direction -1 reads left", 8, Reply({"0", "0", "0", "0", "-1", "0"}), true,
         {Text("edtTurnDirection", "left")}},
        {"a flag beyond 32 bits does not wrap round to 1", 6, Reply({"4294967297", "-4294967295", "1"}, 10), true,
         {Lamp("shpOutFrwStart", clSilver), Lamp("shpOutBkwStart", clSilver), Lamp("shpOutCommonFault", clRed)}},
        {"errors: line 14 is read and dropped", 7, Reply({}, 16, "0").replace(14 * 3, 1, "1"), true,
         {Lamp("shpErrWrgLockAngle", clSilver), Lamp("shpErrBothInputsOn", clSilver),
          Lamp("shpErrSecureState", kStaleColor)}},
        {"errors: line 15 lights both-inputs-on", 7, Reply({}, 15, "0") + "1\r\n", true,
         {Lamp("shpErrWrgLockAngle", clSilver), Lamp("shpErrBothInputsOn", clRed)}},
        {"lines after the last are ignored", 8, Reply({"1", "1", "1", "1", "1", "1", "0", "0"}), true,
         {Lamp("shpInTurnTwoTimes", clYellow)}},
        {"a line of blanks counts and reads 0", 8, Reply({"1", "   ", "1", "1", "1", "1"}), true,
         {Lamp("shpInBkwOn", clSilver), Lamp("shpInTurnTwoTimes", clYellow)}},

        // Separators: any run of CR and LF; leading runs and a missing final end are fine.
        {"mixed separators", 6, "\r\n\r\n1\n\n0\r\r1\r\n\n\r0\n1\r0\n1\n0\n1\n0", true,
         {Lamp("shpOutFrwStart", clYellow), Lamp("shpOutBkwStart", clSilver), Lamp("shpOutCommonFault", clRed),
          Lamp("shpOutWLockAngleRes", clSilver), Lamp("shpOutInPosition", clYellow), Lamp("shpOutOverrunFrw", clSilver),
          Lamp("shpOutOverrunBkw", clRed), Lamp("shpOutPosFrw", clSilver), Lamp("shpOutPosBkw", clYellow),
          Lamp("shpOutInsideLockAngle", clSilver)}},
        {"empty reply", 6, "", false, {Lamp("shpOutFrwStart", kStaleColor)}},
        {"only line ends", 10, "\r\n\r\n\n", false, {Text("edtCntCycles", kStale)}},

        // Control: scaled values with "%.1f", state and function codes.
        {"control with decimal comma and secure state", 9, Reply({"57,5", "-123", "45", "-7", "16", "2"}), true,
         {Text("edtLockAngle", "11.5"), Text("edtLastStopAngle", "-12.3"), Text("edtBrakeAngleFrw", "4.5"),
          Text("edtBrakeAngleBkw", "-0.7"), Text("edtState", "Secure State"), Lamp("shpErrSecureState", clRed),
          Text("edtFunction", "Special 1/2 Turn Reverse"), Background("edtFunction", clYellow)}},
        {"control: state 13, function 3", 9, Reply({"57", "0", "0", "0", "13", "3"}), true,
         {Text("edtLockAngle", "11.4"), Text("edtLastStopAngle", "0.0"), Text("edtState", "Moving backward"),
          Lamp("shpErrSecureState", clSilver), Text("edtFunction", "undefined"), Background("edtFunction", clRed)}},
        {"control: state 1, function 0", 9, Reply({"0", "0", "0", "0", "1", "0"}), true,
         {Text("edtState", ""), Text("edtFunction", "Standard 1 Turn Reverse"), Background("edtFunction", clWhite)}},
        {"control: state 18, function 1", 9, Reply({"0", "0", "0", "0", "18", "1"}), true,
         {Text("edtState", ""), Text("edtFunction", "Standard 1 Turn Forward"), Background("edtFunction", clWhite)}},
        {"control: state -1, function -1", 9, Reply({"0", "0", "0", "0", "-1", "-1"}), true,
         {Text("edtState", ""), Text("edtFunction", "undefined"), Background("edtFunction", clRed)}},
        {"control: state 0, function 4", 9, Reply({"0", "0", "0", "0", "0", "4"}), true,
         {Text("edtState", "Init"), Text("edtFunction", "undefined")}},
        {"control: state 17, function 2.9 is 2", 9, Reply({"0", "0", "0", "0", "17", "2.9"}), true,
         {Text("edtState", "Both Inputs On"), Lamp("shpErrSecureState", clSilver),
          Text("edtFunction", "Special 1/2 Turn Reverse")}},
        {"control: 16.9 truncates to the secure state", 9, Reply({"0", "0", "0", "0", "16.9", "0"}), true,
         {Text("edtState", "Secure State"), Lamp("shpErrSecureState", clRed)}},
        {"control cut short after three lines", 9, Reply({"57", "10", "20"}), false,
         {Text("edtLockAngle", "11.4"), Text("edtLastStopAngle", "1.0"), Text("edtBrakeAngleFrw", "2.0"),
          Text("edtBrakeAngleBkw", kStale), Text("edtState", kStale), Text("edtFunction", kStale),
          Lamp("shpErrSecureState", kStaleColor)}},

        // Diagnosis: counters as general number text (fraction kept), cycle time x 0.0001 "%.3f".
        {"diagnosis", 10, Reply({"12.5", "3", "0", "1,234", "123"}), true,
         {Text("edtCntCycles", "12.5"), Text("edtCntOverrunFrw", "3"), Text("edtCntOverrunBkw", "0"),
          Text("edtCntAborted", "1.234"), Text("edtTmeCycle", "0.012")}},
        {"diagnosis: large and odd values", 10, Reply({"12345", "-2", "1e20", "abc", "987"}), true,
         {Text("edtCntCycles", "12345"), Text("edtCntOverrunFrw", "-2"), Text("edtCntOverrunBkw", "1E20"),
          Text("edtCntAborted", "0"), Text("edtTmeCycle", "0.099")}},
    };
    return cases;
}

TEST_F(DecodeListReplyTest, EdgeCaseTable)
{
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        MakeStale();
        std::string text = c.reply;
        EXPECT_EQ(Decode(text, c.kind), c.result);
        for (const Expect& e : c.expects)
            Check(e);
    }
}

// Each lamp list in the order of its reply; nullptr where a position has no lamp.
struct LampList {
    unsigned kind;
    std::vector<const char*> lamps;
    std::vector<TColor> lit;
};

TEST_F(DecodeListReplyTest, EveryFlagPositionReachesItsOwnLamp)
{
    const std::vector<LampList> lists = {
        {6,
         {"shpOutFrwStart", "shpOutBkwStart", "shpOutCommonFault", "shpOutWLockAngleRes", "shpOutInPosition",
          "shpOutOverrunFrw", "shpOutOverrunBkw", "shpOutPosFrw", "shpOutPosBkw", "shpOutInsideLockAngle"},
         {clYellow, clYellow, clRed, clRed, clYellow, clRed, clRed, clYellow, clYellow, clYellow}},
        {7,
         {"shpErrCommonFault", "shpErrSensor", "shpErrWrongDirFrw", "shpErrWrongDirBkw", "shpErrOverrunFrw",
          "shpErrOverrunBkw", "shpErrSC", "shpErrLockAngleReserve", "shpErrLockAngleEnd", "shpErrStartup",
          "shpErrWrgStartAngle", "shpErrWrgRotMode", "shpErrWrgRotDir", "shpErrWrgLockAngle", nullptr,
          "shpErrBothInputsOn"},
         std::vector<TColor>(16, clRed)},
        {8,
         {"shpInFrwOn", "shpInBkwOn", "shpInMovSlowly", "shpInFrwThrough", nullptr, "shpInTurnTwoTimes"},
         std::vector<TColor>(6, clYellow)},
    };
    // Four patterns, one per bit of the position: two positions that were
    // swapped differ in at least one of them.
    for (const LampList& list : lists) {
        for (int bit = 0; bit < 4; ++bit) {
            SCOPED_TRACE("kind " + std::to_string(list.kind) + " bit " + std::to_string(bit));
            MakeStale();
            std::vector<std::string> lines;
            for (std::size_t p = 0; p < list.lamps.size(); ++p)
                lines.push_back((p >> bit) & 1 ? "1" : "0");
            std::string text = Reply(lines);
            ASSERT_TRUE(Decode(text, list.kind));
            for (std::size_t p = 0; p < list.lamps.size(); ++p) {
                if (!list.lamps[p])
                    continue;
                SCOPED_TRACE(list.lamps[p]);
                auto* lamp = Form2->findChild<TShape*>(QString::fromLatin1(list.lamps[p]));
                ASSERT_NE(lamp, nullptr);
                EXPECT_EQ(lamp->BrushColor(), (p >> bit) & 1 ? list.lit[p] : clSilver);
            }
            // The secure-state lamp belongs to the state code alone.
            EXPECT_EQ(Form2->shpErrSecureState->BrushColor(), kStaleColor);
        }
    }
}

TEST_F(DecodeListReplyTest, KindsWithoutAListWriteNothingButStillTurnCommas)
{
    for (unsigned kind : {0u, 11u, 4000000000u}) {
        SCOPED_TRACE(kind);
        MakeStale();
        std::string text = Reply({"1,5", "1"}, 100, "1");
        EXPECT_TRUE(Decode(text, kind));
        EXPECT_EQ(text.substr(0, 5), "1.5\r\n");
        for (TEdit* edit : Form2->findChildren<TEdit*>())
            EXPECT_EQ(edit->Text(), QString::fromLatin1(kStale)) << edit->objectName().toStdString();
        for (TShape* lamp : Form2->findChildren<TShape*>())
            EXPECT_EQ(lamp->BrushColor(), kStaleColor) << lamp->objectName().toStdString();
        EXPECT_EQ(Form3->StopFrw->YValue(0), kStaleY);
        EXPECT_EQ(Form3->ListView2->SubItem(0, 0), QString::fromLatin1(kStale));
    }
}

TEST_F(DecodeListReplyTest, AViewThatRefusesAWriteEndsTheDecodingWithFalse)
{
    MakeStale();
    // A histogram one row short: the last slot cannot be written.
    delete Form3->ListView2->takeTopLevelItem(85);
    std::string text = Reply({}, 86, "3");
    EXPECT_FALSE(Decode(text, 5));
    EXPECT_EQ(Form3->ListView2->SubItem(84, 0), QStringLiteral("     3"));
}

TEST_F(DecodeListReplyTest, FormatsAndReadingHoldUnderACommaLocale)
{
    CommaLocaleGuard comma;
    if (!comma.Active())
        GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/install-deps)";
    MakeStale();
    std::string control = Reply({"57,5", "-123.4", "45", "-7", "5", "0"});
    ASSERT_TRUE(Decode(control, 9));
    EXPECT_EQ(Form2->edtLockAngle->Text(), QStringLiteral("11.5"));
    EXPECT_EQ(Form2->edtLastStopAngle->Text(), QStringLiteral("-12.3"));
    std::string angles = Reply({"-123.4", "12,4"}, 50, "1");
    ASSERT_TRUE(Decode(angles, 1));
    EXPECT_DOUBLE_EQ(Form3->StopFrw->YValue(0), -123.4 * 0.1);
    EXPECT_DOUBLE_EQ(Form3->StopFrw->YValue(1), 12.4 * 0.1);
    EXPECT_EQ(Form3->ListView1->SubItem(0, 2), QStringLiteral("-12.3"));
    EXPECT_EQ(Form3->ListView1->SubItem(1, 2), QStringLiteral("  1.2"));
    std::string diagnosis = Reply({"12.5", "3", "0", "7", "987"});
    ASSERT_TRUE(Decode(diagnosis, 10));
    // Counters follow the user's decimal separator; the fixed formats never do.
    EXPECT_EQ(Form2->edtCntCycles->Text(), QStringLiteral("12,5"));
    EXPECT_EQ(Form2->edtTmeCycle->Text(), QStringLiteral("0.099"));
}

}  // namespace
