// A program of the parent project: it reports, and fails with code 1 on,
// any difference from what linking Orvane promises. The headers' version is
// the library's, the library was loaded by its soname when it is shared, and
// the engine's allocator serves this program's own new and delete.
#include <link.h>

#include <cstdio>
#include <cstring>

#include "orvane.h"

namespace {

int failures = 0;

void check(bool ok, const char* what) {
    if (!ok) {
        std::printf("parent_program: %s\n", what);
        ++failures;
    }
}

int findLibrary(dl_phdr_info* info, size_t, void* found) {
    const char* name = std::strrchr(info->dlpi_name, '/');
    if (name != nullptr && std::strcmp(name + 1, "liborvane.so.1") == 0) {
        *static_cast<bool*>(found) = true;
    }
    return 0;
}

}  // namespace

int main() {
    check(std::strcmp(OrvMain::version(), ORVANE_VERSION_STRING) == 0,
          "the library's version differs from the headers'");

    bool loaded = false;
    dl_iterate_phdr(findLibrary, &loaded);
    check(loaded, "liborvane.so.1 is not loaded");

    const uint64_t allocations = OrvMemoryAllocator::allocationCount();
    // Kept in a volatile pointer, so the compiler cannot drop the pair.
    int* volatile plain = new int(7);
    check(OrvMemoryAllocator::allocationCount() == allocations + 1,
          "the program's new does not reach the engine's operator new");
    delete plain;

    const size_t tracked = OrvMemoryAllocator::trackedBlockCount();
    char* block = ORV_NEW char[16];
    check(OrvMemoryAllocator::trackedBlockCount() == tracked + 1,
          "a tracked block is not in the table");
    ORV_DELETE_ARRAY(block);
    check(OrvMemoryAllocator::trackedBlockCount() == tracked,
          "a tracked block stays in the table after its release");

    std::printf("parent_program: Orvane %s, %d failures\n", OrvMain::version(), failures);
    return failures == 0 ? 0 : 1;
}
