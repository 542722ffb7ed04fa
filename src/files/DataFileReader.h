#pragma once
// One load of a data file. The whole file is read and checked first and kept
// as a list of pending writes; the windows change only in Apply, so a file
// with a read error changes nothing at all.

#include <QString>
#include <optional>
#include <stdexcept>
#include <variant>
#include <vector>

#include "common/Colors.h"

class TEdit;
class TForm2;
class TShape;
class TPointSeries;
class TForm3;

// A line that the reading rules cannot take.
class EDataFileRead : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TDataFileReader {
public:
    // Reads the decoded text of a whole file: the head (location and
    // description), then every further line through ParseDataLine. Throws
    // EDataFileRead at the first line that cannot be taken.
    void Read(const QString& text);

    // One line of the body, without its line end; `lineEnd` tells whether the
    // line had one (the last line of a file may not). Throws EDataFileRead.
    void ParseDataLine(const QString& line, bool lineEnd = true);

    // Writes everything read into the windows, in the order of the file, and
    // repaints the chart's series.
    void Apply() const;

private:
    enum class TSection { None, State, Statistic, CycleTimes };

    struct TTextWrite {
        TEdit* TForm2::*Edit;  // nullptr: the main window's current angle text
        QString Text;
    };
    struct TLampWrite {
        TShape* TForm2::*Lamp;
        TColor Color;
    };
    struct TAngleWrite {
        TPointSeries* TForm3::*Series;
        int Column;  // sub-item of ListView1
        int Row;
        double Value;
    };
    struct TSlotWrite {
        int Row;
        int Count;
    };
    using TWrite = std::variant<TTextWrite, TLampWrite, TAngleWrite, TSlotWrite>;

    void ParseStateLine(const QString& line, const std::vector<QString>& pieces);
    void ParseStatisticRow(const std::vector<QString>& pieces);
    void ParseSlotLine(const std::vector<QString>& pieces);

    // The reader's state starts afresh with every load.
    TSection section_ = TSection::None;
    int rowIndex_ = 0;
    std::optional<QString> location_, description_;
    std::vector<TWrite> writes_;
};
