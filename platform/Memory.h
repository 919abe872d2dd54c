#pragma once

#include <QtGlobal>

// Memory this process can still have without swapping, in bytes: what the system has free, or less
// where the process's own limits (address space, data size) leave less. -1 where nothing is known.
qint64 AvailableMemory();
