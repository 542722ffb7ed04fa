#include "platform/Edit.h"

#include "platform/QtColor.h"

TEdit::TEdit(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
}

void TEdit::SetText(const QString& text)
{
    setText(text);
    // Show the start of a long text, as a freshly written box does.
    setCursorPosition(0);
}

void TEdit::SetColor(TColor color)
{
    color_ = color;
    if (color.IsSystem()) {
        // Back to the theme's own background.
        setPalette(QPalette());
        return;
    }
    QPalette p = palette();
    p.setColor(QPalette::Base, ToQColor(color, this));
    // Dark text on the coloured backgrounds in any theme.
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
}
