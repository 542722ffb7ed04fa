// What the report prints for the values in the windows: lamps, texts with and
// without decimal points, angles, counts and slot labels, each read at the
// moment its line is drawn.

#include <gtest/gtest.h>

#include <QLocale>
#include <clocale>
#include <string>

#include "ReportFixture.h"
#include "app/TForm1.h"
#include "data/TForm2.h"
#include "data/TForm3.h"
#include "files/TForm5.h"
#include "support/CommaLocaleGuard.h"

namespace {

// The value printed beside a label of page 1.
QString ValueBeside(const TRecordingCanvas& canvas, const QString& label)
{
    const TCanvasCall at = canvas.Find(1, label);
    return canvas.At(1, at.X + 1500, at.Y);
}

}  // namespace

class ReportValues : public ReportFixture {};

TEST_F(ReportValues, LampPrintsYesForEveryColourButSilver)
{
    struct TCase {
        TShape* TForm2::*Lamp;
        const char* Label;
    };
    const TCase lamps[] = {
        {&TForm2::shpErrCommonFault, "Error Common Fault:"},
        {&TForm2::shpErrSecureState, "Secure State:"},
        {&TForm2::shpErrSensor, "Sensor Defect:"},
        {&TForm2::shpErrOverrunFrw, "Error Overrun forward:"},
        {&TForm2::shpErrOverrunBkw, "Error Overrun backward:"},
        {&TForm2::shpErrWrongDirFrw, "wrong Direction forward:"},
        {&TForm2::shpErrWrongDirBkw, "wrong Direction backward:"},
        {&TForm2::shpErrSC, "Short Circuit at Output:"},
        {&TForm2::shpErrLockAngleReserve, "Error Lock Angle Reserve:"},
        {&TForm2::shpErrLockAngleEnd, "End of Lock Angle Reserve:"},
        {&TForm2::shpErrStartup, "Start Up:"},
        {&TForm2::shpErrWrgStartAngle, "Changed Sensor Position:"},
        {&TForm2::shpErrWrgRotMode, "Changed Rotary Mode:"},
        {&TForm2::shpErrWrgRotDir, "Changed Rotary Direction:"},
        {&TForm2::shpErrWrgLockAngle, "Changed Lock Angle:"},
        {&TForm2::shpErrBothInputsOn, "Both Inputs On:"},
        {&TForm2::shpInFrwOn, "Forward On:"},
        {&TForm2::shpInBkwOn, "Backward On:"},
        {&TForm2::shpInMovSlowly, "Moving Slowly:"},
        {&TForm2::shpInFrwThrough, "Forward Through:"},
        {&TForm2::shpInTurnTwoTimes, "Turn 2x Times:"},
        {&TForm2::shpOutFrwStart, "Forward Start:"},
        {&TForm2::shpOutBkwStart, "Backward Start:"},
        {&TForm2::shpOutCommonFault, "Output Common Fault:"},
        {&TForm2::shpOutWLockAngleRes, "Output Warning Lock Angle Reserve:"},
        {&TForm2::shpOutInPosition, "In Position:"},
        {&TForm2::shpOutOverrunFrw, "Output Overrun forward:"},
        {&TForm2::shpOutOverrunBkw, "Output Overrun backward:"},
        {&TForm2::shpOutPosFrw, "In Position forward:"},
        {&TForm2::shpOutPosBkw, "In Position backward:"},
        {&TForm2::shpOutInsideLockAngle, "Target inside Lock Angle:"},
    };
    // Red and yellow as the writers light them, and colours no writer uses.
    const TColor lit[] = {clRed, clYellow, clAqua, TColor::Rgb(192, 192, 193), TColor::Rgb(0, 0, 0), clWindow};
    int n = 0;
    for (const TCase& c : lamps) {
        SCOPED_TRACE(c.Label);
        TShape* lamp = Form2->*c.Lamp;
        lamp->SetBrushColor(lit[n++ % std::size(lit)]);
        TRecordingCanvas canvas;
        ASSERT_TRUE(Print(canvas));
        EXPECT_EQ(ValueBeside(canvas, c.Label), "yes");
        int yes = 0;
        for (const TCanvasCall& call : canvas.Texts(1))
            yes += call.Text == "yes";
        EXPECT_EQ(yes, 1) << "only the lit lamp prints yes";
        lamp->SetBrushColor(clSilver);
    }
}

TEST_F(ReportValues, TextsPrintAsShownOrWithPointsLineByLine)
{
    struct TCase {
        const char* Label;
        TEdit* TForm2::*Field;  // null: the current angle text of the main window
        const char* Text;
        const char* Printed;
    };
    const TCase cases[] = {
        {"Firmware Revision:", &TForm2::edtFirmwareRev, "V1,07", "V1,07"},
        {"Function:", &TForm2::edtFunction, "Special 1/2 Turn Reverse", "Special 1/2 Turn Reverse"},
        {"Current State:", &TForm2::edtState, "Moving, stopped", "Moving, stopped"},
        {"Current Angle [degree]:", nullptr, "-3,7", "-3.7"},
        {"Lock Angle [degree]:", &TForm2::edtLockAngle, "12,5", "12.5"},
        {"Last Cycle Time [sec]:", &TForm2::edtTmeCycle, "0,099", "0.099"},
        {"Number of Cycles:", &TForm2::edtCntCycles, "12,345", "12,345"},
        {"Number of Overruns forward:", &TForm2::edtCntOverrunFrw, "1,5", "1,5"},
        {"Number of Overruns backward:", &TForm2::edtCntOverrunBkw, "2,5", "2,5"},
        {"Number of Abortions:", &TForm2::edtCntAborted, "3,5", "3,5"},
        {"Last Stop Angle [degree]:", &TForm2::edtLastStopAngle, "1,2,3", "1.2.3"},
        {"Last Brake Angle forward [degree]:", &TForm2::edtBrakeAngleFrw, "-0,5", "-0.5"},
        {"Last Brake Angle backward [degree]", &TForm2::edtBrakeAngleBkw, "7,25", "7.25"},
        {"Turn Direction:", &TForm2::edtTurnDirection, "right", "right"},
    };
    for (const TCase& c : cases) {
        if (c.Field)
            (Form2->*c.Field)->SetText(c.Text);
        else
            Form1->CurrentAngle = c.Text;
    }
    TRecordingCanvas canvas;
    ASSERT_TRUE(Print(canvas));
    for (const TCase& c : cases)
        EXPECT_EQ(ValueBeside(canvas, c.Label), c.Printed) << c.Label;
    // The field itself keeps its comma.
    EXPECT_EQ(Form2->edtLockAngle->Text(), "12,5");
}

// Page 2: the y of table row i.
static int RowY(int i) { return 1300 + 90 * i; }

TEST_F(ReportValues, AnglesPrintAsGeneralNumberTextWithAPointInAnyLocale)
{
    struct TCase {
        TPointSeries* TForm3::*Series;
        int Index;
        double Value;
        const char* Printed;
        int X;
    };
    const TCase cases[] = {
        {&TForm3::BrakeBkw, 0, 12.3, "12.3", 900},
        {&TForm3::StopBkw, 0, 12.0, "12", 1800},
        {&TForm3::StopFrw, 0, -3.5, "-3.5", 2650},
        {&TForm3::BrakeFrw, 0, 123 * 0.1, "12.3", 3450},
        {&TForm3::BrakeBkw, 49, 3 * 0.1, "0.3", 900},
        {&TForm3::StopBkw, 49, -1234.5, "-1234.5", 1800},
        {&TForm3::StopFrw, 49, 0.05, "0.05", 2650},
        {&TForm3::BrakeFrw, 49, -0.0, "0", 3450},
        {&TForm3::StopFrw, 17, 1.0 / 3, "0.333333333333333", 2650},
    };
    for (const TCase& c : cases)
        (Form3->*c.Series)->SetYValue(c.Index, c.Value);

    auto check = [&](const char* locale) {
        SCOPED_TRACE(locale);
        TRecordingCanvas canvas;
        ASSERT_TRUE(Print(canvas));
        for (const TCase& c : cases)
            EXPECT_EQ(canvas.At(2, c.X, RowY(c.Index)), c.Printed) << "row " << c.Index << " x " << c.X;
        // An angle nobody wrote.
        EXPECT_EQ(canvas.At(2, 900, RowY(20)), "0");
    };
    check("English");
    CommaLocaleGuard german;
    check("German");
}

TEST_F(ReportValues, CountsAreTheNumberAtTheStartOfTheText)
{
    struct TCase {
        int Slot;
        const char* Text;
        const char* Printed;
        int X, Y;
    };
    const TCase cases[] = {
        {0, "     7", "7", 1500, 1300},
        {43, "3.9", "3", 1500, 5170},
        {44, "abc", "0", 3500, 1300},
        {85, "   -12", "-12", 3500, 4990},
        {1, "", "0", 1500, 1390},
        {2, "42abc", "42", 1500, 1480},
        {3, "1e3", "1000", 1500, 1570},
        {4, "0x1A", "0", 1500, 1660},
        {5, "99999999999", "2147483647", 1500, 1750},
        {6, "-0.9", "0", 1500, 1840},
        {7, "2,5", "2", 1500, 1930},
    };
    for (const TCase& c : cases)
        Form3->ListView2->SetSubItem(c.Slot, 0, c.Text);
    TRecordingCanvas canvas;
    ASSERT_TRUE(Print(canvas));
    for (const TCase& c : cases)
        EXPECT_EQ(canvas.At(3, c.X, c.Y), c.Printed) << "slot " << c.Slot << " \"" << c.Text << "\"";
}

TEST_F(ReportValues, EveryValueIsReadWhenItsLineIsDrawn)
{
    int minutes = 0;
    auto clock = [&minutes] { return Moment().addSecs(60 * minutes++); };
    TRecordingCanvas canvas;
    canvas.OnText = [](const TCanvasCall& call) {
        if (call.Page == 1 && call.Text == "Firmware Revision:")
            Form2->edtFirmwareRev->SetText("V9");
        if (call.Page == 1 && call.Text == "Both Inputs On:")
            Form2->shpInFrwOn->SetBrushColor(clYellow);
        if (call.Page == 2 && call.Text == "Location:")
            Form5->SetLocation("Hall 9");
        if (call.Page == 2 && call.Text == " 10")
            Form3->StopFrw->SetYValue(10, 4.5);
        if (call.Page == 3 && call.Text == "Cycle Times:")
            Form3->ListView2->SetSubItem(85, 0, "    12");
    };
    ASSERT_TRUE(PrintReport(canvas, clock));
    EXPECT_EQ(ValueBeside(canvas, "Firmware Revision:"), "V9");
    EXPECT_EQ(ValueBeside(canvas, "Forward On:"), "yes");
    EXPECT_EQ(canvas.At(1, 500, 220), "-.-");
    EXPECT_EQ(canvas.At(2, 500, 220), "Hall 9");
    EXPECT_EQ(canvas.At(3, 500, 220), "Hall 9");
    EXPECT_EQ(canvas.At(2, 2650, RowY(10)), "4.5");
    EXPECT_EQ(canvas.At(3, 3500, 4990), "12");
    // Each header takes the time anew.
    EXPECT_EQ(canvas.At(1, 2000, 770), "3/5/24 / 2:07:09 PM");
    EXPECT_EQ(canvas.At(2, 2000, 770), "3/5/24 / 2:08:09 PM");
    EXPECT_EQ(canvas.At(3, 2000, 770), "3/5/24 / 2:09:09 PM");
}

TEST_F(ReportValues, DateAndTimeFollowTheUserLocaleWithoutZone)
{
    struct TCase {
        QLocale Locale;
        const char* Text;
    };
    const TCase cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "3/5/24 / 2:07:09 PM"},
        {QLocale(QLocale::German, QLocale::Germany), "05.03.24 / 14:07:09"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "05/03/2024 / 14:07:09"},
        {QLocale(QLocale::Chinese, QLocale::China), "2024/3/5 / 14:07:09"},
    };
    for (const TCase& c : cases) {
        QLocale::setDefault(c.Locale);
        EXPECT_EQ(ReportDateTimeText(Moment()), c.Text) << c.Locale.name().toStdString();
    }
}
