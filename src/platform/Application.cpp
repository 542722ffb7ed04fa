#include "platform/Application.h"

#include <exception>

#include "platform/Modal.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void ShowEscapedError(const char* what)
{
    ShowErrorMessage(QString::fromLocal8Bit(what && *what ? what : "Unknown error"));
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowEscapedError(e.what());
    } catch (...) {
        ShowEscapedError(nullptr);
    }
    return false;
}
