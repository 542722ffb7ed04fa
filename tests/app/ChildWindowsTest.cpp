// Closing a child window only hides it; the window commands bring it back
// at the recorded client size, in front, with everything it held.

#include <gtest/gtest.h>

#include <QMdiArea>

#include "app/TForm1.h"
#include "data/TForm2.h"
#include "data/TForm3.h"
#include "link/TForm6.h"
#include "support/AppFixture.h"

class ChildWindows : public AppFixture {};

TEST_F(ChildWindows, RecordedSizeIsTheClientAreaAtCreation)
{
    // The client area is the outer size less the frame.
    for (TChildForm* form : {static_cast<TChildForm*>(Form2), static_cast<TChildForm*>(Form3),
                             static_cast<TChildForm*>(Form6)}) {
        const QSize outer = form->Frame()->size();
        EXPECT_EQ(form->RecordedClientWidth(), form->ClientWidth());
        EXPECT_EQ(form->RecordedClientHeight(), form->ClientHeight());
        EXPECT_LT(form->ClientWidth(), outer.width());
        EXPECT_LT(form->ClientHeight(), outer.height());
        EXPECT_GT(form->ClientWidth(), outer.width() - 40);
    }
    EXPECT_EQ(Form2->Frame()->size(), QSize(1036, 616));
    EXPECT_EQ(Form3->Frame()->size(), QSize(778, 660));
    EXPECT_EQ(Form6->Frame()->size(), QSize(231, 180));
}

TEST_F(ChildWindows, CloseHidesAndTheWindowCommandBringsItBackWithItsData)
{
    const struct {
        TChildForm* form;
        void (TForm1::*command)();
    } cases[] = {
        {Form2, &TForm1::acFensterStatusExecute},
        {Form3, &TForm1::acFensterBremswinkelExecute},
        {Form6, &TForm1::acFensterMesswertExecute},
    };
    Form2->edtLockAngle->SetText(QStringLiteral("11.4"));
    Form2->shpErrSensor->SetBrushColor(clRed);
    Form3->StopFrw->SetYValue(7, -12.3);
    Form3->ListView2->SetSubItem(3, 0, QStringLiteral("     9"));

    for (const auto& c : cases) {
        SCOPED_TRACE(c.form->objectName().toStdString());
        // Resize, then close: the size at closing is what comes back.
        c.form->SetClientSize(300, 200);
        EXPECT_TRUE(c.form->Frame()->close() == false || !c.form->IsShown());
        EXPECT_FALSE(c.form->IsShown());
        EXPECT_EQ(c.form->RecordedClientWidth(), 300);
        EXPECT_EQ(c.form->RecordedClientHeight(), 200);

        (Form1->*c.command)();
        EXPECT_TRUE(c.form->IsShown());
        EXPECT_EQ(c.form->ClientWidth(), 300);
        EXPECT_EQ(c.form->ClientHeight(), 200);
        EXPECT_EQ(Form1->MdiArea->activeSubWindow(), c.form->Frame());
        EXPECT_EQ(Form1->MdiArea->subWindowList().size(), 3);
    }
    EXPECT_EQ(Form2->edtLockAngle->Text(), "11.4");
    EXPECT_EQ(Form2->shpErrSensor->BrushColor(), clRed);
    EXPECT_EQ(Form3->StopFrw->YValue(7), -12.3);
    EXPECT_EQ(Form3->ListView2->SubItem(3, 0), "     9");
}

TEST_F(ChildWindows, AnOpenResizedWindowSnapsBackToTheRecordedSize)
{
    const int width = Form3->RecordedClientWidth();
    const int height = Form3->RecordedClientHeight();
    Form3->SetClientSize(width - 100, height - 150);
    ASSERT_NE(Form3->ClientWidth(), width);
    Form1->acFensterBremswinkelExecute();
    EXPECT_EQ(Form3->ClientWidth(), width);
    EXPECT_EQ(Form3->ClientHeight(), height);
    EXPECT_EQ(Form1->MdiArea->activeSubWindow(), Form3->Frame());
}

TEST_F(ChildWindows, ToolbarButtonSevenBringsBackTheStatisticWindow)
{
    Form3->Frame()->close();
    ASSERT_FALSE(Form3->IsShown());
    QAction* button = Form1->findChild<QAction*>(QStringLiteral("ToolButton7"));
    ASSERT_NE(button, nullptr);
    button->trigger();
    EXPECT_TRUE(Form3->IsShown());
    EXPECT_EQ(Form3->Frame()->windowTitle(), "Statistic");
}
