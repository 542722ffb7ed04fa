#include "link/TForm4.h"

#include <QLabel>
#include <QProgressBar>

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Upload"));
    setFixedSize(414, 86);
    setModal(false);

    Label2 = new QLabel(QStringLiteral("Please wait..."), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(160, 16);
    Label2->resize(250, Label2->sizeHint().height());

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setAccessibleName(QStringLiteral("Upload progress"));
    ProgressBar1->setGeometry(16, 48, 385, 25);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
}

void TForm4::showEvent(QShowEvent* event)
{
    if (QWidget* owner = parentWidget())
        move(owner->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}
