// Stands in for opening and deleting files by their Windows paths, through Wine's drive mapping.
#ifndef ORVO_PLATFORM_POSIX_FILE_SYSTEM_H
#define ORVO_PLATFORM_POSIX_FILE_SYSTEM_H

#include <stdio.h>

#include "windows_types.h"

// fopen for a Windows path ("c:\windows\desktop\x.url"); NULL with errno set when it cannot be opened.
FILE *OpenWindowsFile(const char *windowsPath, const char *mode);

// Win32's DeleteFileA: nonzero when the file was removed.
BOOL DeleteFileA(LPCSTR windowsPath);

#endif
