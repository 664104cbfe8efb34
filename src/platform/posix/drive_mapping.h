// Stands in for Wine's mapping of Windows drives to host folders: drive x: is the folder that
// $WINEPREFIX/dosdevices/x: points at; without that entry c: is $WINEPREFIX/drive_c and z: is /.
// WINEPREFIX defaults to $HOME/.wine. Only this layer reads those two variables.
#ifndef ORVO_PLATFORM_POSIX_DRIVE_MAPPING_H
#define ORVO_PLATFORM_POSIX_DRIVE_MAPPING_H

#include <stddef.h>

// Host folder of a drive letter (either case), resolved; 0 on success, -1 when the drive does not exist
// or the folder does not fit in folderSize bytes.
int GetDriveFolder(char letter, char *folder, size_t folderSize);

// Host path of an absolute Windows path "X:\a\b" (or "X:"); components are used as written.
// 0 on success, -1 when it is not such a path, its drive does not exist, or the result does not fit.
int WindowsPathToHost(const char *windowsPath, char *hostPath, size_t hostPathSize);

// Windows form of an absolute host path: the drive whose folder is the longest prefix of it, an
// upper-case letter, backslashes, and "X:\" at a drive's own folder. 0 on success, -1 otherwise.
int HostPathToWindows(const char *hostPath, char *windowsPath, size_t windowsPathSize);

#endif
