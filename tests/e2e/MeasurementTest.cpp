// The Measurement window against the simulated unit: what a reply shows, the
// ticks of the timer, a refusal, a hidden window, a vanished device.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "support/CommaLocaleGuard.h"
#include "e2e/UploadFixture.h"
#include "link/TForm4.h"
#include "link/TForm6.h"
#include "platform/Wait.h"

namespace {

class Measurement : public UnitFixture {
protected:
    // Ticks the box as the operator does, then stops the window's timer so
    // the test runs each tick itself.
    void StartByHand()
    {
        Form6->CheckBox1->setChecked(true);
        ASSERT_TRUE(Form6->Timer1->isActive());
        Form6->Timer1->stop();
    }

    void Answer(const std::string& angle)
    {
        TUnitData data = sim_->Data();
        data.Angle = angle;
        sim_->SetData(data);
    }

    int AngleCommands() const
    {
        int n = 0;
        for (const TReceivedCommand& c : sim_->Commands())
            n += c.Text == "angle";
        return n;
    }
};

struct AngleCase {
    const char* reply;
    const char* shown;
    const char* current;
};

const AngleCase kAngleCases[] = {
    {"1234", "  123.4 °", "123.4"},
    {"-5", "   -0.5 °", "-0.5"},
    {"", "    0.0 °", "0.0"},
    {"0", "    0.0 °", "0.0"},
    {"-3600", " -360.0 °", "-360.0"},
    {"99999999", "9999999.9 °", "9999999.9"},
    {"  +7 deg", "    0.7 °", "0.7"},
    {"abc", "    0.0 °", "0.0"},
};

TEST_F(Measurement, EachReplyIsShownInDegreesAndBecomesTheCurrentAngle)
{
    StartByHand();
    for (const AngleCase& c : kAngleCases) {
        SCOPED_TRACE(c.reply);
        Answer(c.reply);
        sim_->ClearRecord();
        Form6->Timer1Timer();
        EXPECT_EQ(Form6->Label1->text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(Form1->CurrentAngle, QString::fromUtf8(c.current));
        EXPECT_FALSE(Form1->CommPort->IsOpen());
        ASSERT_EQ(sim_->Commands().size(), 1u);
        EXPECT_EQ(sim_->Commands()[0].Text, "angle");
    }
    EXPECT_TRUE(script_->Messages.empty());
}

TEST_F(Measurement, FormatsHoldUnderACommaLocale)
{
    CommaLocaleGuard comma;
    if (!comma.Active())
        GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/install-deps)";
    StartByHand();
    Answer("-5");
    Form6->Timer1Timer();
    EXPECT_EQ(Form6->Label1->text(), QString::fromUtf8("   -0.5 °"));
    EXPECT_EQ(Form1->CurrentAngle, QStringLiteral("-0.5"));
    Answer("1234.5");
    Form6->Timer1Timer();
    EXPECT_EQ(Form6->Label1->text(), QString::fromUtf8("  123.5 °"));
}

TEST_F(Measurement, ARefusalLeavesTheDisplayAndTheNextTickTriesAgain)
{
    StartByHand();
    Answer("1234");
    Form6->Timer1Timer();
    Answer("?");
    Form6->Timer1Timer();
    EXPECT_EQ(Form6->Label1->text(), QString::fromUtf8("  123.4 °"));
    EXPECT_EQ(Form1->CurrentAngle, QStringLiteral("123.4"));
    EXPECT_EQ(Form4->Label2->text(), QStringLiteral("Upload Error!"));
    EXPECT_FALSE(Form4->isVisible());
    EXPECT_FALSE(Form1->CommPort->IsOpen());
    EXPECT_TRUE(script_->Messages.empty());

    Answer("-5");
    Form6->Timer1Timer();
    EXPECT_EQ(Form6->Label1->text(), QString::fromUtf8("   -0.5 °"));
    EXPECT_TRUE(Form6->CheckBox1->isChecked());
}

TEST_F(Measurement, ASilentUnitChangesNothingOnScreen)
{
    StartByHand();
    Answer("1234");
    Form6->Timer1Timer();
    TUnitFaults silent;
    silent.NoEcho = true;
    sim_->SetFaults(silent);
    Answer("-5");
    Form6->Timer1Timer();
    EXPECT_EQ(Form6->Label1->text(), QString::fromUtf8("  123.4 °"));
    EXPECT_FALSE(Form1->CommPort->IsOpen());
    EXPECT_TRUE(script_->Messages.empty());
}

TEST_F(Measurement, ATickWhileTheLineIsBusyLeavesTheLineAlone)
{
    StartByHand();
    {
        TLineBusy busy;
        Form6->Timer1Timer();
    }
    EXPECT_TRUE(sim_->Commands().empty());
    EXPECT_EQ(Form6->Label1->text(), QStringLiteral("-.-"));
    // Still open from the ticking of the box: the skipped tick did not touch it.
    EXPECT_TRUE(Form1->CommPort->IsOpen());
    Form6->Timer1Timer();
    EXPECT_EQ(Form6->Label1->text(), QString::fromUtf8("  123.4 °"));
    EXPECT_FALSE(Form1->CommPort->IsOpen());
}

TEST_F(Measurement, TheTimerMeasuresUntilUntickedAndKeepsOnWhileTheWindowIsClosed)
{
    Answer("1234");
    Form6->CheckBox1->setChecked(true);
    EXPECT_TRUE(Form6->Timer1->isActive());
    QTest::qWait(700);
    EXPECT_GE(AngleCommands(), 3);
    EXPECT_EQ(Form1->CurrentAngle, QStringLiteral("123.4"));
    // Between ticks the port is closed.
    EXPECT_FALSE(Form1->CommPort->IsOpen());

    Form6->Frame()->close();
    EXPECT_FALSE(Form6->Frame()->isVisible());
    Answer("-5");
    QTest::qWait(500);
    EXPECT_EQ(Form1->CurrentAngle, QStringLiteral("-0.5"));
    EXPECT_TRUE(Form6->CheckBox1->isChecked());
    EXPECT_TRUE(Form6->Timer1->isActive());

    Form1->acFensterMesswertExecute();
    EXPECT_TRUE(Form6->Frame()->isVisible());
    EXPECT_TRUE(Form6->CheckBox1->isChecked());

    Form6->CheckBox1->setChecked(false);
    EXPECT_FALSE(Form6->Timer1->isActive());
    EXPECT_FALSE(Form1->CommPort->IsOpen());
    const int before = AngleCommands();
    QTest::qWait(400);
    EXPECT_EQ(AngleCommands(), before);
    EXPECT_TRUE(script_->Messages.empty());
}

TEST_F(Measurement, AVanishedDeviceStopsTheMeasurementWithOneMessage)
{
    for (const char* how : {"link removed", "unit hung up"}) {
        SCOPED_TRACE(how);
        script_->Messages.clear();
        Form6->CheckBox1->setChecked(true);
        QTest::qWait(300);
        ASSERT_GE(AngleCommands(), 1);
        if (std::string(how) == "link removed")
            sim_->Unpublish();
        else
            sim_->HangUp();
        QTest::qWait(600);
        EXPECT_FALSE(Form6->CheckBox1->isChecked());
        EXPECT_FALSE(Form6->Timer1->isActive());
        EXPECT_FALSE(Form1->CommPort->IsOpen());
        EXPECT_EQ(script_->Messages, (std::vector<QString>{QStringLiteral("Cannot open COM-Port!")}));
        // A fresh unit for the second round.
        sim_ = std::make_unique<TUnitSim>(TUnitData::Sample());
        sim_->PublishAs(linksDir_, "COM2");
    }
}

// No serial port at all.
class MeasurementWithoutPort : public AppFixture {};

TEST_F(MeasurementWithoutPort, TickingShowsTheErrorAndLeavesTheBoxTickedWithTheTimerOff)
{
    script_->Messages.clear();
    Form6->CheckBox1->setChecked(true);
    EXPECT_EQ(script_->Messages, (std::vector<QString>{QStringLiteral("Cannot open COM-Port!")}));
    EXPECT_TRUE(Form6->CheckBox1->isChecked());
    EXPECT_FALSE(Form6->Timer1->isActive());
    Form6->CheckBox1->setChecked(false);
    EXPECT_EQ(script_->Messages.size(), 1u);
    EXPECT_FALSE(Form6->Timer1->isActive());
}

}  // namespace
