#pragma once

#include <QFont>
#include <QHash>
#include <QStringView>
#include <array>

class QTextLayout;

// Lays the layout's text out in one line, left to right, as the toolkit's edit lays out its own.
void LayOutOneLine(QTextLayout& Layout);

// One line of text laid out as the toolkit lays out a font that prefers no shaping, for characters that
// stand on their own (no surrogates, marks or right-to-left text; a key has none): each character at
// its own advance, left to right. So where any character of a long line lies is known without laying
// out the line. Lengths are in the toolkit's fixed-point unit, 1/64 pixel, so that sums are exact.
class CharacterLine {
public:
    explicit CharacterLine(const QFont& Font);

    // The advance of Character: what the toolkit's layout gives it.
    int Advance(QChar Character) {
        const char16_t code = Character.unicode();
        return code < Latin1.size() && Latin1[code] >= 0 ? Latin1[code] : Measure(Character);
    }
    // From the start of the line to the start of the character at Position (0 … size of Text).
    qint64 X(QStringView Text, qsizetype Position);
    // The line's width as the toolkit gives it: to the end of the last advance, or of the last glyph
    // where that reaches further.
    qint64 Width(QStringView Text);

    // The characters from the first that ends right of Left to the first that ends right of Right, that
    // one included; and where the first starts.
    struct Span {
        qsizetype First, End;
        qint64 FirstX;
    };
    Span Between(QStringView Text, qint64 Left, qint64 Right);

    // Each character of Text once, in the order of first appearance: what a line's height and
    // ascent depend on.
    static QString Distinct(QStringView Text);

private:
    int Measure(QChar Character);

    QFont Font;
    std::array<int, 256> Latin1; // -1: not measured yet
    QHash<char16_t, int> Others;
};
