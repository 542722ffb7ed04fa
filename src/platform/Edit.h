#pragma once
// A read-only edit box whose background colour can carry a value.

#include <QLineEdit>

#include "common/Colors.h"

class TEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdit(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    void SetText(const QString& text);

    TColor Color() const { return color_; }
    void SetColor(TColor color);

private:
    TColor color_ = clWindow;
};
