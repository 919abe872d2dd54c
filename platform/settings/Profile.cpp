#include "platform/settings/Profile.h"

#include <QList>

namespace Profile {
namespace {

struct Line {
    qsizetype begin;        // first byte of the line
    qsizetype end;          // one past its last byte, line break included
    QByteArrayView content; // without the line break
};

// CR LF, LF and CR alone each end a line.
QList<Line> SplitLines(QByteArrayView text) {
    QList<Line> lines;
    qsizetype begin = 0;
    while (begin < text.size()) {
        qsizetype stop = begin;
        while (stop < text.size() && text[stop] != '\n' && text[stop] != '\r')
            ++stop;
        qsizetype end = stop;
        if (end < text.size())
            end += text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
        lines.append({begin, end, text.sliced(begin, stop - begin)});
        begin = end;
    }
    return lines;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView Trimmed(QByteArrayView s) {
    while (!s.isEmpty() && IsBlank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && IsBlank(s.back()))
        s.chop(1);
    return s;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool SameName(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

// The name of a "[Name]" line; nothing for other lines.
std::optional<QByteArrayView> SectionName(QByteArrayView content) {
    const QByteArrayView line = Trimmed(content);
    if (!line.startsWith('['))
        return std::nullopt;
    const qsizetype close = line.indexOf(']');
    return Trimmed(line.sliced(1, (close < 0 ? line.size() : close) - 1));
}

struct KeyLine {
    QByteArrayView name;
    QByteArrayView value;
};

std::optional<KeyLine> ParseKey(QByteArrayView content) {
    const QByteArrayView line = Trimmed(content);
    const qsizetype equals = line.indexOf('=');
    if (line.startsWith(';') || equals < 0)
        return std::nullopt;
    return KeyLine{Trimmed(line.first(equals)), Trimmed(line.sliced(equals + 1))};
}

bool IsQuoted(QByteArrayView v) {
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

QByteArrayView ValueOf(const Line& keyLine) {
    const QByteArrayView value = ParseKey(keyLine.content)->value;
    return IsQuoted(value) ? value.sliced(1, value.size() - 2) : value;
}

// The lines of the first section of that name: [first, last) indices into lines, header included.
struct Block {
    qsizetype header = -1;
    qsizetype end = -1;
};

Block FindSection(const QList<Line>& lines, QByteArrayView section) {
    Block block;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i].content);
        if (!name)
            continue;
        if (block.header >= 0) {
            block.end = i;
            return block;
        }
        if (SameName(*name, section))
            block.header = i;
    }
    block.end = lines.size();
    return block;
}

qsizetype FindKey(const QList<Line>& lines, const Block& block, QByteArrayView key) {
    for (qsizetype i = block.header + 1; i < block.end; ++i)
        if (const auto parsed = ParseKey(lines[i].content); parsed && SameName(parsed->name, key))
            return i;
    return -1;
}

QByteArray Storable(QByteArrayView value) {
    QByteArray v = value.toByteArray();
    v.replace('\r', ' ').replace('\n', ' ');
    const bool needsQuotes = !v.isEmpty() && (IsBlank(v.front()) || IsBlank(v.back()) || IsQuoted(v));
    return needsQuotes ? '"' + v + '"' : v;
}

QByteArray KeyLineText(QByteArrayView name, QByteArrayView value) {
    return name.toByteArray() + '=' + Storable(value) + "\r\n";
}

} // namespace

std::optional<QByteArray> Read(QByteArrayView text, QByteArrayView section, QByteArrayView key) {
    const QList<Line> lines = SplitLines(text);
    const Block block = FindSection(lines, section);
    if (block.header < 0)
        return std::nullopt;
    const qsizetype index = FindKey(lines, block, key);
    if (index < 0)
        return std::nullopt;
    return ValueOf(lines[index]).toByteArray();
}

QByteArray Write(QByteArrayView text, QByteArrayView section, QByteArrayView key, QByteArrayView value) {
    const QList<Line> lines = SplitLines(text);
    const Block block = FindSection(lines, section);
    QByteArray result = text.toByteArray();
    // Text after which something is appended must end its last line first.
    const auto endLine = [&result](qsizetype at) {
        if (at == 0 || result[at - 1] == '\n' || result[at - 1] == '\r')
            return at;
        result.insert(at, "\r\n");
        return at + 2;
    };

    if (block.header < 0) {
        const qsizetype at = endLine(result.size());
        result.insert(at, '[' + section.toByteArray() + "]\r\n" + KeyLineText(key, value));
        return result;
    }
    if (const qsizetype index = FindKey(lines, block, key); index >= 0) {
        const Line& line = lines[index];
        if (ValueOf(line) == value)
            return result; // already so: the line stays as it was written, line end included
        result.replace(line.begin, line.end - line.begin, KeyLineText(ParseKey(line.content)->name, value));
        return result;
    }
    qsizetype last = block.header;
    for (qsizetype i = block.header + 1; i < block.end; ++i)
        if (!Trimmed(lines[i].content).isEmpty())
            last = i;
    const qsizetype at = endLine(lines[last].end);
    result.insert(at, KeyLineText(key, value));
    return result;
}

} // namespace Profile
