#include "files/DataFileText.h"

#include <array>
#include <cstdint>

namespace {

// Bytes 0x80 ... 0x9F; the other bytes of Windows-1252 equal their Latin-1 code.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

char ByteOf(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c)
            return char(0x80 + i);
    return '?';
}

}  // namespace

QByteArray EncodeWindows1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            // One character outside the basic plane: never in the set, one "?".
            out += '?';
            ++i;
        } else if (c.isSurrogate()) {
            out += '?';
        } else {
            out += ByteOf(c.unicode());
        }
    }
    return out;
}

QString DecodeWindows1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = std::uint8_t(b);
        out += (u >= 0x80 && u < 0xA0) ? QChar(kHighControls[u - 0x80]) : QChar(u);
    }
    return out;
}

bool IsValidUtf8(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const std::uint8_t lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int more;
        char32_t code, least;
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
            code = lead & 0x1F;
            least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            code = lead & 0x0F;
            least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            code = lead & 0x07;
            least = 0x10000;
        } else {
            return false;  // a continuation byte without lead, C0, C1, F5 and up
        }
        if (n - i <= more)
            return false;
        for (int k = 1; k <= more; ++k) {
            const std::uint8_t next = p[i + k];
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += more + 1;
    }
    return true;
}

QString DecodeDataFileText(const QByteArray& bytes)
{
    if (!IsValidUtf8(bytes))
        return DecodeWindows1252(bytes);
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}
