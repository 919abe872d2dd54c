#pragma once

#include <QtGlobal>

// Memory this process can still have without swapping, in bytes: what the system has free, or less
// where the process's own limits (address space, data size) leave less. -1 where nothing is known.
qint64 AvailableMemory();

// The most memory this process has held at once so far, in bytes (its peak resident set).
qint64 PeakMemory();
