#include "files/DataFileReader.h"

#include <array>
#include <string>

#include "app/TForm1.h"
#include "common/CommaToPoint.h"
#include "common/Numbers.h"
#include "data/TForm2.h"
#include "data/TForm3.h"
#include "files/DataFileLayout.h"
#include "files/LineBreaks.h"
#include "files/TForm5.h"

namespace {

// The runs of characters between ";" separators; several ";" in a row are one
// separator, so no piece is empty. The line end, when there is one, belongs to
// the last piece: "Sensor Defect:;" has a (blank) value, "Sensor Defect:" none.
std::vector<QString> Pieces(const QString& line, bool lineEnd)
{
    const QString whole = lineEnd ? line + QLatin1Char('\n') : line;
    const QStringList parts = whole.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return std::vector<QString>(parts.begin(), parts.end());
}

// The text a piece gives a box: never the line end.
QString ValueText(const std::vector<QString>& pieces)
{
    if (pieces.size() < 2)
        return QString();
    QString value = pieces[1];
    if (value.endsWith(QLatin1Char('\n')))
        value.chop(1);
    return value;
}

double Number(const QString& piece) { return ReadNumber(piece.toStdString()); }

int Truncated(const QString& piece) { return TruncToInt32(Number(piece)); }

double AngleNumber(const QString& piece)
{
    std::string text = piece.toStdString();
    CommaToPoint(text);
    return ReadNumber(text);
}

TColor FunctionColor(const QString& text)
{
    if (text == QLatin1String("Special 1/2 Turn Reverse"))
        return clYellow;
    if (text == QLatin1String("undefined"))
        return clRed;
    return clWhite;
}

// Statistic columns: sub-item c of ListView1 holds the series at index c.
constexpr std::array<TPointSeries* TForm3::*, 4> kAngleColumns = {
    &TForm3::BrakeBkw, &TForm3::StopBkw, &TForm3::StopFrw, &TForm3::BrakeFrw};

constexpr int kAngleRows = 50;
constexpr int kSlots = 86;

}  // namespace

void TDataFileReader::Read(const QString& text)
{
    qsizetype position = 0;
    // The next line without its line end (CR LF or LF); false at the end.
    auto nextLine = [&](QString& line, bool& lineEnd) {
        if (position >= text.size())
            return false;
        const qsizetype feed = text.indexOf(QLatin1Char('\n'), position);
        lineEnd = feed >= 0;
        const qsizetype end = lineEnd ? feed : text.size();
        line = text.mid(position, end - position);
        if (lineEnd && line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        position = lineEnd ? feed + 1 : text.size();
        return true;
    };

    QString line;
    bool lineEnd = true;
    // The head takes its lines whether they carry the headers or not.
    if (nextLine(line, lineEnd) && line.contains(QLatin1String("Location")) && nextLine(line, lineEnd))
        location_ = DecodeLineBreaks(line);
    if (nextLine(line, lineEnd) && line.contains(QLatin1String("Description")) && nextLine(line, lineEnd))
        description_ = DecodeLineBreaks(line);
    while (nextLine(line, lineEnd))
        ParseDataLine(line, lineEnd);
}

void TDataFileReader::ParseDataLine(const QString& line, bool lineEnd)
{
    if (line.contains(QLatin1String("State:")))
        section_ = TSection::State;
    if (line.contains(QLatin1String("Statistic:")))
        section_ = TSection::Statistic;
    if (line.contains(QLatin1String("Cycle Times:"))) {
        rowIndex_ = 0;
        section_ = TSection::CycleTimes;
    }

    switch (section_) {
    case TSection::None:
        return;
    case TSection::State:
        ParseStateLine(line, Pieces(line, lineEnd));
        return;
    case TSection::Statistic:
        if (!line.contains(QLatin1Char(';')) || line.contains(QLatin1String("Statistic")) ||
            line.contains(QLatin1String("Number;")))
            return;
        ParseStatisticRow(Pieces(line, lineEnd));
        return;
    case TSection::CycleTimes:
        if (!line.contains(QLatin1Char(';')) || line.contains(QLatin1String("Cycle Times")) ||
            line.contains(QLatin1String("Time Slot;")))
            return;
        ParseSlotLine(Pieces(line, lineEnd));
        return;
    }
}

void TDataFileReader::ParseStateLine(const QString& line, const std::vector<QString>& pieces)
{
    for (const TStateLine& row : StateLines()) {
        if (!line.startsWith(QLatin1String(row.Label)))
            continue;
        switch (row.Kind) {
        case TStateLineKind::Flag:
            if (pieces.size() < 2)
                throw EDataFileRead("flag line without a value");
            writes_.push_back(
                TLampWrite{row.Lamp, pieces[1].contains(QLatin1String("yes")) ? row.LitColor : clSilver});
            return;
        case TStateLineKind::FirmwareRevision: {
            // Saving puts one apostrophe before the revision; it is not part of it.
            QString revision = ValueText(pieces);
            if (revision.startsWith(QLatin1Char('\'')))
                revision.remove(0, 1);
            writes_.push_back(TTextWrite{row.Edit, revision});
            return;
        }
        case TStateLineKind::CurrentAngle:
            writes_.push_back(TTextWrite{nullptr, ValueText(pieces)});
            return;
        case TStateLineKind::Text:
            writes_.push_back(TTextWrite{row.Edit, ValueText(pieces)});
            return;
        }
    }
}

void TDataFileReader::ParseStatisticRow(const std::vector<QString>& pieces)
{
    if (pieces.size() < 1 + kAngleColumns.size())
        throw EDataFileRead("statistic row with fewer than five fields");
    const int row = Truncated(pieces[0]);
    if (row < 0 || row >= kAngleRows)
        throw EDataFileRead("statistic row number out of range");
    rowIndex_ = row;
    for (std::size_t c = 0; c < kAngleColumns.size(); ++c)
        writes_.push_back(TAngleWrite{kAngleColumns[c], int(c), row, AngleNumber(pieces[c + 1])});
}

void TDataFileReader::ParseSlotLine(const std::vector<QString>& pieces)
{
    if (pieces.size() < 2)
        throw EDataFileRead("cycle time line without a count");
    if (rowIndex_ < 0 || rowIndex_ >= kSlots)
        throw EDataFileRead("more cycle time lines than slots");
    writes_.push_back(TSlotWrite{rowIndex_, Truncated(pieces[1])});
    ++rowIndex_;
}

void TDataFileReader::Apply() const
{
    if (location_)
        Form5->SetLocation(*location_);
    if (description_)
        Form5->SetDescription(*description_);

    for (const TWrite& write : writes_) {
        if (const auto* text = std::get_if<TTextWrite>(&write)) {
            if (!text->Edit) {
                Form1->CurrentAngle = text->Text;
                continue;
            }
            TEdit* edit = Form2->*text->Edit;
            edit->SetText(text->Text);
            // The background an upload gives the same function text.
            if (text->Edit == &TForm2::edtFunction)
                edit->SetColor(FunctionColor(text->Text));
        } else if (const auto* lamp = std::get_if<TLampWrite>(&write)) {
            (Form2->*lamp->Lamp)->SetBrushColor(lamp->Color);
        } else if (const auto* angle = std::get_if<TAngleWrite>(&write)) {
            (Form3->*angle->Series)->SetYValue(angle->Row, angle->Value);
            Form3->ListView1->SetSubItem(angle->Row, angle->Column,
                                         QString::fromStdString(FormatFixed(angle->Value, 1, 5)));
        } else if (const auto* slot = std::get_if<TSlotWrite>(&write)) {
            Form3->ListView2->SetSubItem(slot->Row, 0, QString::fromStdString(FormatInt(slot->Count, 6)));
        }
    }

    for (TPointSeries* series : {Form3->StopFrw, Form3->BrakeFrw, Form3->StopBkw, Form3->BrakeBkw})
        series->Repaint();
}
