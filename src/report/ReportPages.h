#pragma once
// The three pages of the printed report, drawn on a report canvas: page 1
// the state, page 2 the angle lists, page 3 the cycle-time histogram, each
// headed by the project information and closed by its page footer. Every
// value is read from its window at the moment its line is drawn.

#include <QDateTime>
#include <QString>
#include <functional>

class TReportCanvas;

// Gives the moment a page header is drawn.
using TReportClock = std::function<QDateTime()>;

// The three pages, from the first text of page 1 to the footer of page 3,
// with a new page between them. The job itself is started and ended by the
// caller.
void DrawReportPages(TReportCanvas& canvas, const TReportClock& now);

// "<short date> / <time with seconds>" in the user's locale, without a zone.
QString ReportDateTimeText(const QDateTime& moment);
