#pragma once

#include <QtGlobal>

// What the process has of its protections.
struct Protections {
    // No core dump; other processes of the same user can neither attach to it nor read its memory.
    bool Unreadable = false;
    // Every block of memory overwritten when it is freed.
    bool FreedMemoryWiped = false;
};

// Protects the process before anything else runs, in the one order that works: call it first thing in main,
// with main's arguments, before any secret exists. On Linux the process starts itself anew once, with the C
// library's allocator told to wipe, and made unreadable after that (a new image is readable again); a
// request to end (SIGTERM, SIGHUP, SIGINT) waits for the new image, which ends at once, by that signal,
// until OnEndOfSession takes over; a signal that came ignored (nohup) stays ignored. On Windows, DLLs are
// taken from the system folder alone from then on, the access lists of the process and of each of its
// threads (those started later too) are closed to others and crash reports leave out the heap. Where a
// protection cannot be had, the program goes on without it.
Protections StartProtected(char** Arguments);

// What the process has now: all false before StartProtected (on Windows the wiping is part of the build).
Protections ProtectionsHad();

// Keeps the pages of Bytes bytes at Data out of swap, as far as the system's limit on locked memory allows;
// whatever the last call kept is given back first, so that only the newest secret is held.
void KeepOutOfSwap(const void* Data, qsizetype Bytes);
