// Preloaded (LD_PRELOAD) into a program to take the kernel's random sources away: getrandom and
// getentropy fail and the random devices cannot be opened, as on a system without them.
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/types.h>

namespace {
bool IsRandomDevice(const char* path) {
    return path && (std::strcmp(path, "/dev/urandom") == 0 || std::strcmp(path, "/dev/random") == 0);
}

using Open = int (*)(const char*, int, ...);
} // namespace

extern "C" {
ssize_t getrandom(void*, size_t, unsigned) {
    errno = ENOSYS;
    return -1;
}

int getentropy(void*, size_t) {
    errno = ENOSYS;
    return -1;
}

int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = mode_t(va_arg(arguments, int));
        va_end(arguments);
    }
    if (IsRandomDevice(path))
        return errno = ENOENT, -1;
    return reinterpret_cast<Open>(dlsym(RTLD_NEXT, "open"))(path, flags, mode);
}
}
