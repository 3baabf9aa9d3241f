#include "app/drovakapp.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

int main(int argc, char** argv) {
#if defined(__GLIBC__)
    // Pictures are decoded into large buffers that live only until the desktop has its own
    // copy. Kept in the heap and reused, their memory is touched once instead of being mapped
    // anew for each picture, which on start-up costs more than the decoding.
    mallopt(M_MMAP_THRESHOLD, 16 << 20);
    mallopt(M_TRIM_THRESHOLD, 32 << 20);
#endif
    return runDrovak(argc, argv);
}
