// The echo-checked command exchange over a real pseudo-terminal, against the
// simulated unit.

#include <gtest/gtest.h>

#include <QLabel>
#include <chrono>
#include <cstring>

#include "app/TForm1.h"
#include "link/Exchange.h"
#include "link/TForm4.h"
#include "support/AppFixture.h"
#include "UnitSim.h"

namespace {

class Exchange : public AppFixture {
protected:
    Exchange() { DeferStart(); }
    void SetUp() override
    {
        AppFixture::SetUp();
        unit_.PublishAs(linksDir_, "COM1");
        Start();
        ASSERT_EQ(Form1->SelectedPort, "COM1");
        unit_.ClearRecord();
    }
    bool Open() { return OpenSelectedPort(*Form1); }

    TUnitSim unit_;
};

using Clock = std::chrono::steady_clock;

}  // namespace

TEST_F(Exchange, ShortRepliesAsTheUnitSendsThem)
{
    struct Case {
        const char* name;
        TUnitFaults faults;
        std::string firmware;
        bool result;
        std::string reply;
    };
    TUnitFaults wrongEchoAtCr;
    wrongEchoAtCr.WrongEchoAt = 6;  // "fw_rev\r\n": the CR
    TUnitFaults wrongEchoFirst;
    wrongEchoFirst.WrongEchoAt = 0;
    TUnitFaults noEcho;
    noEcho.NoEcho = true;
    TUnitFaults refused;
    refused.RefuseCommand = "fw_rev";
    TUnitFaults silent;
    silent.NoReply = true;
    const std::string long120(120, 'x');
    const Case cases[] = {
        {"plain reply", {}, "TU-200 V2.14", true, "TU-200 V2.14"},
        {"reply with a point", {}, "12.5", true, "12.5"},
        {"wrong echo of the CR is accepted", wrongEchoAtCr, "R1", true, "R1"},
        {"wrong echo on the first byte", wrongEchoFirst, "R1", false, "?"},
        {"no echo at all", noEcho, "R1", false, "?"},
        {"refusal", refused, "R1", false, "?"},
        {"no reply counts as an empty answer", silent, "R1", true, ""},
        {"120 characters give the first 99", {}, long120, true, std::string(99, 'x')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TUnitData data = TUnitData::Sample();
        data.Firmware = c.firmware;
        unit_.SetData(data);
        unit_.SetFaults(c.faults);
        ASSERT_TRUE(Open());
        char buffer[ShortReplySize] = "fw_rev\r\n";
        const auto start = Clock::now();
        EXPECT_EQ(ExchangeCommand(*Form1, buffer), c.result);
        EXPECT_EQ(std::string(buffer), c.reply);
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(2)) << "an exchange must never wait without bound";
        EXPECT_TRUE(Form1->CommPort->IsOpen()) << "the exchange leaves the port as it found it";
        Form1->CommPort->ClosePort();
    }
}

TEST_F(Exchange, WrongEchoBeforeTheLineEndFailsButNotOnIt)
{
    // "com_check\r\n" has 11 bytes: positions 9 and 10 are CR and LF. A
    // failed exchange leaves half a command in the unit, so the accepted
    // cases go first.
    for (std::size_t at : {10u, 9u, 8u, 3u, 0u}) {
        SCOPED_TRACE(at);
        TUnitFaults faults;
        faults.WrongEchoAt = at;
        unit_.SetFaults(faults);
        ASSERT_TRUE(Open());
        char buffer[ShortReplySize] = "com_check\r\n";
        const bool ok = ExchangeCommand(*Form1, buffer);
        if (at < 9) {
            EXPECT_FALSE(ok);
            EXPECT_STREQ(buffer, "?");
        } else {
            EXPECT_TRUE(ok);
            EXPECT_STREQ(buffer, "COM_OK");
        }
        Form1->CommPort->ClosePort();
    }
}

TEST_F(Exchange, TheLfAfterAShortReplyIsPurgedByTheNextExchange)
{
    TUnitData data = TUnitData::Sample();
    data.Angle = "12.5";
    unit_.SetData(data);
    ASSERT_TRUE(Open());
    char first[ShortReplySize] = "angle\r\n";
    ASSERT_TRUE(ExchangeCommand(*Form1, first));
    EXPECT_STREQ(first, "12.5");
    char second[ShortReplySize] = "fw_rev\r\n";
    ASSERT_TRUE(ExchangeCommand(*Form1, second));
    EXPECT_STREQ(second, "TU-200 V2.14");
}

TEST_F(Exchange, ListRepliesArriveWholeAndTerminated)
{
    TUnitData data = TUnitData::Sample();
    std::string full;
    while (full.size() < 1200)
        full += "123\r\n";
    full.resize(1200);
    data.Lists[0] = full;
    unit_.SetData(data);
    ASSERT_TRUE(Open());

    static char buffer[ListReplySize + 16];
    std::memset(buffer, '#', sizeof buffer);
    std::strcpy(buffer, "lst_stop_angles_frw\r\n");
    ASSERT_TRUE(ExchangeListCommand(*Form1, buffer));
    EXPECT_EQ(std::strlen(buffer), 1200u);
    EXPECT_EQ(std::string(buffer, 1200), full);
    EXPECT_EQ(buffer[1200], '\0');

    std::strcpy(buffer, "lst_inputs\r\n");
    ASSERT_TRUE(ExchangeListCommand(*Form1, buffer));
    EXPECT_STREQ(buffer, "1\r\n0\r\n0\r\n0\r\n1\r\n0\r\n");
}

TEST_F(Exchange, AClosedPortFailsWithoutRaising)
{
    ASSERT_FALSE(Form1->CommPort->IsOpen());
    char buffer[ShortReplySize] = "angle\r\n";
    EXPECT_FALSE(ExchangeCommand(*Form1, buffer));
    char list[ListReplySize] = "lst_inputs\r\n";
    EXPECT_FALSE(ExchangeListCommand(*Form1, list));
    EXPECT_TRUE(unit_.Received().empty());
}

TEST_F(Exchange, ConnectionCheckLooksForComOkAnywhereWithExactCase)
{
    struct Case {
        const char* reply;
        bool found;
    };
    const Case cases[] = {{"COM_OK", true}, {"xxCOM_OKyy", true}, {"com_ok", false}, {"", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        TUnitData data = TUnitData::Sample();
        data.CheckReply = c.reply;
        unit_.SetData(data);
        ASSERT_TRUE(Open());
        EXPECT_EQ(CheckConnection(*Form1), c.found);
        EXPECT_EQ(Form1->CommPort->IsOpen(), c.found) << "open on success, closed otherwise";
        Form1->CommPort->ClosePort();
    }
}

TEST_F(Exchange, MisbehavingUnitsGiveFalseAndAClosedPortInBoundedTime)
{
    struct Case {
        const char* name;
        TUnitFaults faults;
        bool uploadError;  // the exchange itself failed, so FailUpload wrote its text
    };
    TUnitFaults garbage;
    garbage.WrongEchoAt = 2;
    TUnitFaults silent;
    silent.NoReply = true;
    TUnitFaults noEcho;
    noEcho.NoEcho = true;
    TUnitFaults flood;
    flood.LongReply = true;
    TUnitFaults hangUp;
    hangUp.HangUpAt = 4;
    TUnitFaults cut;
    cut.CutReplyAfter = 3;
    const Case cases[] = {
        {"echoes garbage", garbage, true},  {"never answers", silent, false}, {"no echo", noEcho, true},
        {"5000 bytes", flood, false},       {"cut reply", cut, false},       {"hangs up mid-exchange", hangUp, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Form4->Label2->setText(QStringLiteral("Please wait..."));
        unit_.SetFaults(c.faults);
        ASSERT_TRUE(Open());
        const auto start = Clock::now();
        EXPECT_FALSE(CheckConnection(*Form1));
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
        EXPECT_FALSE(Form1->CommPort->IsOpen());
        EXPECT_EQ(Form4->Label2->text(), c.uploadError ? "Upload Error!" : "Please wait...");
        if (unit_.HungUp())
            break;  // the last case: the line is gone
    }
}

TEST_F(Exchange, OpeningAVanishedPortAnswersFalse)
{
    unit_.Unpublish();
    EXPECT_FALSE(Open());
    EXPECT_FALSE(Form1->CommPort->IsOpen());

    Form1->SelectedPort.clear();
    EXPECT_FALSE(Open()) << "an empty port name cannot be opened";
}

TEST_F(Exchange, RenamingAnOpenPortFailsAndKeepsItOpen)
{
    ASSERT_TRUE(Open());
    Form1->SelectedPort = "COM2";
    EXPECT_FALSE(Open());
    EXPECT_TRUE(Form1->CommPort->IsOpen());
    EXPECT_EQ(Form1->CommPort->PortName(), "COM1");
    Form1->CommPort->ClosePort();
}

TEST_F(Exchange, OpenSelectedPortLeavesDtrOnAndRtsOffInTheWorkingCopy)
{
    ASSERT_TRUE(Open());
    EXPECT_EQ(Form1->Dcb.fDtrControl, TDcb::DTR_CONTROL_ENABLE);
    EXPECT_EQ(Form1->Dcb.fRtsControl, TDcb::RTS_CONTROL_DISABLE);
    EXPECT_EQ(Form1->Dcb.BaudRate, 9600u);
    EXPECT_EQ(Form1->Dcb.ByteSize, 8);
    EXPECT_EQ(Form1->Dcb.Parity, TDcb::EVENPARITY);
    EXPECT_EQ(Form1->Dcb.StopBits, TDcb::ONESTOPBIT);
    Form1->CommPort->ClosePort();
}
