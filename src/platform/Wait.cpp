#include "platform/Wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>

namespace {
int busyDepth = 0;
}

TLineBusy::TLineBusy() { ++busyDepth; }
TLineBusy::~TLineBusy() { --busyDepth; }
bool IsLineBusy() { return busyDepth > 0; }

void Sleep(unsigned ms)
{
    if (!QCoreApplication::instance()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    // A local loop that only paints and handles non-input events until the
    // time is up; the timer is precise to the millisecond.
    QElapsedTimer clock;
    clock.start();
    while (true) {
        const qint64 left = qint64(ms) - clock.elapsed();
        if (left <= 0)
            break;
        QEventLoop loop;
        QTimer::singleShot(std::chrono::milliseconds(left), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
}
