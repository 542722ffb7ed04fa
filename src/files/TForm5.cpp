#include "files/TForm5.h"
#include "platform/Fonts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm5* Form5 = nullptr;

namespace {

QLabel* BoldLabel(const QString& text, QWidget* parent, int left, int top, int width, int height)
{
    auto* label = new QLabel(text, parent);
    label->setFont(FormFont(16, true));
    label->setGeometry(left, top, width, height);
    return label;
}

}  // namespace

TForm5::TForm5(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Project Information"));
    setFixedSize(461, 272);

    Label1 = BoldLabel(QStringLiteral("Location"), this, 32, 16, 90, 20);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(QStringLiteral("-.-"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    lastLocation_ = Edit1->text();
    Edit1->setGeometry(32, 40, 401, 21);
    // Typing stops at 70 characters; a loaded location may be longer and stays whole.
    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int grown = int(text.size() - lastLocation_.size());
        if (text.size() > 70 && grown > 0) {
            // Keep as much of what was typed or pasted as still fits.
            const int end = Edit1->cursorPosition();
            const int fits = std::max(0, 70 - int(lastLocation_.size()));
            const QString kept = text.left(end - grown + fits) + text.mid(end);
            Edit1->setText(kept);
            Edit1->setCursorPosition(end - grown + fits);
            lastLocation_ = kept;
            return;
        }
        lastLocation_ = text;
    });
    Edit1->setAccessibleName(QStringLiteral("Location"));
    Label1->setBuddy(Edit1);

    Label2 = BoldLabel(QStringLiteral("Description"), this, 32, 96, 110, 20);
    Label2->setObjectName(QStringLiteral("Label2"));
    Memo1 = new TMemo(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(32, 120, 401, 73);
    Memo1->SetMaxLength(300);
    Memo1->SetText(QStringLiteral("-.-"));
    Memo1->setAccessibleName(QStringLiteral("Description"));
    Label2->setBuddy(Memo1);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(192, 224, 75, 25);
    // Neither default nor cancel button: Enter in the memo makes a new line.
    Button1->setAutoDefault(false);
    Button1->setDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);

    setTabOrder(Edit1, Memo1);
    setTabOrder(Memo1, Button1);
}

QString TForm5::Location() const { return Edit1->text(); }

void TForm5::SetLocation(const QString& text)
{
    Edit1->setText(text);
    lastLocation_ = text;
}

QString TForm5::Description() const { return Memo1->Text(); }

void TForm5::SetDescription(const QString& text) { Memo1->SetText(text); }

void TForm5::Button1Click() { close(); }

void TForm5::keyPressEvent(QKeyEvent* event)
{
    // Escape does not close the dialog; only OK and the close box do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm5::showEvent(QShowEvent* event)
{
    move(190, 157);
    QDialog::showEvent(event);
}
