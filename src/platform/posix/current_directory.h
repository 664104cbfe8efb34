// Stands in for Win32's GetCurrentDirectoryA, reporting the host's directory as Wine would show it.
#ifndef ORVO_PLATFORM_POSIX_CURRENT_DIRECTORY_H
#define ORVO_PLATFORM_POSIX_CURRENT_DIRECTORY_H

#include "windows_types.h"

// Fills buffer with the current directory and returns its length; when buffer holds fewer than the
// directory's length plus its terminator, returns that size and leaves buffer as it was; 0 on failure.
DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer);

#endif
