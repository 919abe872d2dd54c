#include "platform/settings/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <io.h>

// Windows: no owners or modes kept here, and a file's several names are not looked after.
ExistingFile LookAt(const QString&) {
    return {};
}

bool TakeOver(int, const ExistingFile&) {
    return true;
}

int Overwrite(int Handle, const QByteArray& Bytes) {
    if (_lseeki64(Handle, 0, SEEK_SET) != 0)
        return errno;
    for (qsizetype done = 0; done < Bytes.size();) {
        const unsigned chunk = unsigned(std::min<qsizetype>(Bytes.size() - done, 1 << 30));
        const int written = _write(Handle, Bytes.constData() + done, chunk);
        if (written < 0)
            return errno;
        done += written;
    }
    if (_chsize_s(Handle, Bytes.size()) != 0 || _commit(Handle) != 0)
        return errno;
    return 0;
}

bool QuotaExceeded(int) {
    return false; // Windows' quotas fill the disk as a full one does: ENOSPC
}
