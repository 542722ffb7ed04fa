// The six windows as start-up leaves them: roles, initial values, menus.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTimer>
#include <QToolBar>

#include "app/TForm1.h"
#include "data/TForm2.h"
#include "data/TForm3.h"
#include "files/TForm5.h"
#include "link/TForm4.h"
#include "link/TForm6.h"
#include "support/AppFixture.h"

class Startup : public AppFixture {};

TEST_F(Startup, SixWindowsInTheirRoles)
{
    ASSERT_TRUE(Form1 && Form2 && Form3 && Form4 && Form5 && Form6);
    EXPECT_EQ(Form1->windowTitle(), "Quadrelix v1.7");
    EXPECT_TRUE(Form1->isMaximized());
    EXPECT_EQ(Form2->Frame()->windowTitle(), "State");
    EXPECT_EQ(Form3->Frame()->windowTitle(), "Statistic");
    EXPECT_EQ(Form6->Frame()->windowTitle(), "Measurement");
    EXPECT_EQ(Form4->windowTitle(), "Upload");
    EXPECT_EQ(Form5->windowTitle(), "Project Information");
    EXPECT_TRUE(Form2->IsShown());
    EXPECT_TRUE(Form3->IsShown());
    EXPECT_TRUE(Form6->IsShown());
    EXPECT_FALSE(Form4->isVisible());
    EXPECT_FALSE(Form5->isVisible());
    EXPECT_EQ(Form1->CurrentAngle, "-.-");
    EXPECT_TRUE(Form4->windowFlags() & Qt::WindowStaysOnTopHint);

    // The children live in the main window's client area.
    const auto children = Form1->MdiArea->subWindowList();
    EXPECT_EQ(children.size(), 3);
    EXPECT_EQ(Form2->Frame()->pos(), QPoint(200, 100));
    EXPECT_EQ(Form3->Frame()->pos(), QPoint(10, 10));
    EXPECT_EQ(Form1->MdiArea->activeSubWindow(), Form2->Frame());
}

TEST_F(Startup, EveryTextFieldAndLampHasItsInitialValue)
{
    const struct {
        const char* name;
        const char* text;
    } fields[] = {
        {"edtFunction", "-.-"},     {"edtState", "-.-"},         {"edtLockAngle", "0"},
        {"edtTmeCycle", "0"},       {"edtCntCycles", "0"},       {"edtCntOverrunFrw", "0"},
        {"edtCntOverrunBkw", "0"},  {"edtCntAborted", "0"},      {"edtLastStopAngle", "0"},
        {"edtBrakeAngleFrw", "0"},  {"edtBrakeAngleBkw", "0"},   {"edtTurnDirection", "-.-"},
        {"edtFirmwareRev", "-.-"},
    };
    for (const auto& f : fields) {
        auto* edit = Form2->findChild<TEdit*>(QString::fromLatin1(f.name));
        ASSERT_NE(edit, nullptr) << f.name;
        EXPECT_EQ(edit->Text(), QString::fromLatin1(f.text)) << f.name;
        EXPECT_TRUE(edit->isReadOnly()) << f.name;
    }
    EXPECT_EQ(Form2->findChildren<TEdit*>().size(), 13);
    EXPECT_EQ(Form2->edtFunction->Color(), clWindow);

    const char* lamps[] = {
        "shpErrCommonFault", "shpErrSecureState", "shpErrSensor", "shpErrOverrunFrw", "shpErrOverrunBkw",
        "shpErrWrongDirFrw", "shpErrWrongDirBkw", "shpErrSC", "shpErrLockAngleReserve", "shpErrLockAngleEnd",
        "shpErrStartup", "shpErrWrgStartAngle", "shpErrWrgRotMode", "shpErrWrgRotDir", "shpErrWrgLockAngle",
        "shpErrBothInputsOn", "shpInFrwOn", "shpInBkwOn", "shpInMovSlowly", "shpInFrwThrough",
        "shpInTurnTwoTimes", "shpOutFrwStart", "shpOutBkwStart", "shpOutCommonFault", "shpOutWLockAngleRes",
        "shpOutInPosition", "shpOutOverrunFrw", "shpOutOverrunBkw", "shpOutPosFrw", "shpOutPosBkw",
        "shpOutInsideLockAngle",
    };
    for (const char* name : lamps) {
        auto* lamp = Form2->findChild<TShape*>(QString::fromLatin1(name));
        ASSERT_NE(lamp, nullptr) << name;
        EXPECT_EQ(lamp->BrushColor(), clSilver) << name;
        EXPECT_EQ(lamp->size(), QSize(25, 17)) << name;
    }
    EXPECT_EQ(Form2->findChildren<TShape*>().size(), 31);
}

TEST_F(Startup, EditBoxesTakeFocusInTheirTabOrder)
{
    const TEdit* order[] = {Form2->edtLockAngle, Form2->edtTmeCycle, Form2->edtCntCycles,
                            Form2->edtCntOverrunFrw, Form2->edtCntOverrunBkw, Form2->edtCntAborted,
                            Form2->edtLastStopAngle, Form2->edtBrakeAngleFrw, Form2->edtBrakeAngleBkw,
                            Form2->edtFirmwareRev, Form2->edtState, Form2->edtTurnDirection, Form2->edtFunction};
    // The next widget that takes focus by Tab after each box.
    auto nextTabStop = [](const QWidget* w) {
        QWidget* next = w->nextInFocusChain();
        while (next != w && !(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        return next;
    };
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        EXPECT_EQ(nextTabStop(order[i]), order[i + 1]) << order[i]->objectName().toStdString();
}

TEST_F(Startup, StatisticWindowHoldsFiftyPointsAndAllRows)
{
    ASSERT_EQ(Form3->Chart1->SeriesCount(), 4);
    const struct {
        TPointSeries* series;
        const char* title;
        TColor seriesColor, pointColor;
        int drawOrder;
    } series[] = {
        {Form3->BrakeBkw, "Brake Angle backward", clNavy, clNavy, 0},
        {Form3->StopBkw, "Stop Angle backward", clBlue, clBlue, 1},
        {Form3->StopFrw, "Stop Angle forward", clRed, clRed, 2},
        {Form3->BrakeFrw, "Brake Angle forward", clMaroon, clMaroon, 3},
    };
    for (const auto& s : series) {
        EXPECT_EQ(&Form3->Chart1->Series(s.drawOrder), s.series);
        EXPECT_EQ(s.series->Title(), QString::fromLatin1(s.title));
        EXPECT_EQ(s.series->SeriesColor(), s.seriesColor);
        ASSERT_EQ(s.series->Count(), 50);
        for (int i = 0; i < 50; ++i) {
            EXPECT_EQ(s.series->XValue(i), i);
            EXPECT_EQ(s.series->YValue(i), 0.0);
            EXPECT_EQ(s.series->PointColor(i), s.pointColor);
            EXPECT_TRUE(s.series->Label(i).isEmpty());
        }
    }
    EXPECT_EQ(Form3->Chart1->Title(), "Brake and Stop Angles");
    EXPECT_EQ(Form3->Chart1->LeftMinimum(), -40);
    EXPECT_EQ(Form3->Chart1->LeftMaximum(), 40);

    ASSERT_EQ(Form3->ListView1->RowCount(), 50);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(Form3->ListView1->Caption(i), QString::number(i));
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(Form3->ListView1->SubItem(i, k), "0.0");
    }

    ASSERT_EQ(Form3->ListView2->RowCount(), 86);
    EXPECT_EQ(Form3->ListView2->Caption(0), "<= 1.5 sec");
    EXPECT_EQ(Form3->ListView2->Caption(1), "   1.6 sec");
    EXPECT_EQ(Form3->ListView2->Caption(44), "   5.9 sec");
    EXPECT_EQ(Form3->ListView2->Caption(84), "   9.9 sec");
    EXPECT_EQ(Form3->ListView2->Caption(85), ">= 10 sec");
    for (int s = 1; s < 85; ++s)
        EXPECT_EQ(Form3->ListView2->Caption(s), QStringLiteral("   %1 sec").arg(1.5 + 0.1 * s, 0, 'f', 1)) << s;
    for (int s = 0; s < 86; ++s)
        EXPECT_EQ(Form3->ListView2->SubItem(s, 0), "     0");
    EXPECT_TRUE(Form3->ListView2->CaptionsEditable());
    EXPECT_FALSE(Form3->ListView1->CaptionsEditable());
    EXPECT_EQ(Form3->Label1->text(), "Cycle Time Statistic");
}

TEST_F(Startup, MenusToolbarActionsAndStatusBar)
{
    const struct {
        const char* menu;
        const char* title;
        std::vector<std::pair<const char*, const char*>> items;
    } menus[] = {
        {"Datei1", "File", {{"Speichern1", "Save File"}, {"Laden1", "Load File"}, {"Print1", "Print"}}},
        {"Daten1", "Data", {{"Upload1", "Upload"}}},
        {"Fenster1", "Window", {{"Status1", "State"}, {"Bremswinkel1", "Brake Angle"}, {"Measurement1", "Measurement"}}},
    };
    for (const auto& m : menus) {
        auto* menu = Form1->findChild<QMenu*>(QString::fromLatin1(m.menu));
        ASSERT_NE(menu, nullptr) << m.menu;
        EXPECT_EQ(menu->title(), QString::fromLatin1(m.title));
        ASSERT_EQ(menu->actions().size(), qsizetype(m.items.size()));
        for (std::size_t i = 0; i < m.items.size(); ++i) {
            EXPECT_EQ(menu->actions()[qsizetype(i)]->objectName(), QString::fromLatin1(m.items[i].first));
            EXPECT_EQ(menu->actions()[qsizetype(i)]->text(), QString::fromLatin1(m.items[i].second));
        }
    }
    ASSERT_EQ(Form1->Port1->actions().size(), 16);
    for (int n = 1; n <= 16; ++n) {
        QAction* item = Form1->Port1->actions()[n - 1];
        EXPECT_EQ(item->objectName(), QStringLiteral("Com%1").arg(n) + QStringLiteral("1"));
        EXPECT_EQ(item->text(), QStringLiteral("Com%1").arg(n));
    }

    const char* toolbar[] = {"ToolButton1", "ToolButton2", "ToolButton3", "ToolButton4", "ToolButton5",
                             "ToolButton6", "ToolButton7", "ToolButton9", "ToolButton10", "ToolButton8"};
    const bool separator[] = {false, false, true, false, true, false, false, false, true, false};
    const auto actions = Form1->ToolBar1->actions();
    ASSERT_EQ(actions.size(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(actions[i]->objectName(), QString::fromLatin1(toolbar[i]));
        EXPECT_EQ(actions[i]->isSeparator(), separator[i]);
        if (!separator[i]) {
            EXPECT_FALSE(actions[i]->icon().isNull());
            EXPECT_TRUE(actions[i]->toolTip().isEmpty() || actions[i]->text().isEmpty());
        }
    }
    EXPECT_EQ(Form1->ImageList1.size(), 8u);

    ASSERT_EQ(Form1->acCycleTimes.size(), 6u);
    const struct {
        const char* name;
        const char* category;
        const char* caption;
        const char* hint;
    } list[] = {
        {"acDateiOeffnen", "Datei", "&Öffnen", "Datei öffnen"},
        {"acDateiSpeichern", "Datei", "&Speichern", "Datei speichern"},
        {"acDatenUpload", "Daten", "&Upload", "Daten aus dem Gerät laden"},
        {"acFensterStatus", "Fenster", "&Status", ""},
        {"acFensterBremswinkel", "Fenster", "&Bremswinkel", ""},
        {"acFensterMesswert", "Fenster", "Messwert", ""},
    };
    for (std::size_t i = 0; i < 6; ++i) {
        QAction* a = Form1->acCycleTimes[i];
        EXPECT_EQ(a->objectName(), QString::fromLatin1(list[i].name));
        EXPECT_EQ(a->property("category").toString(), QString::fromLatin1(list[i].category));
        EXPECT_EQ(a->text(), QString::fromUtf8(list[i].caption));
        EXPECT_EQ(a->statusTip(), QString::fromUtf8(list[i].hint));
        EXPECT_TRUE(a->shortcut().isEmpty());
        EXPECT_TRUE(a->associatedObjects().isEmpty()) << "no menu item or button runs " << list[i].name;
    }

    EXPECT_EQ(Form1->Timer1->interval(), 2000);
    EXPECT_FALSE(Form1->Timer1->isActive());
    EXPECT_EQ(Form1->StatusPanelText(1), "");
}

TEST_F(Startup, UploadAndMeasurementWindowsHaveTheirControls)
{
    EXPECT_EQ(Form4->size(), QSize(414, 86));
    EXPECT_EQ(Form4->Label2->text(), "Please wait...");
    EXPECT_EQ(Form4->Label2->pos(), QPoint(160, 16));
    EXPECT_EQ(Form4->ProgressBar1->geometry(), QRect(16, 48, 385, 25));
    EXPECT_EQ(Form4->ProgressBar1->minimum(), 0);
    EXPECT_EQ(Form4->ProgressBar1->maximum(), 100);

    EXPECT_EQ(Form6->Label1->text(), "-.-");
    EXPECT_EQ(Form6->Label1->pos(), QPoint(16, 16));
    EXPECT_EQ(Form6->Label1->font().pixelSize(), 48);
    EXPECT_TRUE(Form6->Label1->font().bold());
    EXPECT_EQ(Form6->CheckBox1->text(), "Update Measurement");
    EXPECT_EQ(Form6->CheckBox1->geometry(), QRect(16, 88, 129, 25));
    EXPECT_FALSE(Form6->CheckBox1->isChecked());
    EXPECT_EQ(Form6->Timer1->interval(), 100);
    EXPECT_FALSE(Form6->Timer1->isActive());
}
