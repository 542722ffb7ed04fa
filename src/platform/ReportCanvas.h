#pragma once
// What the printed report needs of a printer: one job of pages on which texts
// are placed by their top-left corner, in a font given by its size in points
// and its weight. Positions are dots of a 600-dpi page measured from the
// top-left corner of the printable area; each canvas maps them to its device.

#include <QString>
#include <stdexcept>

// An error reported by the printer; the job it happens in cannot go on.
class EPrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TReportCanvas {
public:
    static constexpr int DotsPerInch = 600;

    virtual ~TReportCanvas() = default;

    // Starts the job on its first page. Throws EPrintError.
    virtual void BeginDoc() = 0;
    // Ends the current page and starts the next; font size and style carry
    // over. Throws EPrintError.
    virtual void NewPage() = 0;
    // Ends the last page and hands the job over. Throws EPrintError.
    virtual void EndDoc() = 0;
    // Gives up a started job so that as little of it as the printer allows
    // comes out. Does nothing when no job was started.
    virtual void Abort() noexcept = 0;

    virtual void SetFontSize(int points) = 0;
    virtual void SetBold(bool bold) = 0;
    // Draws the text with its top-left corner at (x, y) in the current font.
    // Throws EPrintError.
    virtual void TextOut(int x, int y, const QString& text) = 0;
};
