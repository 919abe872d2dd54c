#include "platform/Secrecy.h"

#include <windows.h>

void ProtectProcessMemory(char**) {}

void KeepOutOfSwap(const void* Data, qsizetype Bytes) {
    VirtualLock(const_cast<void*>(Data), SIZE_T(Bytes));
}
