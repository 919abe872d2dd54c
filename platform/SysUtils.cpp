#include "platform/SysUtils.h"

#include "platform/Exception.h"

#include <algorithm>
#include <limits>

namespace {
// Long pasted texts would make an unreadable message box.
QString Quoted(const QString& Text) {
    constexpr qsizetype shown = 40;
    const QString text = Text.size() > shown ? Text.left(shown) + QChar(0x2026) : Text;
    return QStringLiteral("„%1“").arg(text);
}

bool IsAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool IsSpaceOrTab(QChar c) {
    return c == u' ' || c == u'\t';
}

// Only the blanks a settings file keeps: a text accepted now must be accepted after a restart too.
QStringView TrimmedBlanks(QStringView text) {
    while (!text.isEmpty() && IsSpaceOrTab(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && IsSpaceOrTab(text.back()))
        text.chop(1);
    return text;
}
} // namespace

QString IntToStr(int Value) {
    return QString::number(Value);
}

int StrToInt(const QString& Text) {
    const QStringView text = TrimmedBlanks(Text);
    const bool negative = text.startsWith(u'-');
    const bool signed_ = negative || text.startsWith(u'+');
    const QStringView digits = text.mid(signed_ ? 1 : 0);
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), IsAsciiDigit))
        throw EConvertError(QStringLiteral("%1 ist keine gültige ganze Zahl.").arg(Quoted(Text)));

    constexpr qint64 lowest = -qint64(std::numeric_limits<int>::min());
    qint64 magnitude = 0;
    for (const QChar c : digits) {
        magnitude = magnitude * 10 + (c.unicode() - u'0');
        if (magnitude > lowest || (!negative && magnitude > std::numeric_limits<int>::max()))
            throw EConvertError(QStringLiteral("%1 liegt außerhalb des erlaubten Bereichs von %2 bis %3.")
                                    .arg(Quoted(Text))
                                    .arg(std::numeric_limits<int>::min())
                                    .arg(std::numeric_limits<int>::max()));
    }
    return int(negative ? -magnitude : magnitude);
}
