// The Project Information dialog: typing limits (a line break counts two),
// CR LF at its interface, and how it closes.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "files/TForm5.h"
#include "support/AppFixture.h"

class ProjectInformation : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Form5->show();
        Form5->activateWindow();
    }
};

TEST_F(ProjectInformation, StartsWithPlaceholdersAtItsPlace)
{
    EXPECT_EQ(Form5->Location(), "-.-");
    EXPECT_EQ(Form5->Description(), "-.-");
    EXPECT_EQ(Form5->size(), QSize(461, 272));
    EXPECT_EQ(Form5->pos(), QPoint(190, 157));
    EXPECT_EQ(Form5->Edit1->geometry(), QRect(32, 40, 401, 21));
    EXPECT_EQ(Form5->Memo1->geometry(), QRect(32, 120, 401, 73));
    EXPECT_EQ(Form5->Button1->text(), "OK");
}

TEST_F(ProjectInformation, TypingStopsAtTheLimits)
{
    Form5->SetLocation(QString());
    QTest::keyClicks(Form5->Edit1, QString(80, QLatin1Char('x')));
    EXPECT_EQ(Form5->Location(), QString(70, QLatin1Char('x')));

    // 2 lines of 149 characters: 149 + 2 + 149 = 300, so nothing more fits.
    Form5->SetDescription(QString());
    Form5->Memo1->setFocus();
    QTest::keyClicks(Form5->Memo1, QString(149, QLatin1Char('a')));
    QTest::keyClick(Form5->Memo1, Qt::Key_Return);
    QTest::keyClicks(Form5->Memo1, QString(149, QLatin1Char('b')));
    EXPECT_EQ(Form5->Memo1->CountedLength(), 300);
    QTest::keyClicks(Form5->Memo1, QStringLiteral("cc"));
    QTest::keyClick(Form5->Memo1, Qt::Key_Return);
    EXPECT_EQ(Form5->Description(), QString(149, QLatin1Char('a')) + "\r\n" + QString(149, QLatin1Char('b')));

    // One character short of the limit: a line break (two) does not fit, a letter does.
    Form5->SetDescription(QString(299, QLatin1Char('d')));
    Form5->Memo1->moveCursor(QTextCursor::End);
    QTest::keyClick(Form5->Memo1, Qt::Key_Return);
    EXPECT_EQ(Form5->Memo1->CountedLength(), 299);
    QTest::keyClicks(Form5->Memo1, QStringLiteral("ef"));
    EXPECT_EQ(Form5->Description(), QString(299, QLatin1Char('d')) + "e");
}

TEST_F(ProjectInformation, TextsSetByTheProgramAreNotCut)
{
    const QString location(120, QLatin1Char('L'));
    const QString description = QString(200, QLatin1Char('x')) + "\r\n" + QString(200, QLatin1Char('y'));
    Form5->SetLocation(location);
    Form5->SetDescription(description);
    EXPECT_EQ(Form5->Location(), location);
    EXPECT_EQ(Form5->Description(), description);
    // Deleting still works on an over-long text.
    Form5->Edit1->setFocus();
    Form5->Edit1->end(false);
    QTest::keyClick(Form5->Edit1, Qt::Key_Backspace);
    EXPECT_EQ(Form5->Location(), QString(119, QLatin1Char('L')));
}

TEST_F(ProjectInformation, DescriptionTravelsWithCrLf)
{
    Form5->SetDescription(QStringLiteral("Hall 3\r\nLine 2\r\n\r\nStation 7"));
    EXPECT_EQ(Form5->Memo1->toPlainText(), "Hall 3\nLine 2\n\nStation 7");
    EXPECT_EQ(Form5->Description(), "Hall 3\r\nLine 2\r\n\r\nStation 7");

    // Whatever break the widget got, it hands out CR LF.
    Form5->SetDescription(QStringLiteral("a\nb\rc"));
    EXPECT_EQ(Form5->Description(), "a\r\nb\r\nc");

    Form5->SetDescription(QString());
    Form5->Memo1->setFocus();
    QTest::keyClicks(Form5->Memo1, QStringLiteral("one"));
    QTest::keyClick(Form5->Memo1, Qt::Key_Return);
    QTest::keyClicks(Form5->Memo1, QStringLiteral("two"));
    EXPECT_EQ(Form5->Description(), "one\r\ntwo");
    EXPECT_TRUE(Form5->isVisible()) << "Enter in the memo must not close the dialog";
}

TEST_F(ProjectInformation, EscapeDoesNotCloseButOkAndTheCloseBoxDo)
{
    QTest::keyClick(Form5, Qt::Key_Escape);
    EXPECT_TRUE(Form5->isVisible());
    Form5->Edit1->setFocus();
    QTest::keyClick(Form5->Edit1, Qt::Key_Return);
    EXPECT_TRUE(Form5->isVisible()) << "OK is not the default button";

    QTest::mouseClick(Form5->Button1, Qt::LeftButton);
    EXPECT_FALSE(Form5->isVisible());

    Form5->show();
    Form5->SetLocation(QStringLiteral("Plant 2"));
    Form5->close();
    EXPECT_FALSE(Form5->isVisible());
    EXPECT_EQ(Form5->Location(), "Plant 2") << "closing keeps the texts";
}
