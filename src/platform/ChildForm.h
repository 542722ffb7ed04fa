#pragma once
// A child window of the main window's MDI area that keeps a recorded client
// size. Closing it records the size and only hides it; BringBack shows it
// again as a child at the recorded size, in front.

#include <QIcon>
#include <QMdiSubWindow>
#include <QWidget>

class QMdiArea;
class TChildForm;

// The frame around a child form; its close box hides instead of destroying.
class TChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit TChildFrame(TChildForm& form);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TChildForm& form_;
};

class TChildForm : public QWidget {
    Q_OBJECT
public:
    // The form is placed in the area with the given outer size and caption.
    TChildForm(QMdiArea* area, const QString& caption, int outerWidth, int outerHeight);

    // Called by each form once its controls exist: shows the window with its
    // icon and records its client size.
    void FinishCreation(const QIcon& icon);

    TChildFrame* Frame() const { return frame_; }
    QMdiArea* Area() const { return area_; }

    int ClientWidth() const { return width(); }
    int ClientHeight() const { return height(); }
    void SetClientSize(int width, int height);
    int RecordedClientWidth() const { return recordedWidth_; }
    int RecordedClientHeight() const { return recordedHeight_; }
    void RecordClientSize();

    // Left and top of the frame in the area's client coordinates.
    void SetPosition(int left, int top);
    bool IsShown() const;
    void BringToFront();

    // The close protocol: record the client size and hide; nothing is freed.
    virtual void FormClose();
    // The window command: child again, recorded client size, shown in front.
    void BringBack();

private:
    QMdiArea* area_;
    TChildFrame* frame_;
    int recordedWidth_ = 0;
    int recordedHeight_ = 0;
};
