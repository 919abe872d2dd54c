#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A text file's bytes in the form the profile functions work on, as the Windows profile functions
// read it: code page 1252 unless a byte-order mark says UTF-8 or UTF-16 (either byte order).
struct FileText {
    enum class Encoding { Cp1252, Utf8, Utf16LE, Utf16BE };

    // Nothing for UTF-16 that would not come back byte for byte when written (an odd byte count):
    // such a file is not rewritten.
    static std::optional<FileText> Decode(QByteArrayView Bytes);
    // The file's bytes, mark included.
    QByteArray Encode() const;

    // A value's bytes in Lines as text, and text as bytes for Lines (code page 1252: "?" for what it
    // cannot hold).
    QString Value(QByteArrayView Bytes) const;
    QByteArray Bytes(QStringView Text) const;

    Encoding encoding = Encoding::Cp1252;
    // The lines: the file's own bytes after the mark, in UTF-8 for a UTF-16 file.
    QByteArray Lines;
};
