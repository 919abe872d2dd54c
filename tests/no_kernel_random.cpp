// Preloaded (LD_PRELOAD) into a program to take the kernel's random sources away: getrandom fails
// and the random devices cannot be opened, as on a system without them.
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

template <typename Open> Open Real(const char* name) {
    return reinterpret_cast<Open>(dlsym(RTLD_NEXT, name));
}

mode_t ModeOf(int flags, va_list arguments) {
    return flags & (O_CREAT | O_TMPFILE) ? mode_t(va_arg(arguments, int)) : 0;
}
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
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    if (IsRandomDevice(path))
        return errno = ENOENT, -1;
    return Real<int (*)(const char*, int, ...)>("open")(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    if (IsRandomDevice(path))
        return errno = ENOENT, -1;
    return Real<int (*)(const char*, int, ...)>("open64")(path, flags, mode);
}

int openat(int directory, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    if (IsRandomDevice(path))
        return errno = ENOENT, -1;
    return Real<int (*)(int, const char*, int, ...)>("openat")(directory, path, flags, mode);
}
}
