#pragma once

#include "platform/settings/FileText.h"

#include <QString>
#include <optional>

// A settings file in the profile format, in code page 1252 unless it starts with a UTF-8 or UTF-16
// byte-order mark. Reads look at the file as it is. Writes gather in the object, and UpdateFile
// replaces the file once with all of them, so that the file holds either all new values or all
// old ones, never a mix.
class TIniFile {
public:
    // A Windows-style path such as ".\Zadrin.ini" names the same file on every platform.
    explicit TIniFile(const QString& FileName);

    // The stored value, or Default when the key is missing or the file cannot be read.
    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;

    // Sets the one value, leaving every other line of the file as it was. Throws Exception, naming the
    // file, when the file is there but cannot be read, as it could then not be written back whole.
    void WriteString(const QString& Section, const QString& Ident, const QString& Value);

    // Writes what WriteString set. Throws Exception, naming the file and the reason, when it cannot;
    // the file then stays as it was.
    void UpdateFile();

private:
    QString fileName_;
    std::optional<FileText> pending_; // the file with the values written so far
    QByteArray original_;
};
