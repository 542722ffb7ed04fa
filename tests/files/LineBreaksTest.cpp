// The codec that puts the description on one file line: same length, CR LF
// to blank-tab and back.

#include <gtest/gtest.h>

#include "files/LineBreaks.h"

struct TLineBreakCase {
    const char* Text;
    const char* Encoded;
};

TEST(LineBreaks, EncodeAndDecode)
{
    const TLineBreakCase cases[] = {
        {"", ""},
        {"one line", "one line"},
        {"a\r\nb", "a \tb"},
        {"a\r\nb\r\nc", "a \tb \tc"},
        {"ends\r\n", "ends \t"},
        {"\r\n\r\nx", " \t \tx"},
        {"\r\nstarts", " \tstarts"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeLineBreaks(QString::fromUtf8(c.Text)), QString::fromUtf8(c.Encoded)) << c.Text;
        EXPECT_EQ(DecodeLineBreaks(QString::fromUtf8(c.Encoded)), QString::fromUtf8(c.Text)) << c.Encoded;
    }
}

TEST(LineBreaks, StrayCharactersFollowTheSameRule)
{
    // A lone LF also turns the character before it into a blank.
    EXPECT_EQ(EncodeLineBreaks(QStringLiteral("ab\ncd")), "a \tcd");
    // A tab in a text reads back as a line break in place of the character before it.
    EXPECT_EQ(DecodeLineBreaks(QStringLiteral("col1\tcol2")), "col\r\ncol2");
    // At the very first position there is nothing before: the break or tab converts alone.
    EXPECT_EQ(EncodeLineBreaks(QStringLiteral("\nx")), "\tx");
    EXPECT_EQ(DecodeLineBreaks(QStringLiteral("\tx")), "\nx");
    // Long texts convert whole.
    const QString longText = QString(500, QLatin1Char('x')) + QStringLiteral("\r\n") + QString(500, QLatin1Char('y'));
    const QString encoded = EncodeLineBreaks(longText);
    EXPECT_EQ(encoded.size(), longText.size());
    EXPECT_EQ(encoded.mid(500, 2), " \t");
    EXPECT_EQ(DecodeLineBreaks(encoded), longText);
}
