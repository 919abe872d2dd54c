#include "platform/Random.h"

#include "platform/Exception.h"
#include "platform/KernelRandom.h"

#include <sodium.h>

namespace {
bool started = false;
std::function<int(int)> substitute;

} // namespace

void Randomize() {
    if (started)
        return;
    // The library's own ChaCha20 generator, seeded from the kernel once: the default asks the kernel on
    // every draw, which is many times slower for long keys.
    randombytes_set_implementation(&randombytes_internal_implementation);
    if (!KernelGivesRandomBytes() || sodium_init() < 0)
        throw Exception(QStringLiteral("Der Zufallsgenerator konnte nicht gestartet werden."));
    started = true;
}

int RandInt(int n) {
    if (substitute) [[unlikely]]
        return substitute(n);
    if (!started) [[unlikely]]
        Randomize();
    return int(randombytes_uniform(uint32_t(n)));
}

ScopedRandIntSource::ScopedRandIntSource(std::function<int(int)> Draw) {
    substitute = std::move(Draw);
}

ScopedRandIntSource::~ScopedRandIntSource() {
    substitute = nullptr;
}
