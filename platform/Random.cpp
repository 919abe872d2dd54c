#include "platform/Random.h"

#include "platform/DrawMapping.h"
#include "platform/Exception.h"
#include "platform/KernelRandom.h"

#include <QtGlobal>
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
    unsigned char block[RandomBlockBytes];
};
static_assert(sizeof(Keystream) == 4096, "one page in all");
static_assert(RandomKeyBytes == crypto_stream_chacha20_KEYBYTES);

// How much of the stack the cipher may leave its copies of the key in (its vector code copies the key
// there): more than it uses, and wiped after each block.
constexpr std::size_t cipherStack = 16 * 1024;
Keystream* stream = nullptr;
std::function<int(int)> substitute;

void Refill() {
    static const unsigned char nonce[crypto_stream_chacha20_NONCEBYTES] = {}; // every key is used once
    crypto_stream_chacha20(stream->block, sizeof stream->block, nonce, stream->key);
    sodium_stackzero(cipherStack); // the old key there would recompute the block's draws
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

void RandomizeFrom(const unsigned char* Key) {
    Randomize();
    std::memcpy(stream->key, Key, sizeof stream->key);
    stream->next = sizeof stream->block;
}

int RandInt(int n) {
    if (n < 1) [[unlikely]] // nothing to choose from: a caller's mistake
        qFatal("RandInt(%d): a draw needs at least one choice", n);
    if (substitute) [[unlikely]]
        return substitute(n);
    if (!stream) [[unlikely]]
        Randomize();
    // Kept for the last n of each kind, as a key asks with the same n for every character.
    static DrawMapping forBytes, forWords;
    const bool oneByte = DrawMapping::OneByte(n);
    DrawMapping& mapping = oneByte ? forBytes : forWords;
    if (mapping.n != n) [[unlikely]]
        mapping = DrawMapping::For(n);
    for (;;)
        if (const int choice = oneByte ? mapping.FromByte(TakeByte()) : mapping.FromWord(TakeWord());
            choice >= 0)
            return choice;
}

ScopedRandIntSource::ScopedRandIntSource(std::function<int(int)> Draw) {
    substitute = std::move(Draw);
}

ScopedRandIntSource::~ScopedRandIntSource() {
    substitute = nullptr;
}
