// The program's one kind of path: a NUL-terminated ANSI path of at most MAX_PATH - 1 characters.
#ifndef ORVO_SETUP_PATH_BUFFER_H
#define ORVO_SETUP_PATH_BUFFER_H

#include "../platform/platform.h"

typedef char PathBuffer[MAX_PATH];

#endif
