#pragma once
// The Project Information dialog: the location and the description that head
// every saved file and printed report. The texts live only in its controls.

#include <QDialog>

#include "platform/Memo.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget* owner);

    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    TMemo* Memo1;
    QPushButton* Button1;

    QString Location() const;
    void SetLocation(const QString& text);
    // Lines separated by CR LF.
    QString Description() const;
    void SetDescription(const QString& text);

    void Button1Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QString lastLocation_;
};

extern TForm5* Form5;
