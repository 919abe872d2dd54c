#include "platform/Memory.h"

#include <algorithm>
#include <windows.h>

#define PSAPI_VERSION 2 // the counters from kernel32, no other DLL
#include <psapi.h>

qint64 AvailableMemory() {
    // Free physical memory, or less where the process's own address space leaves less.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return -1;
    return qint64(std::min(status.ullAvailPhys, status.ullAvailVirtual));
}

qint64 PeakMemory() {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return qint64(counters.PeakWorkingSetSize);
}
