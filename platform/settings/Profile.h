#pragma once

#include <QByteArray>
#include <optional>

// The text of a profile (.ini) file as bytes: "[Section]" lines, each followed by "Key=Value" lines.
// Section and key names match ignoring ASCII case; of duplicate sections and duplicate keys the first
// counts. Lines starting with ";" are comments, lines without "=" hold no key. A line ends with CR LF,
// LF or CR.
namespace Profile {

// The value of Key in Section, with spaces and tabs around it and one pair of enclosing quotes
// removed; nothing when the key is missing. "Key=" gives an empty value.
std::optional<QByteArray> Read(QByteArrayView Text, QByteArrayView Section, QByteArrayView Key);

// The text with Key in Section set to Value, every other line as it was, byte for byte. A key that
// already has the value stays as it is; an existing key keeps its spelling; a missing key goes after the last
// non-blank line of its section, a missing section at the end. Written lines end in CR LF. Values that would
// not read back as they are (spaces at the ends, enclosing quotes) are written in quotes; line breaks in them
// become spaces.
QByteArray Write(QByteArrayView Text, QByteArrayView Section, QByteArrayView Key, QByteArrayView Value);

} // namespace Profile
