#pragma once

#include <cstddef>
#include <functional>

// The keystream is made in blocks of this many bytes (with its key and place, a page); the first
// RandomKeyBytes of each block are the key of the next, the rest are drawn from, a byte or four a draw.
inline constexpr std::size_t RandomKeyBytes = 32;
inline constexpr std::size_t RandomBlockBytes = 4096 - RandomKeyBytes - sizeof(std::size_t);

// Starts the cryptographic random source, a ChaCha20 keystream keyed once by the kernel; later calls do
// nothing. Throws Exception if the source cannot start, also when the kernel gives no random bytes.
void Randomize();

// Uniform in [0, n), without bias, independent of every other draw. One byte of the keystream a draw for
// n <= 256 (bytes that would bias it are rejected), four above (DrawMapping). n < 1 is a programming error:
// the process ends with a message.
int RandInt(int n);

// For tests: the source starts afresh from Key (RandomKeyBytes) instead of the kernel's random bytes.
void RandomizeFrom(const unsigned char* Key);

// For tests: while one exists, RandInt(n) returns Draw(n) instead of a random draw.
class ScopedRandIntSource {
public:
    explicit ScopedRandIntSource(std::function<int(int n)> Draw);
    ~ScopedRandIntSource();
    ScopedRandIntSource(const ScopedRandIntSource&) = delete;
    ScopedRandIntSource& operator=(const ScopedRandIntSource&) = delete;
};
