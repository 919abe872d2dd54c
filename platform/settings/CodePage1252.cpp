#include "platform/settings/CodePage1252.h"

#include <array>

namespace {
// Characters of the bytes 0x80 to 0x9F; all other bytes are the character of the same number.
constexpr std::array<char16_t, 32> high = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char EncodeChar(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (std::size_t i = 0; i < high.size(); ++i)
        if (high[i] == c)
            return char(0x80 + i);
    return '?';
}
} // namespace

QString FromCp1252(QByteArrayView Bytes) {
    QString text(Bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : Bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? high[b - 0x80] : char16_t(b));
    }
    return text;
}

QByteArray ToCp1252(QStringView Text) {
    QByteArray bytes;
    bytes.reserve(Text.size());
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        // A surrogate pair is one character outside the code page, hence one "?".
        if (c.isHighSurrogate() && i + 1 < Text.size() && Text[i + 1].isLowSurrogate())
            ++i;
        bytes.append(c.isSurrogate() ? '?' : EncodeChar(c.unicode()));
    }
    return bytes;
}
