#include "platform/TIniFile.h"

#include "platform/CodePage1252.h"
#include "platform/Exception.h"
#include "platform/Profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
// A settings file is a few hundred bytes; anything this large is not one and is left alone.
constexpr qint64 largestFile = 16 * 1024 * 1024;

enum class Contents { Missing, Read, Unreadable };

Contents Load(const QString& fileName, QByteArray& text) {
    QFile file(fileName);
    if (!file.exists())
        return Contents::Missing;
    if (!QFileInfo(fileName).isFile() || file.size() > largestFile || !file.open(QIODevice::ReadOnly))
        return Contents::Unreadable;
    text = file.read(largestFile + 1);
    return text.size() > largestFile || file.error() != QFileDevice::NoError ? Contents::Unreadable
                                                                             : Contents::Read;
}

[[noreturn]] void CannotSave(const QString& fileName, const QString& reason) {
    throw Exception(QStringLiteral("Die Einstellungen konnten nicht in „%1“ gespeichert werden.\n"
                                   "Die Datei ist unverändert geblieben. (%2)")
                        .arg(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()), reason));
}
} // namespace

TIniFile::TIniFile(const QString& FileName)
    : fileName_(FileName) {
    fileName_.replace(u'\\', u'/'); // Qt takes "/" on every platform
}

QString TIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const {
    QByteArray text;
    if (Load(fileName_, text) != Contents::Read)
        return Default;
    const auto value = Profile::Read(text, ToCp1252(Section), ToCp1252(Ident));
    return value ? FromCp1252(*value) : Default;
}

void TIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value) {
    QByteArray old;
    if (Load(fileName_, old) == Contents::Unreadable)
        CannotSave(fileName_, QStringLiteral("Die vorhandene Datei lässt sich nicht lesen."));
    const QByteArray text = Profile::Write(old, ToCp1252(Section), ToCp1252(Ident), ToCp1252(Value));
    if (text == old)
        return;

    QSaveFile file(fileName_);
    if (!file.open(QIODevice::WriteOnly))
        CannotSave(fileName_, file.errorString());
    // A full disk shows only here: an unchecked commit was seen to report success and leave the file empty.
    if (file.write(text) != text.size() || !file.flush())
        CannotSave(fileName_, file.errorString());
    if (!file.commit())
        CannotSave(fileName_, file.errorString());
}
