#pragma once
// A report canvas that records every call with the font state it was made
// in, and can fail on demand the way a printer does.

#include <functional>
#include <ostream>
#include <vector>

#include "platform/ReportCanvas.h"

struct TCanvasCall {
    enum TKind { Begin, Draw, NewPage, End, Abort };
    TKind Kind = Draw;
    int Page = 0;  // 1 from BeginDoc on
    int X = 0, Y = 0;
    QString Text;
    int Size = 0;  // 0 until a size is set
    bool Bold = false;
};

class TRecordingCanvas final : public TReportCanvas {
public:
    std::vector<TCanvasCall> Calls;
    // Runs after each text is recorded, e.g. to change a value mid-job.
    std::function<void(const TCanvasCall&)> OnText;
    // The n-th text (counted from 1) or the n-th new page fails; 0: never.
    int FailAtText = 0;
    int FailAtNewPage = 0;

    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() noexcept override;
    void SetFontSize(int points) override { size_ = points; }
    void SetBold(bool bold) override { bold_ = bold; }
    void TextOut(int x, int y, const QString& text) override;

    // The texts drawn on one page, in drawing order.
    std::vector<TCanvasCall> Texts(int page) const;
    // The first text on the page that equals text; fails the test when missing.
    TCanvasCall Find(int page, const QString& text) const;
    // The text drawn at (x, y) on the page; empty when none.
    QString At(int page, int x, int y) const;
    std::vector<TCanvasCall::TKind> Kinds() const;

private:
    int page_ = 0;
    int texts_ = 0, newPages_ = 0;
    int size_ = 0;
    bool bold_ = false;
};

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
