#pragma once

// Whether the kernel hands out random bytes. The random library is seeded from the same sources and ends
// the process without a word when none works, so they are asked first. One file per system.
bool KernelGivesRandomBytes();
