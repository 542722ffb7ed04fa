#pragma once
// The print command's job: all three pages in one job on a report canvas.

#include "report/ReportPages.h"

class QPrinter;
class TReportCanvas;

// Runs the whole job on the canvas. When the printer (or anything else)
// fails on the way, the job is given up, the error is shown in the error
// message box and false is returned; nothing is half-printed silently.
bool PrintReport(TReportCanvas& canvas, const TReportClock& now = &QDateTime::currentDateTime);

// The one printer of the application: the print dialog sets it up, and it
// keeps the operator's choice from one print to the next.
QPrinter& ReportPrinter();
