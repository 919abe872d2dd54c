#include "platform/Memory.h"

#include <QFile>
#include <algorithm>
#include <sys/resource.h>

namespace {
// The number after Field in a /proc file of "Field:   123 kB" lines, in bytes; -1 if missing.
qint64 KibibyteField(const QString& file, const QByteArray& field) {
    QFile proc(file);
    if (!proc.open(QIODevice::ReadOnly))
        return -1;
    // Files under /proc report no size: read them whole, not up to their size.
    for (const QByteArray& line : proc.readAll().split('\n')) {
        if (!line.startsWith(field + ':'))
            continue;
        bool ok = false;
        const qint64 kibibytes = line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong(&ok);
        return ok ? kibibytes * 1024 : -1;
    }
    return -1;
}

// What the process may still add under a limit it already uses Used bytes of; -1 when unlimited.
qint64 LeftUnder(int resource, qint64 used) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || used < 0)
        return -1;
    return std::max<qint64>(0, qint64(limit.rlim_cur) - used);
}
} // namespace

qint64 AvailableMemory() {
    qint64 available = KibibyteField(QStringLiteral("/proc/meminfo"), "MemAvailable");
    const QString status = QStringLiteral("/proc/self/status");
    for (const qint64 left : {LeftUnder(RLIMIT_AS, KibibyteField(status, "VmSize")),
                              LeftUnder(RLIMIT_DATA, KibibyteField(status, "VmData"))})
        if (left >= 0)
            available = available < 0 ? left : std::min(available, left);
    return available;
}

qint64 PeakMemory() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}
