#include "platform/CharacterLine.h"

#include <QSet>
#include <QTextLayout>
#include <QTextLine>
#include <bitset>
#include <cmath>

void LayOutOneLine(QTextLayout& Layout) {
    QTextOption option;
    option.setFlags(QTextOption::IncludeTrailingSpaces); // a space is as wide within a line as at its end
    option.setTextDirection(Qt::LeftToRight);
    Layout.setTextOption(option);
    Layout.beginLayout();
    Layout.createLine();
    Layout.endLayout();
}

CharacterLine::CharacterLine(const QFont& Font)
    : Font(Font) {
    Latin1.fill(-1);
}

namespace {
// Character laid out alone, as the toolkit lays it out within a line: the same engine, the same units.
struct Alone {
    explicit Alone(QChar Character, const QFont& Font)
        : Layout(QString(Character), Font) {
        LayOutOneLine(Layout);
    }
    int Advance() const { return int(std::lround(Layout.lineAt(0).cursorToX(1) * 64)); }
    // A line's width takes in what its last glyph reaches beyond its advance.
    int Overhang() const { return int(std::lround(Layout.lineAt(0).naturalTextWidth() * 64)) - Advance(); }
    QTextLayout Layout;
};
} // namespace

int CharacterLine::Measure(QChar Character) {
    const char16_t code = Character.unicode();
    if (code >= Latin1.size())
        if (const auto found = Others.constFind(code); found != Others.cend())
            return *found;
    const int advance = Alone(Character, Font).Advance();
    if (code < Latin1.size())
        Latin1[code] = advance;
    else
        Others.insert(code, advance);
    return advance;
}

qint64 CharacterLine::Width(QStringView Text) {
    return Text.isEmpty() ? 0 : X(Text, Text.size()) + Alone(Text.back(), Font).Overhang();
}

qint64 CharacterLine::X(QStringView Text, qsizetype Position) {
    qint64 x = 0;
    for (const QChar character : Text.first(Position))
        x += Advance(character);
    return x;
}

CharacterLine::Span CharacterLine::Between(QStringView Text, qint64 Left, qint64 Right) {
    Span span{Text.size(), Text.size(), 0};
    qint64 x = 0;
    for (qsizetype position = 0; position < Text.size(); ++position) {
        const qint64 end = x + Advance(Text[position]);
        if (end > Left && span.First == Text.size())
            span = {position, Text.size(), x};
        if (end > Right) {
            span.End = position + 1;
            break;
        }
        x = end;
    }
    return span;
}

QString CharacterLine::Distinct(QStringView Text) {
    QString distinct;
    std::bitset<256> seenLatin1;
    QSet<char16_t> seenOthers;
    for (const QChar character : Text) {
        const char16_t code = character.unicode();
        const bool seen = code < 256 ? seenLatin1.test(code) : seenOthers.contains(code);
        if (seen)
            continue;
        code < 256 ? void(seenLatin1.set(code)) : void(seenOthers.insert(code));
        distinct.append(character);
    }
    return distinct;
}
