#include "platform/settings/FileReplace.h"

#include "platform/settings/FileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

namespace {
// The file a path names once symbolic links are followed, whether it exists or not.
QString FollowLinks(const QString& path) {
    QFileInfo info(path);
    for (int hops = 0; info.isSymLink() && hops < 40; ++hops)
        info.setFile(info.symLinkTarget());
    return info.filePath();
}

// Why a write failed, from the system's error number, in German for the common cases.
QString WriteFailure(int error) {
    if (QuotaExceeded(error))
        return QStringLiteral("Der zugeteilte Speicherplatz ist erschöpft.");
    switch (error) {
    case ENOSPC:
        return QStringLiteral("Auf dem Datenträger ist nicht genug Platz.");
    case EFBIG:
        return QStringLiteral("Die Datei wäre größer, als das System erlaubt.");
    default:
        return qt_error_string(error);
    }
}

Replacement WriteInPlace(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return {file.errorString()};
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {file.errorString()};
    const int error = Overwrite(file.handle(), bytes);
    if (error == 0)
        return {};
    return {WriteFailure(error), Overwrite(file.handle(), old) == 0};
}

// Replaces the file itself, links already followed.
Replacement ReplaceFile(const QString& target, const QByteArray& bytes) {
    const bool exists = QFileInfo(target).isFile();
    const ExistingFile old = exists ? LookAt(target) : ExistingFile{};
    if (old.SeveralNames)
        return WriteInPlace(target, bytes); // a new file would part the names

    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return exists && QFileInfo(target).isWritable() ? WriteInPlace(target, bytes)
                                                        : Replacement{file.errorString()};
    if (exists && !TakeOver(file.handle(), old)) {
        file.cancelWriting();
        return WriteInPlace(target, bytes); // the new file could not be the old one's twin
    }
    if (const int error = Overwrite(file.handle(), bytes); error != 0) {
        file.cancelWriting();
        return {WriteFailure(error)};
    }
    if (!file.commit())
        return {file.errorString()};
    return {};
}
} // namespace

Replacement ReplaceFileContent(const QString& Path, const QByteArray& Bytes) {
    const QString target = FollowLinks(Path);
    Replacement result = ReplaceFile(target, Bytes);
    if (!result.Failure.isEmpty() && target != Path)
        result.Failure =
            QStringLiteral("Sie verweist auf „%1“: %2").arg(QDir::toNativeSeparators(target), result.Failure);
    return result;
}
