#pragma once

#include <QtGlobal>

// Keeps secrets made in this process out of reach of other processes and of freed memory: no core
// dump, no attaching or reading by other processes of the same user, and every block of memory
// overwritten when it is freed. Call first thing in main, with main's arguments, before any secret
// exists: on Linux the process starts itself anew once, with the C library's allocator told to wipe; on
// Windows, DLLs are taken from the system folder alone from then on.
// Where a protection cannot be had, the program goes on without it.
void ProtectProcessMemory(char** Arguments);

// Keeps the pages of Bytes bytes at Data out of swap, as far as the system's limit on locked memory
// allows; beyond it, nothing happens.
void KeepOutOfSwap(const void* Data, qsizetype Bytes);
