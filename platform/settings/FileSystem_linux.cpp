#include "platform/settings/FileSystem.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

ExistingFile LookAt(const QString& Path) {
    struct stat s {};
    if (::stat(QFile::encodeName(Path).constData(), &s) != 0)
        return {};
    return {s.st_nlink > 1, s.st_uid, s.st_gid, s.st_mode & 07777, true};
}

bool TakeOver(int Handle, const ExistingFile& Old) {
    if (!Old.Known)
        return true;
    struct stat s {};
    if (::fstat(Handle, &s) != 0)
        return false;
    // Changing nothing needs no right: a user's own file stays theirs without asking.
    const bool owned =
        (s.st_uid == Old.Owner && s.st_gid == Old.Group) || ::fchown(Handle, Old.Owner, Old.Group) == 0;
    return owned && ::fchmod(Handle, Old.Permissions) == 0;
}

int Overwrite(int Handle, const QByteArray& Bytes) {
    for (qsizetype done = 0; done < Bytes.size();) {
        const ssize_t written =
            ::pwrite(Handle, Bytes.constData() + done, size_t(Bytes.size() - done), off_t(done));
        if (written < 0 && errno != EINTR)
            return errno;
        done += written > 0 ? written : 0;
    }
    if (::ftruncate(Handle, off_t(Bytes.size())) != 0 || ::fsync(Handle) != 0)
        return errno;
    return 0;
}

bool QuotaExceeded(int Error) {
    return Error == EDQUOT;
}
