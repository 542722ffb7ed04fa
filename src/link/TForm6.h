#pragma once
// The Measurement window: the unit's current angle in large digits, asked for
// every 100 ms while "Update Measurement" is ticked.

#include "platform/ChildForm.h"

class QCheckBox;
class QLabel;
class QMdiArea;
class QTimer;

class TForm6 : public TChildForm {
    Q_OBJECT
public:
    explicit TForm6(QMdiArea* area);

    QLabel* Label1;
    QCheckBox* CheckBox1;
    QTimer* Timer1;

    void CheckBox1Click();
    void Timer1Timer();
};

extern TForm6* Form6;
