// The character sets of the data file.

#include <gtest/gtest.h>

#include "files/DataFileText.h"

TEST(DataFileText, Windows1252BytesRoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = DecodeWindows1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(EncodeWindows1252(text), all);

    // The range where Windows-1252 differs from Latin-1, and Latin-1 itself.
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x8A], QChar(0x0160));
    EXPECT_EQ(text[0x96], QChar(0x2013));
    EXPECT_EQ(text[0x9F], QChar(0x0178));
    EXPECT_EQ(text[0x81], QChar(0x0081)) << "unassigned bytes keep their code";
    EXPECT_EQ(text[0xFC], QChar(0x00FC));
}

TEST(DataFileText, MissingCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(EncodeWindows1252(QStringLiteral("\u2192")), "?");
    EXPECT_EQ(EncodeWindows1252(QStringLiteral("a\U0001F600b")), "a?b") << "one ? for a pair of surrogates";
    EXPECT_EQ(EncodeWindows1252(QString(QChar(0xD800)) + QLatin1Char('x')), "?x") << "a lone surrogate";
    EXPECT_EQ(EncodeWindows1252(QStringLiteral("\u20ac \u0152 \u00ff")), "\x80 \x8C \xFF");
}

TEST(DataFileText, StrictUtf8)
{
    const struct {
        const char* Bytes;
        bool Valid;
    } cases[] = {
        {"plain ASCII", true},
        {"S\xC3\xBC" "d \xE2\x82\xAC \xF0\x9F\x98\x80", true},
        {"\xFC", false},                    // Latin-1 ü
        {"\xC3", false},                    // cut short
        {"\xE2\x82", false},                // cut short
        {"\xC0\xAF", false},                // overlong
        {"\xE0\x80\xAF", false},            // overlong
        {"\xED\xA0\x80", false},            // surrogate
        {"\xF4\x90\x80\x80", false},        // above U+10FFFF
        {"\x80", false},                    // continuation without lead
        {"\xC3\x28", false},                // lead without continuation
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValidUtf8(QByteArray(c.Bytes)), c.Valid) << QByteArray(c.Bytes).toHex().toStdString();
}

TEST(DataFileText, FileTextPicksItsCharacterSet)
{
    EXPECT_EQ(DecodeDataFileText("\xEF\xBB\xBFS\xC3\xBC" "d"), "S\u00fcd") << "UTF-8 with its byte order mark";
    EXPECT_EQ(DecodeDataFileText("S\xC3\xBC" "d"), "S\u00fcd");
    EXPECT_EQ(DecodeDataFileText("S\xFC" "d \x80"), "S\u00fcd \u20ac");
    // One invalid byte anywhere makes the whole file Windows-1252.
    EXPECT_EQ(DecodeDataFileText("\xC3\xBC \xFC"), "\u00c3\u00bc \u00fc");
}
