#include "platform/EndSignals_linux.h"
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

// Whether this image is the program started anew by RestartWiping; closes the mark it was handed. Where it
// cannot be told (no /proc), the answer is yes: a restart that cannot know whether it already happened
// could repeat itself without end.
bool StartedAnew() {
    DIR* folder = opendir("/proc/self/fd");
    if (!folder)
        return true;
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
    const char* given = std::getenv("GLIBC_TUNABLES");
    const std::string tunables = given ? given : "";
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
    execv("/proc/self/exe", Arguments);
    close(mark); // could not start anew: go on as started
    if (hadTunables)
        setenv("GLIBC_TUNABLES", old.c_str(), 1);
    else
        unsetenv("GLIBC_TUNABLES");
}

// The restart runs /proc/self/exe, and the kernel names the process after that file ("exe"): the new image
// takes the program's own name back, which ps, top and pkill show and look for.
void TakeOwnNameBack() {
    char image[4096];
    const ssize_t length = readlink("/proc/self/exe", image, sizeof image - 1);
    if (length <= 0)
        return;
    image[length] = '\0';
    const char* slash = std::strrchr(image, '/');
    prctl(PR_SET_NAME, slash ? slash + 1 : image, 0, 0, 0);
}

Protections had;

// Wipes freed memory from now on, as far as it can be had: starts the process anew once for it.
bool WipeFreedMemory(char** Arguments) {
    // Started anew once at the most: where the environment loses the tunables on the way (a sandbox, or the
    // C library for a program with raised privileges), the program goes on without wiping.
    const bool startedAnew = StartedAnew();
    if (!startedAnew && !AllocatorWipes())
        RestartWiping(Arguments);
    if (startedAnew)
        TakeOwnNameBack();
    if (!AllocatorWipes())
        return false;
    if (startedAnew)
        ForgetWipingTunables(); // only what the restart added
    return true;
}
} // namespace

Protections StartProtected(char** Arguments) {
    static bool done = false;
    if (done)
        return had;
    done = true;
    // A request to end waits for the new image, which ends at once when it gets it, instead of the process
    // being killed without a word in between. Nothing is caught before the restart: a signal that came
    // ignored stays ignored across it, a caught one would not.
    const sigset_t ending = EndSignals();
    sigprocmask(SIG_BLOCK, &ending, nullptr);
    had.FreedMemoryWiped = WipeFreedMemory(Arguments);
    // No core file, and only root may attach to the process or read its memory. A new image is dumpable
    // again, so this comes after the restart.
    had.Unreadable = prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0;
    EndAtOnceWhenAskedTo();
    return had;
}

Protections ProtectionsHad() {
    return had;
}

void KeepOutOfSwap(const void* Data, qsizetype Bytes) {
    // Only the newest is held: locking every key would use up the system's limit, and later keys would
    // silently stay unlocked.
    static const void* kept = nullptr;
    static size_t keptBytes = 0;
    if (kept)
        munlock(kept, keptBytes);
    kept = mlock(Data, size_t(Bytes)) == 0 ? Data : nullptr;
    keptBytes = size_t(Bytes);
}
