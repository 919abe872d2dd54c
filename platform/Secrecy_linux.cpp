#include "platform/Secrecy.h"

#ifdef Q_OS_LINUX
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <vector>

namespace {
// The C library's documented tunables: every freed block filled with 0x5A, and no per-thread cache
// of freed blocks, which would keep small ones unfilled. Read only when a program starts.
constexpr char wipingTunables[] = "glibc.malloc.tcache_count=0:glibc.malloc.perturb=90";

bool AllocatorWipes() {
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    return tunables && std::strstr(tunables, wipingTunables);
}

// Starts this program anew, with the same arguments and the wiping tunables; returns only if it cannot.
void RestartWiping() {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    const std::string line((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::string> arguments;
    for (std::size_t begin = 0; begin < line.size();) {
        const std::size_t end = line.find('\0', begin);
        arguments.push_back(line.substr(begin, end - begin));
        begin = end == std::string::npos ? line.size() : end + 1;
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const char* old = std::getenv("GLIBC_TUNABLES");
    const std::string tunables = old && *old ? std::string(old) + ':' + wipingTunables : wipingTunables;
    setenv("GLIBC_TUNABLES", tunables.c_str(), 1);
    execv("/proc/self/exe", argv.data());
    unsetenv("GLIBC_TUNABLES"); // could not start anew: go on as started
    if (old)
        setenv("GLIBC_TUNABLES", old, 1);
}
} // namespace

void ProtectProcessMemory() {
    if (!AllocatorWipes())
        RestartWiping();
    // Not dumpable: no core file, and only root may attach to the process or read its memory. (A new
    // program image is dumpable again, so this comes after the restart.)
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

void KeepOutOfSwap(const void* Data, qsizetype Bytes) {
    mlock(Data, size_t(Bytes));
}
#else
void ProtectProcessMemory() {}
void KeepOutOfSwap(const void*, qsizetype) {}
#endif
