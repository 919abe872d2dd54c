#include "platform/Memory.h"

#include <algorithm>
#include <windows.h>

qint64 AvailableMemory() {
    // Free physical memory, or less where the process's own address space leaves less.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return -1;
    return qint64(std::min(status.ullAvailPhys, status.ullAvailVirtual));
}
