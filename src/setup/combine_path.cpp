// Composition of a path from a directory and a file name.
#include "combine_path.h"

#include "trace.h"

int CombinePath(PathBuffer &destination, const char *directory, const char *name)
{
    Trace(" Combine:%s %s \n", directory, name);
    const size_t last = MAX_PATH - 1; // the place kept for the terminator
    size_t at = 0;
    for (const char *c = directory; *c != '\0' && at < last; ++c) {
        destination[at++] = *c;
    }
    // The backslash is added even when the directory ends in one (the root of a drive).
    if (at < last) {
        destination[at++] = '\\';
    }
    for (const char *c = name; *c != '\0' && at < last; ++c) {
        destination[at++] = *c;
    }
    destination[at] = '\0';
    Trace(" TOTAL:%s \n", destination);
    return 0;
}
