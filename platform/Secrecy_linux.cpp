#include "platform/EndSignals_unix.h"
#include "platform/Secrecy.h"

#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <vector>

namespace {
// The C library's documented tunables: every freed block filled with 0x5A, and no per-thread cache
// of freed blocks, which would keep small ones unfilled. Read only when a program starts.
constexpr char wipingTunables[] = "glibc.malloc.tcache_count=0:glibc.malloc.perturb=90";
// The name of the memory file a restart hands to the new image, whatever becomes of the environment.
constexpr char restartMark[] = "zadrin-started-anew";

bool AllocatorWipes() {
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    return tunables && std::strstr(tunables, wipingTunables);
}

// Whether this image is the program started anew by RestartWiping; closes the mark it was handed.
bool StartedAnew() {
    DIR* folder = opendir("/proc/self/fd");
    if (!folder)
        return false;
    const std::string mark = std::string("/memfd:") + restartMark;
    std::vector<int> marks;
    while (const dirent* entry = readdir(folder)) {
        char target[128];
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        const ssize_t length = readlink(link.c_str(), target, sizeof target);
        if (length > 0 && std::string_view(target, size_t(length)).starts_with(mark))
            marks.push_back(std::atoi(entry->d_name));
    }
    closedir(folder);
    for (const int descriptor : marks)
        close(descriptor);
    return !marks.empty();
}

// Programs this one starts (the link's browser) get the environment as it was given to it.
void ForgetWipingTunables() {
    const std::string tunables = std::getenv("GLIBC_TUNABLES");
    const std::string own = std::string(":") + wipingTunables;
    if (tunables == wipingTunables)
        unsetenv("GLIBC_TUNABLES");
    else if (tunables.ends_with(own))
        setenv("GLIBC_TUNABLES", tunables.substr(0, tunables.size() - own.size()).c_str(), 1);
}

// Starts this program anew, with the same arguments and the wiping tunables; returns only if it cannot.
void RestartWiping(char** Arguments) {
    char programName[] = "zadrin";
    char* noArguments[] = {programName, nullptr};
    if (!Arguments || !Arguments[0])
        Arguments = noArguments;
    const int mark = memfd_create(restartMark, 0); // left open across the start
    if (mark < 0)
        return;
    const char* given = std::getenv("GLIBC_TUNABLES");
    const bool hadTunables = given != nullptr;
    const std::string old = given ? given : "";
    setenv("GLIBC_TUNABLES", old.empty() ? wipingTunables : (old + ':' + wipingTunables).c_str(), 1);
    // A request to end waits for the new image, which ends at once when it gets it (instead of being
    // killed without a word in between).
    const sigset_t ending = EndSignals();
    sigset_t mask;
    sigprocmask(SIG_BLOCK, &ending, &mask);
    execv("/proc/self/exe", Arguments);
    sigprocmask(SIG_SETMASK, &mask, nullptr); // could not start anew: go on as started
    close(mark);
    if (hadTunables)
        setenv("GLIBC_TUNABLES", old.c_str(), 1);
    else
        unsetenv("GLIBC_TUNABLES");
}
} // namespace

void ProtectProcessMemory(char** Arguments) {
    static bool done = false;
    if (done)
        return;
    done = true;
    // Started anew once at the most: where the environment loses the tunables on the way (a sandbox, or the
    // C library for a program with raised privileges), the program goes on without wiping.
    const bool startedAnew = StartedAnew();
    if (!startedAnew && !AllocatorWipes())
        RestartWiping(Arguments);
    if (startedAnew && AllocatorWipes())
        ForgetWipingTunables(); // only what the restart added
    // Not dumpable: no core file, and only root may attach to the process or read its memory. (A new
    // program image is dumpable again, so this comes after the restart.)
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

void KeepOutOfSwap(const void* Data, qsizetype Bytes) {
    mlock(Data, size_t(Bytes));
}
