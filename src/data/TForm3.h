#pragma once
// The Statistic window: the four angle lists as a point chart and a table of
// 50 rows, and the cycle-time histogram as a table of 86 rows.

#include "platform/Chart.h"
#include "platform/ChildForm.h"
#include "platform/ListView.h"

class QLabel;
class QMdiArea;

class TForm3 : public TChildForm {
    Q_OBJECT
public:
    explicit TForm3(QMdiArea* area);

    TChart* Chart1;
    TPointSeries* StopFrw;
    TPointSeries* BrakeFrw;
    TPointSeries* StopBkw;
    TPointSeries* BrakeBkw;
    TListView* ListView1;
    TListView* ListView2;
    QLabel* Label1;
};

extern TForm3* Form3;

// The caption of histogram slot s (0 ... 85) in the cycle-time table.
QString CycleSlotCaption(int slot);
