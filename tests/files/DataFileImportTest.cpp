// Loading the data file: a saved file comes back whole, the reading rules for
// hand-edited files, and that a bad file changes nothing at all.

#include <gtest/gtest.h>

#include <QLocale>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "DataFileSupport.h"
#include "app/Startup.h"
#include "app/TForm1.h"
#include "common/Numbers.h"
#include "data/TForm2.h"
#include "data/TForm3.h"
#include "files/TForm5.h"

namespace {

std::string Crlf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

std::string Cell(int row, int column) { return Form3->ListView1->SubItem(row, column).toStdString(); }
std::string Slot(int row) { return Form3->ListView2->SubItem(row, 0).toStdString(); }

// A head that takes the first four lines as the project information.
const std::string kHead = "Location:\nPlant\nDescription:\nText\n\n\n";

}  // namespace

using DataFileImport = DataFileTest;

TEST_F(DataFileImport, OpenDialogSetUpAndCancel)
{
    SetKnownState();
    const TWindowState before = CaptureWindows();
    Form1->OpenDialog1.DefaultExt = QStringLiteral("left over");
    Form1->acDateiOeffnenExecute();  // no answer: cancelled

    ASSERT_EQ(script_->OpenDialogs.size(), 1u);
    EXPECT_EQ(script_->OpenDialogs[0].Title, "Load settings from file...");
    EXPECT_EQ(script_->OpenDialogs[0].Filter, "CSV-Files |*.csv");
    EXPECT_EQ(script_->OpenDialogs[0].DefaultExt, "");
    EXPECT_TRUE(script_->Messages.empty());
    EXPECT_TRUE(script_->ModalDialogs.empty()) << "loading does not show the project information";
    EXPECT_EQ(CaptureWindows(), before);
}

TEST_F(DataFileImport, RoundTripThroughAFreshStart)
{
    SetKnownState();
    const std::string first = Dir() + "/first.csv";
    Save(first);

    DestroyForms();
    Start();
    script_->Messages.clear();
    const bool stateShown = Form2->isVisible(), statisticShown = Form3->isVisible();
    Load(first);
    EXPECT_TRUE(script_->Messages.empty());
    EXPECT_EQ(Form2->isVisible(), stateShown) << "loading does not bring the windows up";
    EXPECT_EQ(Form3->isVisible(), statisticShown);

    const TWindowState got = CaptureWindows();
    EXPECT_EQ(got.Location, "Halle 3 \u2013 S\u00fcd, Linie 7");
    EXPECT_EQ(got.Description, "Rotary table 4\r\n\u00d6lwechsel 2024: 12,5 \u20ac\r\nthird line; with semicolon");
    EXPECT_EQ(got.CurrentAngle, "-12.5");
    const std::map<std::string, std::string> texts = {
        {"edtFirmwareRev", "QX 2.31,B"},  // the apostrophe of the file is gone
        {"edtFunction", "Special 1/2 Turn Reverse"},
        {"edtState", "Moving aborted"},
        {"edtLockAngle", "11.4"},
        {"edtTmeCycle", "0.099"},
        {"edtCntCycles", "123456"},
        {"edtCntOverrunFrw", "7"},
        {"edtCntOverrunBkw", "0"},
        {"edtCntAborted", "3"},
        {"edtLastStopAngle", "-3.5"},
        {"edtBrakeAngleFrw", "1.2"},
        {"edtBrakeAngleBkw", "-0.7"},
        {"edtTurnDirection", "right"},
    };
    EXPECT_EQ(got.Texts, texts);
    EXPECT_EQ(TColor{got.Colors.at("edtFunction")}, clYellow);

    // Lamps come back in their lit colours; the aqua and maroon ones too.
    std::map<std::string, std::uint32_t> lamps;
    for (const auto& [name, color] : got.Lamps)
        lamps[name] = clSilver.Value;
    for (const char* red : {"shpErrCommonFault", "shpErrSensor", "shpErrWrgRotDir", "shpOutCommonFault"})
        lamps[red] = clRed.Value;
    for (const char* yellow : {"shpInFrwOn", "shpInTurnTwoTimes", "shpOutPosBkw", "shpOutInsideLockAngle"})
        lamps[yellow] = clYellow.Value;
    EXPECT_EQ(got.Lamps, lamps);
    EXPECT_EQ(got.Lamps.size(), 31u);

    for (int i = 0; i < 50; ++i) {
        EXPECT_DOUBLE_EQ(Form3->BrakeBkw->YValue(i), (i - 25) * 0.1) << i;
        EXPECT_DOUBLE_EQ(Form3->StopBkw->YValue(i), -i * 1.5 - 0.05) << i;
        EXPECT_DOUBLE_EQ(Form3->StopFrw->YValue(i), i * 0.7) << i;
        EXPECT_NEAR(Form3->BrakeFrw->YValue(i), 10.0 / (i + 1), 1e-13) << i;
    }
    EXPECT_EQ(Cell(0, 0), " -2.5");
    EXPECT_EQ(Cell(0, 1), " -0.1") << "-0.05 shows with one decimal";
    EXPECT_EQ(Cell(2, 3), "  3.3");
    EXPECT_EQ(Cell(49, 1), "-73.5");
    EXPECT_EQ(Slot(1), "    37");
    EXPECT_EQ(Slot(3), "    12");
    EXPECT_EQ(Slot(4), "     0");
    EXPECT_EQ(Slot(5), "    -4");
    EXPECT_EQ(Slot(85), "    14");

    // Save, load, save: the same file apart from its date.
    const std::string second = Dir() + "/second.csv";
    Save(second);
    ExpectSameDataFile(ReadBytes(first), ReadBytes(second));
    ExpectSameDataFile(ReadBytes(FixturePath("known.csv")), ReadBytes(second));
}

TEST_F(DataFileImport, LongDescriptionComesBackWhole)
{
    QString description;
    for (int line = 0; description.size() < 290; ++line)
        description += QString(40, QLatin1Char('a' + line)) + QStringLiteral("\r\n");
    description += QStringLiteral("end");
    ASSERT_GE(description.size(), 295);
    Form5->SetDescription(description);
    Form2->edtState->SetText(QStringLiteral("kept"));
    Save(Dir() + "/long.csv");

    Form5->SetDescription(QStringLiteral("other"));
    Form2->edtState->SetText(QStringLiteral("other"));
    Load(Dir() + "/long.csv");
    EXPECT_TRUE(script_->Messages.empty());
    EXPECT_EQ(Form5->Description(), description);
    EXPECT_EQ(Form2->edtState->Text(), "kept");
}

// The reading rules, each case loaded once with LF and once with CR LF line
// ends, which must read the same. `Files` are loaded one after the other.
struct TReadCase {
    const char* Name;
    std::vector<std::string> Files;
    std::function<void()> Check;
};

void PrintTo(const TReadCase& c, std::ostream* os) { *os << c.Name; }

class DataFileReadRules : public DataFileTest, public ::testing::WithParamInterface<std::tuple<TReadCase, bool>> {};

TEST_P(DataFileReadRules, Applies)
{
    const auto& [c, crlf] = GetParam();
    for (const std::string& file : c.Files)
        LoadBytes(crlf ? Crlf(file) : file);
    EXPECT_TRUE(script_->Messages.empty());
    c.Check();
}

const TReadCase kReadCases[] = {
    {"AngleWithCommaSlotCountWithout",
     {kHead + "Statistic:\n2;1,5;-2,3;3;4,25;\nCycle Times:\nx; 7,9;\n"},
     [] {
         EXPECT_DOUBLE_EQ(Form3->BrakeBkw->YValue(2), 1.5);
         EXPECT_DOUBLE_EQ(Form3->StopBkw->YValue(2), -2.3);
         EXPECT_DOUBLE_EQ(Form3->BrakeFrw->YValue(2), 4.25);
         EXPECT_EQ(Cell(2, 0), "  1.5");
         EXPECT_EQ(Cell(2, 1), " -2.3");
         EXPECT_EQ(Slot(0), "     7");
     }},
    {"RowsInAnyOrderTheLaterWins",
     {kHead + "Statistic:\n5;1;1;1;1;\n1;2;2;2;2;\n5;3;3;3;3;\n"},
     [] {
         EXPECT_DOUBLE_EQ(Form3->StopFrw->YValue(5), 3.0);
         EXPECT_DOUBLE_EQ(Form3->StopFrw->YValue(1), 2.0);
         EXPECT_DOUBLE_EQ(Form3->StopFrw->YValue(0), 0.0);
         EXPECT_EQ(Cell(0, 2), "0.0") << "a missing row keeps its cell";
         EXPECT_EQ(Form3->ListView1->Caption(5), "5") << "the number cell is not touched";
     }},
    {"RowNumberTruncatesSlotCountToo",
     {kHead + "Statistic:\n3.9;1;2;3;4;\nCycle Times:\na; 7.9;\n"},
     [] {
         EXPECT_DOUBLE_EQ(Form3->BrakeBkw->YValue(3), 1.0);
         EXPECT_DOUBLE_EQ(Form3->BrakeBkw->YValue(4), 0.0);
         EXPECT_EQ(Slot(0), "     7");
     }},
    {"SlotLabelsAreNotRead",
     {kHead + "Cycle Times:\nTime Slot; Number of Hits\n>= 10.0 sec; 4;\nwhatever; 5;\n"},
     [] {
         EXPECT_EQ(Slot(0), "     4");
         EXPECT_EQ(Slot(1), "     5");
         EXPECT_EQ(Slot(2), "     0");
     }},
    {"EachCycleTimesHeaderStartsAtSlotZero",
     {kHead + "Cycle Times:\na; 1;\nb; 2;\nCycle Times:\nc; 3;\n"},
     [] {
         EXPECT_EQ(Slot(0), "     3");
         EXPECT_EQ(Slot(1), "     2");
     }},
    {"AllEightySixSlots",
     {[] {
         std::string f = kHead + "Cycle Times:\n";
         for (int s = 0; s < 86; ++s)
             f += "s; " + std::to_string(s + 100) + ";\n";
         return f;
     }()},
     [] {
         EXPECT_EQ(Slot(0), "   100");
         EXPECT_EQ(Slot(85), "   185");
     }},
    {"FlagsLightOnlyOnLowerCaseYes",
     {kHead + "State:\nSensor Defect:;yes;\nStart Up:;yes;\nForward On:;xyesx;\n",
      kHead + "State:\nSensor Defect:;Yes;\nStart Up:;no;\n"},
     [] {
         EXPECT_EQ(Form2->shpErrSensor->BrushColor(), clSilver);
         EXPECT_EQ(Form2->shpErrStartup->BrushColor(), clSilver);
         EXPECT_EQ(Form2->shpInFrwOn->BrushColor(), clYellow);
     }},
    {"FlagWithBlankValueIsNo",
     {kHead + "State:\nSensor Defect:;yes;\n", kHead + "State:\nSensor Defect:;\n"},
     [] { EXPECT_EQ(Form2->shpErrSensor->BrushColor(), clSilver); }},
    {"FunctionColourFollowsItsText",
     {kHead + "State:\nFunction:;undefined;\n"},
     [] {
         EXPECT_EQ(Form2->edtFunction->Text(), "undefined");
         EXPECT_EQ(Form2->edtFunction->Color(), clRed);
     }},
    {"FunctionSpecialIsYellowOtherTextsWhite",
     {kHead + "State:\nFunction:;Special 1/2 Turn Reverse;\n",
      kHead + "State:\nCurrent State:;In Position;\n"},
     [] {
         EXPECT_EQ(Form2->edtFunction->Color(), clYellow) << "a file without the line keeps the colour";
         EXPECT_EQ(Form2->edtState->Text(), "In Position");
     }},
    {"FunctionOtherTextIsWhite",
     {kHead + "State:\nFunction:;special 1/2 turn reverse;\n"},
     [] { EXPECT_EQ(Form2->edtFunction->Color(), clWhite); }},
    {"EmptyValuesEmptyTheBox",
     {kHead + "State:\nCurrent State:;;\nLock Angle:\nTurn Direction:;\n"},
     [] {
         EXPECT_EQ(Form2->edtState->Text(), "");
         EXPECT_EQ(Form2->edtLockAngle->Text(), "");
         EXPECT_EQ(Form2->edtTurnDirection->Text(), "");
     }},
    {"ValueWithoutClosingSemicolonAndLastLineWithoutEnd",
     {kHead + "State:\nFunction:;Standard 1 Turn Forward\nCurrent Angle:;4,5;\nLock Angle:;9"},
     [] {
         EXPECT_EQ(Form2->edtFunction->Text(), "Standard 1 Turn Forward");
         EXPECT_EQ(Form1->CurrentAngle, "4,5") << "texts are taken as they stand";
         EXPECT_EQ(Form2->edtLockAngle->Text(), "9");
     }},
    {"OneApostropheLeavesTheRevision",
     {kHead + "State:\nFirmware Revision:;''V1;\n"},
     [] { EXPECT_EQ(Form2->edtFirmwareRev->Text(), "'V1"); }},
    {"RevisionWithoutApostrophe",
     {kHead + "State:\nFirmware Revision:;V2.0;\n"},
     [] { EXPECT_EQ(Form2->edtFirmwareRev->Text(), "V2.0"); }},
    {"LabelsNeedExactCaseAndStart",
     {kHead + "State:\nfunction:;x;\n Lock Angle:;5;\nNumber of Cycles:;12;\n"},
     [] {
         EXPECT_EQ(Form2->edtFunction->Text(), "-.-");
         EXPECT_EQ(Form2->edtLockAngle->Text(), "0");
         EXPECT_EQ(Form2->edtCntCycles->Text(), "12");
     }},
    {"ProjectInformationWithLineBreaks",
     {"Location:\nHall 1\nDescription:\nfirst \tsecond \t \tthird\n"},
     [] {
         EXPECT_EQ(Form5->Location(), "Hall 1");
         EXPECT_EQ(Form5->Description(), "first\r\nsecond\r\n\r\nthird");
     }},
    {"FirstLineWithoutLocationIsLost",
     {"Foo\nDescription:\nabc\nState:\nFunction:;X;\n"},
     [] {
         EXPECT_EQ(Form5->Location(), "-.-");
         EXPECT_EQ(Form5->Description(), "abc");
         EXPECT_EQ(Form2->edtFunction->Text(), "X");
     }},
    {"FileStartingWithTheStateHeaderLosesIt",
     // The second file's State block is not read: its header went to the
     // head, and every load starts outside any block.
     {kHead + "State:\nFunction:;first;\n", "State:\nx\nLock Angle:;5;\nCurrent State:;read;\n"},
     [] {
         EXPECT_EQ(Form2->edtFunction->Text(), "first");
         EXPECT_EQ(Form2->edtLockAngle->Text(), "0");
         EXPECT_EQ(Form2->edtState->Text(), "read") << "\"Current State:\" opens the block itself";
     }},
    {"StatisticRowsNeedTheirHeaderInEveryLoad",
     {kHead + "Statistic:\n1;1;1;1;1;\n", kHead + "2;2;2;2;2;\n"},
     [] { EXPECT_DOUBLE_EQ(Form3->BrakeBkw->YValue(2), 0.0); }},
    {"SecondFileKeepsWhatItDoesNotCarry",
     {kHead + "State:\nFunction:;one;\nCurrent State:;one;\n",
      "Location:\nSecond\nDescription:\nTwo\nState:\nCurrent State:;two;\n"},
     [] {
         EXPECT_EQ(Form2->edtFunction->Text(), "one");
         EXPECT_EQ(Form2->edtState->Text(), "two");
         EXPECT_EQ(Form5->Location(), "Second");
     }},
    {"Utf8Text",
     {"\xEF\xBB\xBFLocation:\nS\xC3\xBC" "d \xE2\x80\x93 1\nDescription:\n\xE2\x82\xAC\n"},
     [] {
         EXPECT_EQ(Form5->Location(), "S\u00fcd \u2013 1");
         EXPECT_EQ(Form5->Description(), "\u20ac");
     }},
    {"Windows1252Text",
     {"Location:\nS\xFC" "d \x96 1\nDescription:\n\x80\nState:\nCurrent State:;\x81;\n"},
     [] {
         EXPECT_EQ(Form5->Location(), "S\u00fcd \u2013 1");
         EXPECT_EQ(Form5->Description(), "\u20ac");
         EXPECT_EQ(Form2->edtState->Text(), QString(QChar(0x81)));
     }},
};

INSTANTIATE_TEST_SUITE_P(Cases, DataFileReadRules, ::testing::Combine(::testing::ValuesIn(kReadCases), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).Name) +
                                    (std::get<1>(info.param) ? "_CrLf" : "_Lf");
                         });

// Files with a read error. Each first carries lines that would change the
// windows, so a half-applied load would show.
struct TBadFile {
    const char* Name;
    std::string Bytes;
};

void PrintTo(const TBadFile& c, std::ostream* os) { *os << c.Name; }

class DataFileReadError : public DataFileTest, public ::testing::WithParamInterface<TBadFile> {};

TEST_P(DataFileReadError, ChangesNothingAndSaysSoOnce)
{
    SetKnownState();
    const TWindowState before = CaptureWindows();
    LoadBytes(GetParam().Bytes);
    EXPECT_EQ(script_->Messages, std::vector<QString>{QStringLiteral("Error while reading this file!")});
    EXPECT_EQ(CaptureWindows(), before);
}

const std::string kChanges =
    "Location:\nNew place\nDescription:\nNew text\n\n\nState:\nFunction:;undefined;\nCurrent Angle:;1.0;\n"
    "Sensor Defect:;no;\nStatistic:\n0;9;9;9;9;\nCycle Times:\na; 5;\n";

const TBadFile kBadFiles[] = {
    {"RowNumberTooHigh", kChanges + "Statistic:\n50;1;2;3;4;\n"},
    {"RowNumberNegative", kChanges + "Statistic:\n-1;1;2;3;4;\n"},
    {"RowNumberHuge", kChanges + "Statistic:\n1e300;1;2;3;4;\n"},
    {"RowWithFourFields", kChanges + "Statistic:\n4;1;2;3\n"},
    {"SlotEightySeven",
     [] {
         std::string f = kChanges + "Cycle Times:\n";
         for (int s = 0; s < 87; ++s)
             f += "s; 1;\n";
         return f;
     }()},
    {"SlotLineWithoutCount", kChanges + "Cycle Times:\n;\n"},
    {"FlagWithoutValue", kChanges + "State:\nSensor Defect:\n"},
    {"FlagWithoutValueAtTheEnd", kChanges + "State:\nStart Up:"},
};

INSTANTIATE_TEST_SUITE_P(Cases, DataFileReadError, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(DataFileImport, OversizedFileIsAReadError)
{
    SetKnownState();
    const TWindowState before = CaptureWindows();
    const std::string path = Dir() + "/huge.csv";
    WriteBytes(path, "Location:\nX\n");
    ASSERT_EQ(truncate(path.c_str(), 17 * 1024 * 1024), 0);  // sparse: no disk needed
    Load(path);
    EXPECT_EQ(script_->Messages, std::vector<QString>{QStringLiteral("Error while reading this file!")});
    EXPECT_EQ(CaptureWindows(), before);
}

TEST_F(DataFileImport, WhatCannotBeOpenedIsSaidSo)
{
    SetKnownState();
    const TWindowState before = CaptureWindows();
    const std::string fifo = Dir() + "/pipe.csv";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Missing file, a folder, and a pipe with no writer (which must not hang).
    for (const std::string& path : {Dir() + "/missing.csv", Dir(), fifo}) {
        script_->Messages.clear();
        Load(path);
        EXPECT_EQ(script_->Messages, std::vector<QString>{QStringLiteral("Cannot open this file!")}) << path;
    }
    EXPECT_EQ(CaptureWindows(), before);
}

TEST_F(DataFileImport, UnreadableFileCannotBeOpened)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads any file whatever its permission bits";
    const std::string path = Dir() + "/secret.csv";
    WriteBytes(path, ReadBytes(FixturePath("known.csv")));
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    Load(path);
    EXPECT_EQ(script_->Messages, std::vector<QString>{QStringLiteral("Cannot open this file!")});
    EXPECT_EQ(Form2->edtFunction->Text(), "-.-");
}

TEST_F(DataFileImport, HiddenProjectInformationShowsTheLoadedTexts)
{
    ASSERT_FALSE(Form5->isVisible());
    LoadBytes("Location:\nLoaded place\nDescription:\nLoaded text\n");
    EXPECT_FALSE(Form5->isVisible());
    QString shownLocation;
    script_->OnShowModal = [&](QDialog&) { shownLocation = Form5->Edit1->text(); };
    Form1->acDateiSpeichernExecute();  // shows the dialog, then is cancelled
    EXPECT_EQ(shownLocation, "Loaded place");
}
