#include "platform/Memo.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(document(), &QTextDocument::contentsChange, this, &TMemo::OnContentsChange);
}

QString TMemo::Text() const
{
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

void TMemo::SetText(const QString& text)
{
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    settingText_ = true;
    setPlainText(plain);
    settingText_ = false;
}

int TMemo::CountedLength() const
{
    const QString plain = toPlainText();
    return int(plain.size() + plain.count(QLatin1Char('\n')));
}

void TMemo::OnContentsChange(int position, int /*removed*/, int added)
{
    if (settingText_ || maxLength_ <= 0 || added <= 0)
        return;
    int excess = CountedLength() - maxLength_;
    if (excess <= 0)
        return;
    // Drop the end of what was just typed or pasted until the text fits.
    const QString plain = toPlainText();
    int end = std::min(position + added, int(plain.size()));
    int start = end;
    while (excess > 0 && start > position) {
        --start;
        excess -= plain[start] == QLatin1Char('\n') ? 2 : 1;
    }
    if (start == end)
        return;
    settingText_ = true;
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    settingText_ = false;
}
