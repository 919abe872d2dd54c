#include "platform/TIniFile.h"

#include "platform/Exception.h"
#include "platform/settings/FileReplace.h"
#include "platform/settings/Profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// A settings file is a few hundred bytes; anything this large is not one and is left alone.
constexpr qint64 largestFile = 16 * 1024 * 1024;

enum class Contents { Missing, Read, Unreadable };

Contents Load(const QString& fileName, QByteArray& bytes) {
    QFile file(fileName);
    const QFileInfo info(fileName);
    if (!info.exists()) // a link to a file not there yet is missing too
        return Contents::Missing;
    if (!info.isFile() || file.size() > largestFile || !file.open(QIODevice::ReadOnly))
        return Contents::Unreadable;
    bytes = file.read(largestFile + 1);
    return bytes.size() > largestFile || file.error() != QFileDevice::NoError ? Contents::Unreadable
                                                                              : Contents::Read;
}

[[noreturn]] void CannotSave(const QString& fileName, const QString& reason, bool unchanged = true) {
    const QString state = unchanged ? QStringLiteral("Die Datei ist unverändert geblieben.")
                                    : QStringLiteral("Die Datei kann jetzt unvollständig sein.");
    throw Exception(
        QStringLiteral("Die Einstellungen konnten nicht in „%1“ gespeichert werden.\n%2 (%3)")
            .arg(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()), state, reason));
}
} // namespace

TIniFile::TIniFile(const QString& FileName)
    : fileName_(FileName) {
    fileName_.replace(u'\\', u'/'); // Qt takes "/" on every platform
}

QString TIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const {
    QByteArray bytes;
    if (Load(fileName_, bytes) != Contents::Read)
        return Default;
    const auto text = FileText::Decode(bytes);
    if (!text)
        return Default;
    const auto value = Profile::Read(text->Lines, text->Bytes(Section), text->Bytes(Ident));
    return value ? text->Value(*value) : Default;
}

void TIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value) {
    if (!pending_) {
        if (Load(fileName_, original_) == Contents::Unreadable)
            CannotSave(fileName_, QStringLiteral("Die vorhandene Datei lässt sich nicht lesen."));
        pending_ = FileText::Decode(original_);
        if (!pending_)
            CannotSave(fileName_, QStringLiteral("Die vorhandene Datei ist kein gültiger UTF-16-Text."));
    }
    FileText& text = *pending_;
    text.Lines = Profile::Write(text.Lines, text.Bytes(Section), text.Bytes(Ident), text.Bytes(Value));
}

void TIniFile::UpdateFile() {
    if (!pending_)
        return;
    const QByteArray bytes = pending_->Encode();
    if (bytes == original_)
        return; // nothing changed: the file is left alone
    if (const Replacement result = ReplaceFileContent(fileName_, bytes); !result.Failure.isEmpty())
        CannotSave(fileName_, result.Failure, result.Unchanged);
    original_ = bytes;
}
