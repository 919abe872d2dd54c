#include "platform/Random.h"

#include "platform/Exception.h"

#include <sodium.h>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>
#endif

namespace {
bool started = false;
std::function<int(int)> substitute;

// Whether the kernel hands out random bytes. The library is seeded from the same two sources and ends
// the process without a word when neither works, so they are asked first.
bool KernelGivesRandomBytes() {
#ifdef Q_OS_LINUX
    unsigned char byte = 0;
    if (::getrandom(&byte, 1, GRND_NONBLOCK) == 1)
        return true;
    const int device = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (device < 0)
        return false;
    const bool read = ::read(device, &byte, 1) == 1;
    ::close(device);
    return read;
#else
    return true;
#endif
}
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
