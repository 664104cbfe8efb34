// Stands in for Win32's GetCurrentDirectoryA: the host's current directory in its Windows form.
#include "current_directory.h"

#include <limits.h>
#include <unistd.h>

#include "drive_mapping.h"

DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer)
{
    char hostPath[PATH_MAX];
    char windowsPath[PATH_MAX];
    if (getcwd(hostPath, sizeof hostPath) == NULL ||
        HostPathToWindows(hostPath, windowsPath, sizeof windowsPath) != 0) {
        return 0;
    }
    DWORD length = static_cast<DWORD>(strlen(windowsPath));
    if (buffer == NULL || bufferLength <= length) {
        return length + 1; // the size needed, terminator included; the buffer stays as it was
    }
    memcpy(buffer, windowsPath, length + 1);
    return length;
}
