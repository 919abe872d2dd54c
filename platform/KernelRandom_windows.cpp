#include "platform/KernelRandom.h"

// Windows' own generator, which the library uses there, is always at hand.
bool KernelGivesRandomBytes() {
    return true;
}
