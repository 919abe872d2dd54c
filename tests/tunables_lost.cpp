// Preloaded (LD_PRELOAD) into a program to lose the C library's tunables at every start, as a sandbox or
// a program with raised privileges does; each start is counted as a line in the file $ZADRIN_STARTS.
#include <cstdio>
#include <cstdlib>

__attribute__((constructor)) static void LoseTunables() {
    unsetenv("GLIBC_TUNABLES");
    if (const char* starts = std::getenv("ZADRIN_STARTS"))
        if (FILE* file = std::fopen(starts, "a")) {
            std::fputs("start\n", file);
            std::fclose(file);
        }
}
