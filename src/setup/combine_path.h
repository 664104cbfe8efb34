// Composition of a path from a directory and a file name.
#ifndef ORVO_SETUP_COMBINE_PATH_H
#define ORVO_SETUP_COMBINE_PATH_H

#include "path_buffer.h"

// Writes directory, one backslash and name into destination; returns 0. A result that would pass
// MAX_PATH - 1 characters is cut there: nothing is written past the buffer, which always ends in a NUL.
int CombinePath(PathBuffer &destination, const char *directory, const char *name);

#endif
