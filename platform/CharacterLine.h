#pragma once

#include <QFont>
#include <QHash>
#include <QStringView>
#include <array>

// One line of text laid out as the toolkit lays out a font that prefers no shaping, for characters that
// stand on their own (no surrogates, marks or right-to-left text; a key has none): each character at
// its own advance, left to right. So where any character of a long line lies is known without laying
// out the line. Lengths are in the toolkit's fixed-point unit, 1/64 pixel, so that sums are exact.
class CharacterLine {
public:
    explicit CharacterLine(const QFont& Font);

    // The advance of Character: what the toolkit's layout gives it.
    int Advance(QChar Character);
    // From the start of the line to the start of the character at Position (0 … size of Text).
    qint64 X(QStringView Text, qsizetype Position);
    // The line's width as the toolkit gives it: to the end of the last advance, or of the last glyph
    // where that reaches further.
    qint64 Width(QStringView Text);
    // The first position whose character ends right of X (size of Text: none does).
    qsizetype PositionAfter(QStringView Text, qint64 X);

    // Each character of Text once, in the order of first appearance: what a line's height and
    // ascent depend on.
    static QString Distinct(QStringView Text);

private:
    QFont Font;
    std::array<int, 256> Latin1; // -1: not measured yet
    QHash<char16_t, int> Others;
};
