#include "files/DataFileExport.h"

#include <QLocale>

#include <string>

#include "app/TForm1.h"
#include "common/CommaToPoint.h"
#include "common/GeneralNumberText.h"
#include "common/Numbers.h"
#include "data/TForm2.h"
#include "data/TForm3.h"
#include "files/DataFileIo.h"
#include "files/DataFileLayout.h"
#include "files/DataFileText.h"
#include "files/LineBreaks.h"
#include "files/TForm5.h"
#include "platform/Modal.h"

namespace {

// Written explicitly: Linux has no text mode that would make them.
constexpr const char* kLineEnd = "\r\n";

class TLineWriter {
public:
    void Line(const std::string& bytes)
    {
        out_.append(bytes.data(), qsizetype(bytes.size()));
        out_.append(kLineEnd);
    }
    void Line(const char* ascii) { Line(std::string(ascii)); }
    QByteArray Take() { return std::move(out_); }

private:
    QByteArray out_;
};

std::string Bytes(const QString& text) { return EncodeWindows1252(text).toStdString(); }

std::string PointBytes(const QString& text)
{
    std::string bytes = Bytes(text);
    CommaToPoint(bytes);
    return bytes;
}

// A single-line value with a line break in it would split its file line and
// shift every line after it; each break character becomes a blank instead.
QString OneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// The locale's long time format without its zone name; seconds guaranteed.
QString TimeFormat(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false, seconds = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        if (!quoted && c == QLatin1Char('s'))
            seconds = true;
        kept += c;
    }
    kept = kept.trimmed();
    return seconds ? kept : QStringLiteral("HH:mm:ss");
}

std::string StateValue(const TStateLine& line)
{
    switch (line.Kind) {
    case TStateLineKind::Flag:
        return (Form2->*line.Lamp)->BrushColor() == clSilver ? "no" : "yes";
    case TStateLineKind::CurrentAngle:
        return PointBytes(OneLine(Form1->CurrentAngle));
    case TStateLineKind::FirmwareRevision:
        return "'" + Bytes(OneLine((Form2->*line.Edit)->Text()));
    case TStateLineKind::Text:
        break;
    }
    const QString text = OneLine((Form2->*line.Edit)->Text());
    return line.CommaToPoint ? PointBytes(text) : Bytes(text);
}

std::string AngleText(double value) { return PointBytes(GeneralNumberText(value)); }

std::string SlotCount(int slot)
{
    const std::string text = Form3->ListView2->SubItem(slot, 0).toStdString();
    return FormatInt(TruncToInt32(ReadNumber(text)));
}

}  // namespace

QString DateTimeText(const QDateTime& now)
{
    const QLocale locale;
    return locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char('/') +
           locale.toString(now.time(), TimeFormat(locale));
}

QByteArray ComposeDataFile(const QDateTime& now)
{
    TLineWriter w;
    w.Line("Location:");
    w.Line(Bytes(EncodeLineBreaks(Form5->Location())));
    w.Line("Description:");
    w.Line(Bytes(EncodeLineBreaks(Form5->Description())));
    w.Line("");
    w.Line("");
    w.Line("State:");
    w.Line("Date/Time:;" + Bytes(DateTimeText(now)) + ";");
    for (const TStateLine& line : StateLines())
        w.Line(std::string(line.Label) + ";" + StateValue(line) + ";");

    w.Line("");
    w.Line("");
    w.Line("Statistic:");
    w.Line("Number; Brake Angle backward; Stop Angle backward; Stop Angle forward; Brake Angle forward");
    for (int i = 0; i < 50; ++i) {
        std::string row = FormatInt(i) + ";";
        for (const TPointSeries* series : {Form3->BrakeBkw, Form3->StopBkw, Form3->StopFrw, Form3->BrakeFrw})
            row += AngleText(series->YValue(i)) + ";";
        w.Line(row);
    }

    w.Line("");
    w.Line("");
    w.Line("Cycle Times:");
    w.Line("Time Slot; Number of Hits");
    w.Line("<= 1.5 sec; " + SlotCount(0) + ";");
    for (int k = 1; k <= 84; ++k) {
        // (k + 15) tenths of a second: 1.6 ... 9.9, exact in integers.
        const std::string label = FormatInt((k + 15) / 10) + "." + FormatInt((k + 15) % 10);
        w.Line(label + " sec; " + SlotCount(k) + ";");
    }
    w.Line(">= 10.0 sec; " + SlotCount(85) + ";");
    return w.Take();
}

void TForm1::acDateiSpeichernExecute()
{
    // Shown on every save, before the file name is asked for.
    Modal().ShowModal(*Form5);

    SaveDialog1.Title = QStringLiteral("Save settings to file...");
    SaveDialog1.Filter = QStringLiteral("CSV-Files |*.csv");
    SaveDialog1.DefaultExt = QStringLiteral("csv");
    if (!Modal().ExecuteSave(this, SaveDialog1))
        return;

    const QByteArray content = ComposeDataFile(QDateTime::currentDateTime());
    if (!WriteFileReplacing(SaveDialog1.FileName, content))
        Modal().ShowMessage(this, QStringLiteral("Cannot write this file!"));
}
