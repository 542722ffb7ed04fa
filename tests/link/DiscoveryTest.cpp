// Port discovery at start-up and the Port menu, with simulated units and
// silent ports published as COM links.

#include <gtest/gtest.h>

#include <QAction>
#include <map>
#include <memory>

#include "app/TForm1.h"
#include "support/AppFixture.h"
#include "UnitSim.h"

namespace {

class Discovery : public AppFixture {
protected:
    Discovery() { DeferStart(); }

    // A port with the unit on it, or one that exists but stays silent.
    TUnitSim& AddPort(int n, bool unit)
    {
        auto sim = std::make_unique<TUnitSim>();
        if (!unit) {
            TUnitFaults silent;
            silent.NoEcho = true;
            silent.NoReply = true;
            sim->SetFaults(silent);
        }
        sim->PublishAs(linksDir_, "COM" + std::to_string(n));
        return *(ports_[n] = std::move(sim));
    }

    std::vector<int> Visible() const
    {
        std::vector<int> v;
        for (int n = 1; n <= 16; ++n)
            if (Form1->ComItems[std::size_t(n - 1)]->isVisible())
                v.push_back(n);
        return v;
    }
    std::vector<int> Marked() const
    {
        std::vector<int> v;
        for (int n = 1; n <= 16; ++n)
            if (Form1->ComItems[std::size_t(n - 1)]->isChecked())
                v.push_back(n);
        return v;
    }

    std::map<int, std::unique_ptr<TUnitSim>> ports_;
};

}  // namespace

TEST_F(Discovery, FindsTheUnitOnTheThirdPort)
{
    AddPort(1, false);
    AddPort(2, false);
    TUnitSim& unit = AddPort(3, true);
    Start();
    EXPECT_EQ(Visible(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Marked(), (std::vector<int>{3}));
    EXPECT_EQ(Form1->SelectedPort, "COM3");
    EXPECT_EQ(Form1->StatusPanelText(0), "COM3");
    EXPECT_FALSE(Form1->CommPort->IsOpen());
    ASSERT_EQ(unit.Commands().size(), 1u);
    EXPECT_EQ(unit.Commands()[0].Text, "com_check");
    EXPECT_TRUE(script_->Messages.empty());
}

TEST_F(Discovery, WithoutTheUnitTheFirstPortIsSelectedSilently)
{
    AddPort(2, false);
    AddPort(5, false);
    Start();
    EXPECT_EQ(Visible(), (std::vector<int>{2, 5}));
    EXPECT_EQ(Marked(), (std::vector<int>{2}));
    EXPECT_EQ(Form1->SelectedPort, "COM2");
    EXPECT_EQ(Form1->StatusPanelText(0), "");
    EXPECT_FALSE(Form1->CommPort->IsOpen());
    EXPECT_TRUE(script_->Messages.empty());
}

TEST_F(Discovery, TheFirstPortWithTheUnitWinsAndLaterOnesAreNeverOpened)
{
    TUnitSim& first = AddPort(1, true);
    TUnitSim& second = AddPort(4, true);
    Start();
    EXPECT_EQ(Form1->SelectedPort, "COM1");
    EXPECT_EQ(Marked(), (std::vector<int>{1}));
    EXPECT_EQ(first.Commands().size(), 1u);
    EXPECT_TRUE(second.Received().empty());
}

TEST_F(Discovery, NoPortAtAllShowsTheMessageAndOffersNothing)
{
    Start();
    ASSERT_EQ(script_->Messages.size(), 1u);
    EXPECT_EQ(script_->Messages[0], "Your PC seems to have no available/free serial COM-Port!");
    EXPECT_TRUE(Visible().empty());
    EXPECT_TRUE(Marked().empty());
    EXPECT_EQ(Form1->SelectedPort, "");
    EXPECT_TRUE(Form1->isVisible()) << "the main window is shown after the message";
}

TEST_F(Discovery, APortHeldByAnotherProgramIsSkippedButStaysOffered)
{
    TUnitSim& held = AddPort(1, true);
    AddPort(2, true);
    // Another program has the first port.
    TCommPort other(std::make_shared<TPortMap>(Roots()));
    other.SetPortName("COM1");
    other.OpenPort();
    held.ClearRecord();
    Start();
    EXPECT_EQ(Form1->SelectedPort, "COM2");
    EXPECT_EQ(Visible(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(held.Received().empty());
}

TEST_F(Discovery, ChoosingAPortMarksOnlyItAndOpensNothing)
{
    for (int n : {1, 5, 9})
        AddPort(n, n == 1);
    Start();
    for (auto& [n, sim] : ports_)
        sim->ClearRecord();

    Form1->Com51Click();
    EXPECT_EQ(Form1->SelectedPort, "COM5");
    EXPECT_EQ(Form1->StatusPanelText(0), "COM5");
    EXPECT_EQ(Marked(), (std::vector<int>{5}));
    EXPECT_FALSE(Form1->CommPort->IsOpen());

    // The menu item runs the same handler.
    Form1->ComItems[8]->trigger();
    EXPECT_EQ(Form1->SelectedPort, "COM9");
    EXPECT_EQ(Marked(), (std::vector<int>{9}));
    for (auto& [n, sim] : ports_)
        EXPECT_TRUE(sim->Received().empty()) << n;
}
