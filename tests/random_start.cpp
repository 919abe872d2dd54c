// Starts the random source and says how that went; a test runs it with the kernel's random sources
// taken away, where it must end with the program's message instead of being aborted.
#include "platform/Exception.h"
#include "platform/Random.h"

#include <cstdio>

int main() {
    try {
        Randomize();
        std::puts("started");
        return 0;
    } catch (const Exception& e) {
        std::puts(e.what());
        return 3;
    }
}
