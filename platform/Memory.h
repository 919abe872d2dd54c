#pragma once

#include <QtGlobal>

// Memory that can still be had without swapping, in bytes; -1 where the system does not tell.
qint64 AvailableMemory();
