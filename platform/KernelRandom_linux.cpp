#include "platform/KernelRandom.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

bool KernelGivesRandomBytes() {
    unsigned char byte = 0;
    if (::getrandom(&byte, 1, GRND_NONBLOCK) == 1)
        return true;
    const int device = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (device < 0)
        return false;
    const bool read = ::read(device, &byte, 1) == 1;
    ::close(device);
    return read;
}
