// The program's one door to its platform. On Windows it brings in the real Windows headers; on any other
// host it brings in the project's own stand-in layer (src/platform/posix), which offers the same names.
#ifndef ORVO_PLATFORM_PLATFORM_H
#define ORVO_PLATFORM_PLATFORM_H

#include <stdio.h>

#ifdef _WIN32

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

// Opens a file named by its Windows path; on Windows that is the C runtime's own fopen.
inline FILE *OpenWindowsFile(const char *windowsPath, const char *mode)
{
    return fopen(windowsPath, mode);
}

#else

#include "posix/windows_types.h"
#include "posix/com_library.h"
#include "posix/shell_link.h"
#include "posix/current_directory.h"
#include "posix/code_page.h"
#include "posix/file_system.h"

#endif

#endif
