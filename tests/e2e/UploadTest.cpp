// Data > Upload against the simulated unit through the real serial layer:
// every field of the State and Statistic windows, the commands in order with
// their echoes and pauses, the dialog's texts and progress, and the failures.
// A full upload takes about ten seconds of the protocol's own waits, so the
// cases share uploads where they can.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <functional>
#include <set>
#include <cstdio>
#include <string>
#include <vector>

#include "support/CommaLocaleGuard.h"
#include "data/TForm2.h"
#include "data/TForm3.h"
#include "e2e/UploadFixture.h"
#include "link/TForm4.h"
#include "link/TForm6.h"

namespace {

using Ms = std::chrono::milliseconds;

// A list as the unit sends it, with the value each line stands for.
struct TList {
    std::vector<std::string> Lines;
    std::vector<double> Values;

    std::string Reply() const { return MakeListReply(Lines); }
};

// 50 angles in tenths of a degree from -450 to 450; every fourth line carries
// a decimal comma.
TList Angles(int step, int offset)
{
    TList list;
    for (int i = 0; i < 50; ++i) {
        const int whole = (i * step + offset) % 901 - 450;
        if (i % 4 == 1) {
            list.Lines.push_back(std::to_string(whole) + ",5");
            list.Values.push_back(whole < 0 ? whole - 0.5 : whole + 0.5);
        } else {
            list.Lines.push_back(std::to_string(whole));
            list.Values.push_back(whole);
        }
    }
    return list;
}

// 86 counts; every fifth line has a fraction, which the count drops.
TList Counts(int seed)
{
    TList list;
    for (int s = 0; s < 86; ++s) {
        const int count = (s * s * 7 + seed) % 1000;
        list.Lines.push_back(std::to_string(count) + (s % 5 == 2 ? ",9" : ""));
        list.Values.push_back(count);
    }
    return list;
}

TList Plain(std::vector<std::string> lines)
{
    TList list;
    list.Lines = std::move(lines);
    return list;
}

// What the State window must show after an upload of a data set.
struct TStateExpect {
    const char* Function;
    TColor FunctionColor;
    const char* State;
    const char* LockAngle;
    const char* TmeCycle;
    const char* CntCycles;
    const char* CntOverrunFrw;
    const char* CntOverrunBkw;
    const char* CntAborted;
    const char* LastStopAngle;
    const char* BrakeAngleFrw;
    const char* BrakeAngleBkw;
    const char* TurnDirection;
    const char* FirmwareRev;
    bool SecureState;
};

struct TDataSet {
    TList Lists[10];
    TStateExpect State;
    std::string Firmware;
};

// Set A: flag pattern A, the secure state, a decimal comma on the lock angle.
TDataSet SetA()
{
    TDataSet d;
    d.Lists[0] = Angles(37, 11);
    d.Lists[1] = Angles(53, 400);
    d.Lists[2] = Angles(71, 101);
    d.Lists[3] = Angles(89, 777);
    d.Lists[4] = Counts(3);
    d.Lists[5] = Plain({"1", "0", "1", "1", "0", "1", "0", "1", "0", "1"});
    d.Lists[6] = Plain({"1", "1", "0", "1", "0", "0", "1", "0", "1", "1", "0", "1", "0", "1", "1", "0"});
    d.Lists[7] = Plain({"1", "0", "1", "0", "1", "1"});
    d.Lists[8] = Plain({"57,5", "-123", "45", "-7", "16", "2"});
    d.Lists[9] = Plain({"12345", "3", "1,5", "0", "8766"});
    d.Firmware = "TU-200 V2.14";
    d.State = {"Special 1/2 Turn Reverse", clYellow, "Secure State", "11.5", "0.877", "12345", "3", "1.5", "0",
               "-12.3", "4.5", "-0.7", "right", "TU-200 V2.14", true};
    return d;
}

// Set B: the complementary flags, other codes, counters with a fraction.
TDataSet SetB()
{
    TDataSet d;
    d.Lists[0] = Angles(13, 850);
    d.Lists[1] = Angles(29, 3);
    d.Lists[2] = Angles(41, 560);
    d.Lists[3] = Angles(97, 222);
    d.Lists[4] = Counts(511);
    d.Lists[5] = Plain({"0", "1", "0", "0", "1", "0", "1", "0", "1", "0"});
    d.Lists[6] = Plain({"0", "0", "1", "0", "1", "1", "0", "1", "0", "0", "1", "0", "1", "0", "0", "1"});
    d.Lists[7] = Plain({"0", "1", "0", "1", "0", "0"});
    d.Lists[8] = Plain({"0", "450", "-450", "1", "13", "3"});
    d.Lists[9] = Plain({"2,5", "0", "7", "99", "123"});
    d.Firmware = "";
    // Counters follow the user's decimal separator: this set runs under a comma locale.
    d.State = {"undefined", clRed, "Moving backward", "0.0", "0.012", "2,5", "0", "7", "99",
               "45.0", "-45.0", "0.1", "left", "", false};
    return d;
}

TUnitData ToUnit(const TDataSet& set)
{
    TUnitData unit = TUnitData::Sample();
    unit.Firmware = set.Firmware;
    for (int k = 0; k < 10; ++k)
        unit.Lists[std::size_t(k)] = set.Lists[k].Reply();
    return unit;
}

// "%5.1f" by the C library, with a point whatever the locale.
QString Cell(double v, const char* format)
{
    char text[64];
    std::snprintf(text, sizeof text, format, v);
    for (char* p = text; *p; ++p)
        if (*p == ',')
            *p = '.';
    return QString::fromLatin1(text);
}

// The lamp lists in reply order with their lit colours.
struct TLampList {
    int List;
    std::vector<TShape*> Lamps;  // nullptr: no lamp at that position
    std::vector<TColor> Lit;
};

std::vector<TLampList> LampLists()
{
    const TForm2& f = *Form2;
    return {
        {5,
         {f.shpOutFrwStart, f.shpOutBkwStart, f.shpOutCommonFault, f.shpOutWLockAngleRes, f.shpOutInPosition,
          f.shpOutOverrunFrw, f.shpOutOverrunBkw, f.shpOutPosFrw, f.shpOutPosBkw, f.shpOutInsideLockAngle},
         {clYellow, clYellow, clRed, clRed, clYellow, clRed, clRed, clYellow, clYellow, clYellow}},
        {6,
         {f.shpErrCommonFault, f.shpErrSensor, f.shpErrWrongDirFrw, f.shpErrWrongDirBkw, f.shpErrOverrunFrw,
          f.shpErrOverrunBkw, f.shpErrSC, f.shpErrLockAngleReserve, f.shpErrLockAngleEnd, f.shpErrStartup,
          f.shpErrWrgStartAngle, f.shpErrWrgRotMode, f.shpErrWrgRotDir, f.shpErrWrgLockAngle, nullptr,
          f.shpErrBothInputsOn},
         std::vector<TColor>(16, clRed)},
        {7,
         {f.shpInFrwOn, f.shpInBkwOn, f.shpInMovSlowly, f.shpInFrwThrough, nullptr, f.shpInTurnTwoTimes},
         std::vector<TColor>(6, clYellow)},
    };
}

void ExpectAngles(const TDataSet& set)
{
    const struct {
        TPointSeries* Series;
        int Column;
    } lists[4] = {{Form3->StopFrw, 2}, {Form3->BrakeFrw, 3}, {Form3->StopBkw, 1}, {Form3->BrakeBkw, 0}};
    for (int k = 0; k < 4; ++k) {
        for (int i = 0; i < 50; ++i) {
            SCOPED_TRACE("list " + std::to_string(k + 1) + " entry " + std::to_string(i));
            const double v = set.Lists[k].Values[std::size_t(i)] * 0.1;
            EXPECT_EQ(lists[k].Series->Count(), 50);
            EXPECT_DOUBLE_EQ(lists[k].Series->YValue(i), v);
            EXPECT_EQ(lists[k].Series->XValue(i), i);
            EXPECT_EQ(Form3->ListView1->SubItem(i, lists[k].Column), Cell(v, "%5.1f"));
        }
    }
}

void ExpectHistogram(const TDataSet& set)
{
    for (int s = 0; s < 86; ++s) {
        char text[16];
        std::snprintf(text, sizeof text, "%6d", int(set.Lists[4].Values[std::size_t(s)]));
        EXPECT_EQ(Form3->ListView2->SubItem(s, 0), QString::fromLatin1(text)) << "slot " << s;
    }
}

void ExpectLamps(const TDataSet& set, int list)
{
    for (const TLampList& l : LampLists()) {
        if (l.List != list)
            continue;
        for (std::size_t p = 0; p < l.Lamps.size(); ++p) {
            if (!l.Lamps[p])
                continue;
            const bool on = set.Lists[list].Lines[p] == "1";
            EXPECT_EQ(l.Lamps[p]->BrushColor(), on ? l.Lit[p] : clSilver) << l.Lamps[p]->objectName().toStdString();
        }
    }
}

void ExpectState(const TStateExpect& e)
{
    const TForm2& f = *Form2;
    EXPECT_EQ(f.edtFunction->Text(), QString::fromUtf8(e.Function));
    EXPECT_EQ(f.edtFunction->Color(), e.FunctionColor);
    EXPECT_EQ(f.edtState->Text(), QString::fromUtf8(e.State));
    EXPECT_EQ(f.edtLockAngle->Text(), QString::fromUtf8(e.LockAngle));
    EXPECT_EQ(f.edtTmeCycle->Text(), QString::fromUtf8(e.TmeCycle));
    EXPECT_EQ(f.edtCntCycles->Text(), QString::fromUtf8(e.CntCycles));
    EXPECT_EQ(f.edtCntOverrunFrw->Text(), QString::fromUtf8(e.CntOverrunFrw));
    EXPECT_EQ(f.edtCntOverrunBkw->Text(), QString::fromUtf8(e.CntOverrunBkw));
    EXPECT_EQ(f.edtCntAborted->Text(), QString::fromUtf8(e.CntAborted));
    EXPECT_EQ(f.edtLastStopAngle->Text(), QString::fromUtf8(e.LastStopAngle));
    EXPECT_EQ(f.edtBrakeAngleFrw->Text(), QString::fromUtf8(e.BrakeAngleFrw));
    EXPECT_EQ(f.edtBrakeAngleBkw->Text(), QString::fromUtf8(e.BrakeAngleBkw));
    EXPECT_EQ(f.edtTurnDirection->Text(), QString::fromUtf8(e.TurnDirection));
    EXPECT_EQ(f.edtFirmwareRev->Text(), QString::fromUtf8(e.FirmwareRev));
    EXPECT_EQ(f.shpErrSecureState->BrushColor(), e.SecureState ? clRed : clSilver);
}

void ExpectEverything(const TDataSet& set)
{
    ExpectState(set.State);
    for (int list : {5, 6, 7})
        ExpectLamps(set, list);
    ExpectAngles(set);
    ExpectHistogram(set);
}

// The commands in the order they arrived, each with the times of its first
// byte and of its LF, split from the bytes the unit received.
struct TSentCommand {
    std::string Text;
    std::chrono::steady_clock::time_point First, Last;
};

std::vector<TSentCommand> SentCommands(const std::vector<TReceivedByte>& bytes)
{
    std::vector<TSentCommand> commands;
    bool fresh = true;
    for (const TReceivedByte& b : bytes) {
        if (fresh)
            commands.push_back({"", b.At, b.At});
        TSentCommand& c = commands.back();
        c.Text += b.Byte;
        c.Last = b.At;
        fresh = b.Byte == '\n';
    }
    return commands;
}

// Records the value the progress bar shows each time it is painted.
class PaintedValues : public QObject {
public:
    explicit PaintedValues(QProgressBar* bar) : bar_(bar) { bar->installEventFilter(this); }
    ~PaintedValues() override { bar_->removeEventFilter(this); }
    std::set<int> Values;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Values.insert(bar_->value());
        return false;
    }

private:
    QProgressBar* bar_;
};

const char* const kUploadCommands[] = {
    "com_check\r\n",       "fw_rev\r\n",          "lst_stop_angles_frw\r\n", "lst_brake_angles_frw\r\n",
    "lst_stop_angles_bkw\r\n", "lst_brake_angles_bkw\r\n", "lst_cycle_times\r\n", "lst_outputs\r\n",
    "lst_errors\r\n",      "lst_inputs\r\n",      "lst_control\r\n",         "lst_diagnosis\r\n",
};

class Upload : public UnitFixture {
protected:
    // Every field gets a value that no upload writes, so old and new differ.
    void MakeOld()
    {
        for (TEdit* edit : Form2->findChildren<TEdit*>())
            edit->SetText(QStringLiteral("old"));
        for (TShape* lamp : Form2->findChildren<TShape*>())
            lamp->SetBrushColor(clAqua);
        for (TPointSeries* s : {Form3->StopFrw, Form3->BrakeFrw, Form3->StopBkw, Form3->BrakeBkw})
            for (int i = 0; i < 50; ++i)
                s->SetYValue(i, 77);
        for (int row = 0; row < 50; ++row)
            for (int k = 0; k < 4; ++k)
                Form3->ListView1->SetSubItem(row, k, QStringLiteral("old"));
        for (int row = 0; row < 86; ++row)
            Form3->ListView2->SetSubItem(row, 0, QStringLiteral("old"));
        Form4->ProgressBar1->setValue(50);
        Form4->Label2->setText(QStringLiteral("old"));
    }

    bool Old(TEdit* edit) const { return edit->Text() == QStringLiteral("old"); }
    bool Old(TShape* lamp) const { return lamp->BrushColor() == clAqua; }

    // Progress values the bar went through, collected as the operator would see them.
    void WatchProgress()
    {
        progress_.clear();
        QObject::connect(Form4->ProgressBar1, &QProgressBar::valueChanged, Form4,
                         [this](int v) { progress_.push_back(v); });
    }

    // Runs once, inside the upload, when the bar reaches the value.
    void AtProgress(int value, std::function<void()> action)
    {
        QObject::connect(Form4->ProgressBar1, &QProgressBar::valueChanged, Form4,
                         [value, action, done = false](int v) mutable {
                             if (v == value && !done) {
                                 done = true;
                                 action();
                             }
                         });
    }

    std::vector<int> progress_;
};

TEST_F(Upload, FillsEveryFieldSendsTheElevenCommandsInOrderAndHidesTheDialogLater)
{
    const TDataSet set = SetA();
    sim_->SetData(ToUnit(set));
    MakeOld();
    WatchProgress();
    QString labelWhileWorking;
    bool shownWhileWorking = false;
    AtProgress(3, [&] {
        labelWhileWorking = Form4->Label2->text();
        shownWhileWorking = Form4->isVisible();
    });
    PaintedValues painted(Form4->ProgressBar1);

    Form1->acDatenUploadExecute();

    EXPECT_EQ(labelWhileWorking, QStringLiteral("Please wait..."));
    EXPECT_TRUE(shownWhileWorking);
    // The waits keep the dialog painted: the operator sees every step but the
    // last, which is painted once the upload has returned.
    for (int step : {0, 3, 10, 20, 30, 40, 50, 60, 70, 80, 90})
        EXPECT_TRUE(painted.Values.count(step)) << "never painted at " << step;

    ExpectEverything(set);
    EXPECT_EQ(Form4->Label2->text(), QStringLiteral("Parameters uploaded successfully..."));
    EXPECT_EQ(Form4->ProgressBar1->value(), 100);
    EXPECT_EQ(progress_, (std::vector<int>{0, 3, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    EXPECT_TRUE(Form4->isVisible());
    EXPECT_FALSE(Form1->CommPort->IsOpen());
    EXPECT_TRUE(Form1->Timer1->isActive());
    EXPECT_TRUE(script_->Messages.empty());

    // The bytes as sent: one at a time, 4 ms and the echo apart. The unit
    // stamps a byte when it gets round to reading it, so one stamp may come
    // late; the span of a command still shows the pacing.
    const std::vector<TSentCommand> sent = SentCommands(sim_->Received());
    ASSERT_EQ(sent.size(), std::size(kUploadCommands));
    for (std::size_t i = 0; i < sent.size(); ++i) {
        SCOPED_TRACE(kUploadCommands[i]);
        EXPECT_EQ(sent[i].Text, kUploadCommands[i]);
        const long n = long(sent[i].Text.size());
        EXPECT_GE(sent[i].Last - sent[i].First, Ms(4 * (n - 2)));
    }
    // The 300 ms pauses follow lists 1 to 5 and list 8. A list's gap is the
    // 600 ms before its reply, the read, and the pause if it has one.
    const bool pauseAfter[] = {true, true, true, true, true, false, false, true, false};
    for (std::size_t row = 0; row < std::size(pauseAfter); ++row) {
        const std::size_t i = 2 + row;
        SCOPED_TRACE(kUploadCommands[i]);
        const auto gap = std::chrono::duration_cast<Ms>(sent[i + 1].First - sent[i].Last);
        if (pauseAfter[row])
            EXPECT_GE(gap, Ms(600 + 300));
        else
            EXPECT_LT(gap, Ms(600 + 300));
        EXPECT_GE(gap, Ms(600));
    }

    // Two seconds later the dialog goes; the data stays.
    QTest::qWait(2300);
    EXPECT_FALSE(Form4->isVisible());
    EXPECT_FALSE(Form1->Timer1->isActive());
    EXPECT_EQ(Form2->edtFirmwareRev->Text(), QStringLiteral("TU-200 V2.14"));
}

TEST_F(Upload, UnderACommaLocaleWithAnEmptyFirmwareReplyEverythingStillReadsRight)
{
    CommaLocaleGuard comma;
    if (!comma.Active())
        GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/install-deps)";
    const TDataSet set = SetB();
    sim_->SetData(ToUnit(set));
    MakeOld();

    Form1->acDatenUploadExecute();

    ExpectEverything(set);
    EXPECT_EQ(Form4->Label2->text(), QStringLiteral("Parameters uploaded successfully..."));
    EXPECT_EQ(Form4->ProgressBar1->value(), 100);
}

TEST_F(Upload, DuringAMeasurementTheBoxIsUntickedFirstAndARefusedErrorListStopsAt60)
{
    const TDataSet set = SetA();
    sim_->SetData(ToUnit(set));
    MakeOld();
    Form6->CheckBox1->setChecked(true);
    QTest::qWait(350);
    ASSERT_TRUE(Form6->Timer1->isActive());
    TUnitFaults refuse;
    refuse.RefuseCommand = "lst_errors";
    sim_->SetFaults(refuse);
    sim_->ClearRecord();

    Form1->acDatenUploadExecute();

    EXPECT_FALSE(Form6->CheckBox1->isChecked());
    EXPECT_FALSE(Form6->Timer1->isActive());
    const std::vector<TReceivedCommand> commands = sim_->Commands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.front().Text, "com_check");
    EXPECT_EQ(commands.back().Text, "lst_errors");

    EXPECT_EQ(Form4->Label2->text(), QStringLiteral("Upload Error!"));
    EXPECT_EQ(Form4->ProgressBar1->value(), 60);
    EXPECT_TRUE(Form4->isVisible());
    EXPECT_FALSE(Form1->CommPort->IsOpen());
    EXPECT_FALSE(Form1->Timer1->isActive());
    EXPECT_TRUE(script_->Messages.empty());

    // New: firmware, angle lists, cycle times, outputs.
    EXPECT_EQ(Form2->edtFirmwareRev->Text(), QStringLiteral("TU-200 V2.14"));
    ExpectAngles(set);
    ExpectHistogram(set);
    ExpectLamps(set, 5);
    // Old: errors, inputs, control, counters.
    const TForm2& f = *Form2;
    for (TShape* lamp : {f.shpErrCommonFault, f.shpErrSensor, f.shpErrBothInputsOn, f.shpErrSecureState, f.shpInFrwOn,
                         f.shpInTurnTwoTimes})
        EXPECT_TRUE(Old(lamp)) << lamp->objectName().toStdString();
    for (TEdit* edit : {f.edtTurnDirection, f.edtLockAngle, f.edtLastStopAngle, f.edtBrakeAngleFrw,
                        f.edtBrakeAngleBkw, f.edtState, f.edtFunction, f.edtCntCycles, f.edtCntOverrunFrw,
                        f.edtCntOverrunBkw, f.edtCntAborted, f.edtTmeCycle})
        EXPECT_TRUE(Old(edit)) << edit->objectName().toStdString();

    // The dialog stays: nothing hides it.
    QTest::qWait(2300);
    EXPECT_TRUE(Form4->isVisible());
}

// Failures that end an upload early, each with the dialog text, the progress
// reached and the commands the unit saw.
struct TEarlyEnd {
    const char* name;
    TUnitFaults faults;
    const char* label;
    int progress;
    const char* received;  // every byte the unit got
    bool firmwareNew;
};

TEST_F(Upload, EarlyEndsLeaveTheDialogOpenWithTheirTextAndThePortClosed)
{
    TUnitFaults silent;
    silent.NoEcho = true;
    silent.NoReply = true;
    TUnitFaults wrongCheck;
    wrongCheck.ReplyFaultsFor = "com_check";
    wrongCheck.CutReplyAfter = 3;  // "COM" without "_OK"
    TUnitFaults refusedFirmware;
    refusedFirmware.RefuseCommand = "fw_rev";
    TUnitFaults cutList;
    cutList.ReplyFaultsFor = "lst_stop_angles_frw";
    cutList.CutReplyAfter = 40;
    const TEarlyEnd cases[] = {
        {"unit switched off", silent, "Communication failed!", 0, "c", false},
        {"no COM_OK", wrongCheck, "Communication failed!", 0, "com_check\r\n", false},
        {"firmware refused", refusedFirmware, "Upload Error!", 0, "com_check\r\nfw_rev\r\n", false},
        {"first list cut short", cutList, "Upload Error!", 3, "com_check\r\nfw_rev\r\nlst_stop_angles_frw\r\n", true},
    };
    for (const TEarlyEnd& c : cases) {
        SCOPED_TRACE(c.name);
        MakeOld();
        sim_->SetFaults(c.faults);
        sim_->ClearRecord();
        Form4->hide();

        Form1->acDatenUploadExecute();

        EXPECT_EQ(Form4->Label2->text(), QString::fromLatin1(c.label));
        EXPECT_EQ(Form4->ProgressBar1->value(), c.progress);
        EXPECT_TRUE(Form4->isVisible());
        EXPECT_FALSE(Form1->CommPort->IsOpen());
        EXPECT_FALSE(Form1->Timer1->isActive());
        EXPECT_TRUE(script_->Messages.empty());
        std::string received;
        for (const TReceivedByte& b : sim_->Received())
            received += b.Byte;
        EXPECT_EQ(received, c.received);
        EXPECT_EQ(Old(Form2->edtFirmwareRev), !c.firmwareNew);
        EXPECT_TRUE(Old(Form2->edtLockAngle));
        // The cut list wrote its first lines and no more.
        EXPECT_EQ(Form3->StopFrw->YValue(49), 77);
    }
}

TEST_F(Upload, AUnitThatVanishesMidwayEndsInUploadError)
{
    MakeOld();
    AtProgress(10, [this] { sim_->HangUp(); });

    Form1->acDatenUploadExecute();

    EXPECT_EQ(Form4->Label2->text(), QStringLiteral("Upload Error!"));
    EXPECT_EQ(Form4->ProgressBar1->value(), 10);
    EXPECT_FALSE(Form1->CommPort->IsOpen());
    EXPECT_TRUE(script_->Messages.empty());
    // The first list arrived whole before the line went.
    EXPECT_FALSE(Old(Form2->edtFirmwareRev));
    EXPECT_NE(Form3->StopFrw->YValue(49), 77);
}

TEST_F(Upload, ASecondUploadCancelsTheHideOfTheFirst)
{
    // Success arms the 2 s hide; a failing upload right after must keep its dialog.
    Form1->Timer1->start();
    TUnitFaults silent;
    silent.NoEcho = true;
    silent.NoReply = true;
    sim_->SetFaults(silent);
    Form1->acDatenUploadExecute();
    EXPECT_FALSE(Form1->Timer1->isActive());
    QTest::qWait(2300);
    EXPECT_TRUE(Form4->isVisible());
    EXPECT_EQ(Form4->Label2->text(), QStringLiteral("Communication failed!"));
}

TEST_F(Upload, TheMainWindowRefusesToCloseWhileTheLineIsBusy)
{
    TUnitFaults cutList;
    cutList.ReplyFaultsFor = "lst_stop_angles_frw";
    cutList.CutReplyAfter = 40;
    sim_->SetFaults(cutList);
    bool closedDuringUpload = true;
    AtProgress(3, [&] { closedDuringUpload = Form1->close(); });
    Form1->acDatenUploadExecute();
    EXPECT_FALSE(closedDuringUpload);
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_EQ(Form4->Label2->text(), QStringLiteral("Upload Error!"));
    EXPECT_FALSE(Form1->CommPort->IsOpen());
}

// No serial port at all.
class UploadWithoutPort : public AppFixture {};

TEST_F(UploadWithoutPort, ShowsTheErrorAndNoDialog)
{
    script_->Messages.clear();
    Form1->acDatenUploadExecute();
    EXPECT_EQ(script_->Messages, (std::vector<QString>{QStringLiteral("Cannot open COM-Port!")}));
    EXPECT_FALSE(Form4->isVisible());
    EXPECT_FALSE(Form1->CommPort->IsOpen());
}

}  // namespace
