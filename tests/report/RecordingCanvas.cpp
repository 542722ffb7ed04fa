#include "RecordingCanvas.h"

#include <gtest/gtest.h>

void TRecordingCanvas::BeginDoc()
{
    page_ = 1;
    Calls.push_back({TCanvasCall::Begin, page_, 0, 0, {}, size_, bold_});
}

void TRecordingCanvas::NewPage()
{
    if (FailAtNewPage && ++newPages_ == FailAtNewPage)
        throw EPrintError("The printer ran out of paper.");
    ++page_;
    Calls.push_back({TCanvasCall::NewPage, page_, 0, 0, {}, size_, bold_});
}

void TRecordingCanvas::EndDoc() { Calls.push_back({TCanvasCall::End, page_, 0, 0, {}, size_, bold_}); }

void TRecordingCanvas::Abort() noexcept { Calls.push_back({TCanvasCall::Abort, page_, 0, 0, {}, size_, bold_}); }

void TRecordingCanvas::TextOut(int x, int y, const QString& text)
{
    if (FailAtText && ++texts_ == FailAtText)
        throw EPrintError("The printer ran out of paper.");
    Calls.push_back({TCanvasCall::Draw, page_, x, y, text, size_, bold_});
    if (OnText)
        OnText(Calls.back());
}

std::vector<TCanvasCall> TRecordingCanvas::Texts(int page) const
{
    std::vector<TCanvasCall> texts;
    for (const TCanvasCall& call : Calls)
        if (call.Kind == TCanvasCall::Draw && call.Page == page)
            texts.push_back(call);
    return texts;
}

TCanvasCall TRecordingCanvas::Find(int page, const QString& text) const
{
    for (const TCanvasCall& call : Texts(page))
        if (call.Text == text)
            return call;
    ADD_FAILURE() << "no text \"" << text.toStdString() << "\" on page " << page;
    return {};
}

QString TRecordingCanvas::At(int page, int x, int y) const
{
    for (const TCanvasCall& call : Texts(page))
        if (call.X == x && call.Y == y)
            return call.Text;
    return {};
}

std::vector<TCanvasCall::TKind> TRecordingCanvas::Kinds() const
{
    std::vector<TCanvasCall::TKind> kinds;
    for (const TCanvasCall& call : Calls)
        if (call.Kind != TCanvasCall::Draw)
            kinds.push_back(call.Kind);
    return kinds;
}
