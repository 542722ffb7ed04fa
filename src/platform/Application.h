#pragma once
// The application object. Every handler that Qt calls (menu, toolbar, timer,
// dialog) runs under its guard: an error that escapes is shown in the error
// message box and the program goes on.

#include <QApplication>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows an escaped error the way the guard does.
void ShowEscapedError(const char* what);
