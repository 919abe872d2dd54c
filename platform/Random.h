#pragma once

#include <functional>

// Starts the cryptographic random source, a ChaCha20 keystream keyed once by the kernel; later calls do
// nothing. Throws Exception if the source cannot start, also when the kernel gives no random bytes.
void Randomize();

// Uniform in [0, n), without bias, independent of every other draw; n >= 1. One byte of the keystream a
// draw for n <= 256 (bytes that would bias it are rejected), four above.
int RandInt(int n);

// For tests: while one exists, RandInt(n) returns Draw(n) instead of a random draw.
class ScopedRandIntSource {
public:
    explicit ScopedRandIntSource(std::function<int(int n)> Draw);
    ~ScopedRandIntSource();
    ScopedRandIntSource(const ScopedRandIntSource&) = delete;
    ScopedRandIntSource& operator=(const ScopedRandIntSource&) = delete;
};
