// An error that escapes a handler is shown and the program goes on.

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "app/TForm1.h"
#include "support/AppFixture.h"

class Guard : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        script_->Messages.clear();  // the start-up's own message about missing ports
    }
};

TEST_F(Guard, AnExceptionFromAHandlerIsShownAndTheLoopGoesOn)
{
    QAction boom;
    QObject::connect(&boom, &QAction::triggered, [] { throw std::runtime_error("Printer is not ready"); });
    bool later = false;
    QTimer::singleShot(0, [&boom] { boom.trigger(); });
    QTimer::singleShot(20, [&later] { later = true; });
    QTest::qWait(100);

    ASSERT_EQ(script_->Messages.size(), 1u);
    EXPECT_EQ(script_->Messages[0], "Printer is not ready");
    EXPECT_TRUE(later) << "events after the failing handler must still run";
    EXPECT_TRUE(Form1->isVisible());
}

TEST_F(Guard, AnErrorWithoutTextIsStillShown)
{
    QTimer::singleShot(0, [] { throw 42; });
    QTest::qWait(20);
    ASSERT_EQ(script_->Messages.size(), 1u);
    EXPECT_FALSE(script_->Messages[0].isEmpty());
}
