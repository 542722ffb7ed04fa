#include "platform/ChildForm.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMdiArea>

TChildFrame::TChildFrame(TChildForm& form) : form_(form)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void TChildFrame::closeEvent(QCloseEvent* event)
{
    event->ignore();
    form_.FormClose();
}

TChildForm::TChildForm(QMdiArea* area, const QString& caption, int outerWidth, int outerHeight)
    : area_(area), frame_(new TChildFrame(*this))
{
    frame_->setWidget(this);
    frame_->setWindowTitle(caption);
    setWindowTitle(caption);
    area_->addSubWindow(frame_);
    frame_->resize(outerWidth, outerHeight);
}

void TChildForm::FinishCreation(const QIcon& icon)
{
    frame_->setWindowIcon(icon);
    // Visible from creation; lay out now so that the client size is known.
    frame_->show();
    if (frame_->layout())
        frame_->layout()->activate();
    RecordClientSize();
}

void TChildForm::SetClientSize(int width, int height)
{
    // The frame adds its border and title bar around the client area.
    const QSize chrome = frame_->size() - size();
    frame_->resize(QSize(width, height) + chrome);
}

void TChildForm::RecordClientSize()
{
    recordedWidth_ = ClientWidth();
    recordedHeight_ = ClientHeight();
}

void TChildForm::SetPosition(int left, int top) { frame_->move(left, top); }

bool TChildForm::IsShown() const { return frame_->isVisible(); }

void TChildForm::BringToFront()
{
    frame_->raise();
    area_->setActiveSubWindow(frame_);
}

void TChildForm::FormClose()
{
    RecordClientSize();
    frame_->hide();
}

void TChildForm::BringBack()
{
    if (frame_->mdiArea() != area_)
        area_->addSubWindow(frame_);
    frame_->show();
    SetClientSize(recordedWidth_, recordedHeight_);
    BringToFront();
}
