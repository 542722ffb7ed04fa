#include "data/TForm3.h"
#include "platform/Fonts.h"

#include <QLabel>

#include "platform/ToolbarImages.h"

#include "common/Numbers.h"

TForm3* Form3 = nullptr;

QString CycleSlotCaption(int slot)
{
    if (slot == 0)
        return QStringLiteral("<= 1.5 sec");
    if (slot == 85)
        return QStringLiteral(">= 10 sec");
    return QStringLiteral("   ") + QString::fromStdString(FormatFixed((slot - 1) * 0.1 + 1.6, 1, 3)) +
           QStringLiteral(" sec");
}

TForm3::TForm3(QMdiArea* area) : TChildForm(area, QStringLiteral("Statistic"), 778, 660)
{
    setObjectName(QStringLiteral("Form3"));
    setFont(FormFont(11));

    Chart1 = new TChart(this);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setGeometry(0, 0, 561, 385);
    Chart1->setAccessibleName(QStringLiteral("Brake and Stop Angles"));
    Chart1->SetTitle(QStringLiteral("Brake and Stop Angles"));
    Chart1->SetLeftAxis(-40, 40);
    // Drawing and legend order.
    BrakeBkw = &Chart1->AddSeries(QStringLiteral("Brake Angle backward"), clNavy, clBlue);
    StopBkw = &Chart1->AddSeries(QStringLiteral("Stop Angle backward"), clBlue, clAqua);
    StopFrw = &Chart1->AddSeries(QStringLiteral("Stop Angle forward"), clRed, clLightYellow);
    BrakeFrw = &Chart1->AddSeries(QStringLiteral("Brake Angle forward"), clMaroon, clRed);

    ListView1 = new TListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setAccessibleName(QStringLiteral("Brake and Stop Angles"));
    ListView1->setGeometry(0, 392, 561, 225);
    ListView1->AddColumn(QStringLiteral("Number"), 60);
    ListView1->AddColumn(QStringLiteral("Brake Angle backward"), 120);
    ListView1->AddColumn(QStringLiteral("Stop Angle backward"), 120);
    ListView1->AddColumn(QStringLiteral("Stop Angle forward"), 120);
    ListView1->AddColumn(QStringLiteral("Brake Angle forward"), 120);
    for (int i = 0; i < 50; ++i)
        ListView1->AddRow(QString::number(i), {QStringLiteral("0.0"), QStringLiteral("0.0"), QStringLiteral("0.0"),
                                               QStringLiteral("0.0")});

    const struct {
        TPointSeries* series;
        TColor color;
    } points[] = {{StopFrw, clRed}, {BrakeFrw, clMaroon}, {StopBkw, clBlue}, {BrakeBkw, clNavy}};
    for (const auto& p : points)
        for (int i = 0; i < 50; ++i)
            p.series->AddY(0.0, QString(), p.color);

    ListView2 = new TListView(this);
    ListView2->setObjectName(QStringLiteral("ListView2"));
    ListView2->setAccessibleName(QStringLiteral("Cycle Time Statistic"));
    ListView2->setGeometry(576, 24, 177, 593);
    ListView2->SetCaptionsEditable(true);
    ListView2->AddColumn(QStringLiteral("Time"), 80);
    ListView2->AddColumn(QStringLiteral("Count"), 120);
    for (int s = 0; s < 86; ++s)
        ListView2->AddRow(CycleSlotCaption(s), {QStringLiteral("     0")});

    Label1 = new QLabel(QStringLiteral("Cycle Time Statistic"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(624, 8);
    Label1->adjustSize();

    QWidget::setTabOrder(Chart1, ListView1);
    QWidget::setTabOrder(ListView1, ListView2);
    FinishCreation(MakeToolbarImages()[4]);
}
