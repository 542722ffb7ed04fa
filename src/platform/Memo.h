#pragma once
// A multi-line edit that limits what the operator types, a line break
// counting as two characters (CR LF), and hands its text out with CR LF
// between lines whatever the widget uses inside.

#include <QPlainTextEdit>

class TMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TMemo(QWidget* parent = nullptr);

    void SetMaxLength(int maxLength) { maxLength_ = maxLength; }
    int MaxLength() const { return maxLength_; }

    // The text with CR LF between lines.
    QString Text() const;
    // Replaces the whole text; CR LF, lone CR and lone LF all break lines.
    // Not cut to the limit: the limit binds typing only.
    void SetText(const QString& text);

    // Length of Text(): characters plus one more for each line break.
    int CountedLength() const;

private:
    void OnContentsChange(int position, int removed, int added);

    int maxLength_ = 0;  // 0: no limit
    bool settingText_ = false;
};
