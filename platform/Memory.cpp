#include "platform/Memory.h"

#include <QFile>

qint64 AvailableMemory() {
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly))
        return -1;
    // Files under /proc report no size: read them whole, not up to their size.
    for (const QByteArray& line : meminfo.readAll().split('\n')) {
        if (!line.startsWith("MemAvailable:")) // "MemAvailable:   23456789 kB"
            continue;
        bool ok = false;
        const qint64 kibibytes = line.mid(13).trimmed().split(' ').value(0).toLongLong(&ok);
        return ok ? kibibytes * 1024 : -1;
    }
    return -1;
}
