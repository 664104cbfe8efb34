// Stands in for opening and deleting files by their Windows paths; see file_system.h.
#include "file_system.h"

#include <errno.h>
#include <limits.h>
#include <unistd.h>

#include "drive_mapping.h"

FILE *OpenWindowsFile(const char *windowsPath, const char *mode)
{
    char hostPath[PATH_MAX];
    if (WindowsPathToHost(windowsPath, hostPath, sizeof hostPath) != 0) {
        errno = ENOENT;
        return NULL;
    }
    return fopen(hostPath, mode);
}

BOOL DeleteFileA(LPCSTR windowsPath)
{
    char hostPath[PATH_MAX];
    return WindowsPathToHost(windowsPath, hostPath, sizeof hostPath) == 0 && unlink(hostPath) == 0;
}
