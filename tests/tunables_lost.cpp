// Preloaded (LD_PRELOAD) into a program to lose the C library's tunables at every start, as a sandbox or
// a program with raised privileges does. Each start of a process is noted as a line in the file
// $ZADRIN_STARTS: the path of its image, since helpers the program starts (dbus-launch) inherit the preload.
// With ZADRIN_NO_FD_LIST set, the process cannot list its open descriptors either, as where /proc is not
// mounted.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <dlfcn.h>
#include <unistd.h>

extern "C" DIR* opendir(const char* name) {
    static const auto real = reinterpret_cast<DIR* (*)(const char*)>(dlsym(RTLD_NEXT, "opendir"));
    if (std::getenv("ZADRIN_NO_FD_LIST") && std::strcmp(name, "/proc/self/fd") == 0) {
        errno = EACCES;
        return nullptr;
    }
    return real(name);
}

__attribute__((constructor)) static void LoseTunables() {
    unsetenv("GLIBC_TUNABLES");
    char image[4096];
    const ssize_t length = readlink("/proc/self/exe", image, sizeof image - 1);
    if (const char* starts = std::getenv("ZADRIN_STARTS"); starts && length > 0)
        if (FILE* file = std::fopen(starts, "a")) {
            image[length] = '\0';
            std::fprintf(file, "%s\n", image);
            std::fclose(file);
        }
}
