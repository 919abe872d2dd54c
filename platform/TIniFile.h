#pragma once

#include <QString>

// A settings file in the profile format, read and written one value at a time, in code page 1252.
// It keeps no file open: each read looks at the file as it is, each write replaces it whole and only
// once complete, so that a crash or a full disk never leaves it cut short.
class TIniFile {
public:
    // A Windows-style path such as ".\Zadrin.ini" names the same file on every platform.
    explicit TIniFile(const QString& FileName);

    // The stored value, or Default when the key is missing or the file cannot be read.
    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;

    // Sets the one value and leaves every other line of the file as it was. Throws Exception, naming
    // the file, when it cannot be written; the file then stays as it was.
    void WriteString(const QString& Section, const QString& Ident, const QString& Value);

private:
    QString fileName_;
};
