#pragma once
// The six windows as at start-up, a fixed clock and a known locale, and a
// report drawn on the recording canvas.

#include <QDateTime>
#include <QLocale>

#include "RecordingCanvas.h"
#include "report/Report.h"
#include "support/AppFixture.h"

class ReportFixture : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        // Start-up finds no port here and says so; the report tests count their own messages.
        script_->Messages.clear();
        previousLocale_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override
    {
        QLocale::setDefault(previousLocale_);
        AppFixture::TearDown();
    }

    static QDateTime Moment() { return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)); }

    // Runs the whole job on the canvas with the fixed clock.
    bool Print(TRecordingCanvas& canvas) { return PrintReport(canvas, &Moment); }

private:
    QLocale previousLocale_;
};
