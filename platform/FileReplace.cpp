#include "platform/FileReplace.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
// The file a path names once symbolic links are followed, whether it exists or not.
QString FollowLinks(const QString& path) {
    QFileInfo info(path);
    for (int hops = 0; info.isSymLink() && hops < 40; ++hops)
        info.setFile(info.symLinkTarget());
    return info.filePath();
}

#ifdef Q_OS_UNIX
bool HasSeveralNames(const QString& path) {
    struct stat s {};
    return ::stat(QFile::encodeName(path).constData(), &s) == 0 && s.st_nlink > 1;
}

// The new file takes the old one's owner, group and permissions; what the user may not set stays.
void TakeOwnership(int handle, const QString& from) {
    struct stat s {};
    if (::stat(QFile::encodeName(from).constData(), &s) != 0)
        return;
    [[maybe_unused]] const int owned = ::fchown(handle, s.st_uid, s.st_gid);
    ::fchmod(handle, s.st_mode & 07777);
}
#else
bool HasSeveralNames(const QString&) {
    return false;
}
void TakeOwnership(int, const QString&) {}
#endif

// Why a write failed. The toolkit's own text is lost when the disk fills during a write ("Unknown
// error"), so the system's error number, still set then, speaks for the common cases.
QString WriteFailure(const QFileDevice& file, int error) {
    switch (error) {
    case ENOSPC:
        return QStringLiteral("Auf dem Datenträger ist nicht genug Platz.");
    case EFBIG:
        return QStringLiteral("Die Datei wäre größer, als das System erlaubt.");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("Der zugeteilte Speicherplatz ist erschöpft.");
#endif
    default:
        return file.errorString();
    }
}

QString WriteInPlace(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return file.errorString();
    const QByteArray old = file.readAll();
    const auto put = [&file](const QByteArray& content) {
        return file.seek(0) && file.write(content) == content.size() && file.flush() &&
               file.resize(content.size());
    };
    errno = 0;
    if (put(bytes))
        return {};
    const QString reason = WriteFailure(file, errno);
    put(old);
    return reason;
}

// Replaces the file itself, links already followed.
QString ReplaceFile(const QString& target, const QByteArray& bytes) {
    const QFileInfo existing(target);
    if (existing.isFile() && HasSeveralNames(target))
        return WriteInPlace(target, bytes); // a new file would part the names

    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return existing.isFile() && existing.isWritable() ? WriteInPlace(target, bytes) : file.errorString();
    if (existing.isFile())
        TakeOwnership(file.handle(), target);
    // A full disk shows only here: an unchecked commit was seen to report success and leave the file empty.
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush())
        return WriteFailure(file, errno);
    if (!file.commit())
        return file.errorString();
    return {};
}
} // namespace

QString ReplaceFileContent(const QString& Path, const QByteArray& Bytes) {
    const QString target = FollowLinks(Path);
    const QString reason = ReplaceFile(target, Bytes);
    if (reason.isEmpty() || target == Path)
        return reason;
    return QStringLiteral("Sie verweist auf „%1“: %2").arg(QDir::toNativeSeparators(target), reason);
}
