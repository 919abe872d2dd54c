#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <malloc.h>

// Every free of the program, of the toolkit and of the C++ runtime (linked in statically) comes here
// first (the link's --wrap): the block is overwritten before the C runtime gets it back.
extern "C" {
void __real_free(void* Block);
void* __real_realloc(void* Block, size_t Size);

void __wrap_free(void* Block) {
    if (Block)
        SecureZeroMemory(Block, _msize(Block));
    __real_free(Block);
}

// The C runtime frees the old block inside realloc, out of reach: allocate, copy, wipe and free instead.
void* __wrap_realloc(void* Block, size_t Size) {
    if (!Block)
        return std::malloc(Size);
    if (Size == 0) {
        __wrap_free(Block);
        return nullptr;
    }
    void* moved = std::malloc(Size);
    if (!moved)
        return nullptr;
    const size_t old = _msize(Block);
    std::memcpy(moved, Block, old < Size ? old : Size);
    __wrap_free(Block);
    return moved;
}
}
