#pragma once
// The Upload progress dialog: stays on top, centred on the main window when
// shown; closing only hides it.

#include <QDialog>

class QLabel;
class QProgressBar;

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* owner);

    QLabel* Label2;
    QProgressBar* ProgressBar1;

protected:
    void showEvent(QShowEvent* event) override;
};

extern TForm4* Form4;
