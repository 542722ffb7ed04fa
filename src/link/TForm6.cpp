#include "link/TForm6.h"

#include <QCheckBox>
#include <QLabel>

#include "platform/Fonts.h"
#include "platform/ToolbarImages.h"
#include <QTimer>

#include "data/TForm2.h"
#include "data/TForm3.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(QMdiArea* area) : TChildForm(area, QStringLiteral("Measurement"), 231, 180)
{
    setObjectName(QStringLiteral("Form6"));

    Label1 = new QLabel(QStringLiteral("-.-"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAccessibleName(QStringLiteral("Current angle"));
    QFont big = FormFont(48, true);
    big.setFamilies({QStringLiteral("Lucida Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    Label1->setFont(big);
    Label1->setForegroundRole(QPalette::WindowText);
    Label1->move(16, 16);
    Label1->resize(200, 60);

    CheckBox1 = new QCheckBox(QStringLiteral("Update Measurement"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(16, 88, 129, 25);
    // Runs on every change of the box, by the operator or by the program.
    connect(CheckBox1, &QCheckBox::toggled, this, [this] { CheckBox1Click(); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    FinishCreation(MakeToolbarImages()[6]);
    Form2->SetPosition(200, 100);
    Form3->SetPosition(10, 10);
    Form2->BringToFront();
}
