#include "platform/Random.h"

#include "platform/Exception.h"
#include "platform/KernelRandom.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sodium.h>

namespace {
// A ChaCha20 keystream with fast key erasure: each refill makes a block from the current key, takes the
// next key from the block's first bytes and overwrites the old key with it; every byte handed out is
// zeroed as it is taken. So nothing in the process lets an earlier draw be recomputed. It lives in
// libsodium's guarded memory: locked out of swap, left out of core dumps, wiped when freed.
struct Keystream {
    unsigned char key[crypto_stream_chacha20_KEYBYTES];
    std::size_t next; // the first byte of block not handed out yet
    unsigned char block[4096 - crypto_stream_chacha20_KEYBYTES - sizeof(std::size_t)]; // one page in all
};
Keystream* stream = nullptr;
std::function<int(int)> substitute;

void Refill() {
    static const unsigned char nonce[crypto_stream_chacha20_NONCEBYTES] = {}; // every key is used once
    crypto_stream_chacha20(stream->block, sizeof stream->block, nonce, stream->key);
    std::memcpy(stream->key, stream->block, sizeof stream->key);
    sodium_memzero(stream->block, sizeof stream->key);
    stream->next = sizeof stream->key;
}

std::uint32_t TakeByte() {
    if (stream->next == sizeof stream->block) [[unlikely]]
        Refill();
    unsigned char& byte = stream->block[stream->next++];
    const std::uint32_t value = byte;
    byte = 0;
    return value;
}

std::uint32_t TakeWord() {
    std::uint32_t word = 0;
    for (int i = 0; i < 4; ++i)
        word = word << 8 | TakeByte();
    return word;
}

// Which low parts of x * n to reject so that the high part is uniform in [0, n) (Lemire's method):
// 2^bits mod n, kept for the last n asked, as a key asks with the same n for every character.
struct Rejection {
    int n = 0;
    std::uint32_t below = 0;
};

void Wipe() {
    sodium_free(stream);
    stream = nullptr;
}
} // namespace

void Randomize() {
    if (stream)
        return;
    // The library ends the process without a word when the kernel gives nothing: ask first.
    Keystream* made = nullptr;
    if (!KernelGivesRandomBytes() || sodium_init() < 0 ||
        !(made = static_cast<Keystream*>(sodium_malloc(sizeof(Keystream)))))
        throw Exception(QStringLiteral("Der Zufallsgenerator konnte nicht gestartet werden."));
    randombytes_buf(made->key, sizeof made->key); // the kernel's random source
    made->next = sizeof made->block;              // the first draw makes the first block
    stream = made;
    std::atexit(Wipe);
}

int RandInt(int n) {
    if (substitute) [[unlikely]]
        return substitute(n);
    if (!stream) [[unlikely]]
        Randomize();
    if (n <= 256) { // one byte a draw
        static Rejection rejection;
        if (rejection.n != n) [[unlikely]]
            rejection = {n, 256u % std::uint32_t(n)};
        for (;;) {
            const std::uint32_t product = TakeByte() * std::uint32_t(n);
            if ((product & 0xFF) >= rejection.below)
                return int(product >> 8);
        }
    }
    static Rejection rejection;
    if (rejection.n != n) [[unlikely]]
        rejection = {n, std::uint32_t(-std::uint32_t(n)) % std::uint32_t(n)};
    for (;;) {
        const std::uint64_t product = std::uint64_t(TakeWord()) * std::uint32_t(n);
        if (std::uint32_t(product) >= rejection.below)
            return int(product >> 32);
    }
}

ScopedRandIntSource::ScopedRandIntSource(std::function<int(int)> Draw) {
    substitute = std::move(Draw);
}

ScopedRandIntSource::~ScopedRandIntSource() {
    substitute = nullptr;
}
