#include "Cp1252.h"

#include <array>

namespace quillon {

namespace {

// Bytes 0x80..0x9F. Unassigned bytes keep their own value (C1 controls).
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte for a character, or -1.
int byteFor(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (std::size_t i = 0; i < kHighTable.size(); ++i)
        if (kHighTable[i] == c)
            return static_cast<int>(0x80 + i);
    return -1;
}

}  // namespace

QString decodeCp1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = QChar(u >= 0x80 && u <= 0x9F ? kHighTable[u - 0x80] : char16_t(u));
    }
    return text;
}

Cp1252Encoding encodeCp1252(const QString& text)
{
    Cp1252Encoding result;
    // Never more bytes than characters; writing through the pointer spares
    // a capacity check per byte, which was most of the time a save took.
    result.bytes.resize(text.size());
    char* out = result.bytes.data();
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const int b = byteFor(c.unicode());
        if (b >= 0) {
            out[n++] = static_cast<char>(b);
            continue;
        }
        // A surrogate pair is one character and stands for one "?".
        QString bad(c);
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            bad += text[++i];
        out[n++] = '?';
        if (!result.unencodable.contains(bad))
            result.unencodable += bad;
    }
    result.bytes.truncate(n);
    return result;
}

bool isCp1252Encodable(QChar c)
{
    return byteFor(c.unicode()) >= 0;
}

bool isCp1252Encodable(const QString& text)
{
    for (const QChar c : text)
        if (!isCp1252Encodable(c))
            return false;
    return true;
}

}  // namespace quillon
