#pragma once
// The six windows as start-up builds them, with a simulated unit published as
// COM2 before the port discovery runs, so the program talks to it through
// the real serial layer on a pseudo-terminal.

#include <gtest/gtest.h>

#include <QLocale>
#include <QString>
#include <memory>
#include <ostream>

#include "UnitSim.h"
#include "app/TForm1.h"
#include "support/AppFixture.h"

// Failure messages show texts, not code units.
static inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

class UnitFixture : public AppFixture {
protected:
    UnitFixture() { DeferStart(); }

    void SetUp() override
    {
        AppFixture::SetUp();
        QLocale::setDefault(QLocale::c());
        sim_ = std::make_unique<TUnitSim>(TUnitData::Sample());
        sim_->PublishAs(linksDir_, "COM2");
        Start();
        ASSERT_EQ(Form1->SelectedPort, "COM2");
        // What the discovery said and sent is not the test's business.
        sim_->ClearRecord();
        script_->Messages.clear();
    }

    std::unique_ptr<TUnitSim> sim_;
};
