// Stands in for Wine's drive mapping (dosdevices); see drive_mapping.h.
#include "drive_mapping.h"

#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The prefix folder: $WINEPREFIX, else $HOME/.wine.
int GetPrefixFolder(char *prefix, size_t size)
{
    const char *winePrefix = getenv("WINEPREFIX");
    int written;
    if (winePrefix != NULL && winePrefix[0] != '\0') {
        written = snprintf(prefix, size, "%s", winePrefix);
    } else {
        const char *home = getenv("HOME");
        if (home == NULL || home[0] == '\0') {
            return -1;
        }
        written = snprintf(prefix, size, "%s/.wine", home);
    }
    return written > 0 && static_cast<size_t>(written) < size ? 0 : -1;
}

char ToLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char ToUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Resolves the drive of one letter, given the open dosdevices folder (or -1 when there is none).
int ResolveDrive(int dosdevices, const char *prefix, char letter, char *folder, size_t folderSize)
{
    const char entry[3] = {letter, ':', '\0'};
    char path[PATH_MAX];
    char resolved[PATH_MAX];
    struct stat info;
    int written;

    if (dosdevices >= 0 && fstatat(dosdevices, entry, &info, AT_SYMLINK_NOFOLLOW) == 0) {
        written = snprintf(path, sizeof path, "%s/dosdevices/%s", prefix, entry);
    } else if (letter == 'c') {
        written = snprintf(path, sizeof path, "%s/drive_c", prefix);
    } else if (letter == 'z') {
        written = snprintf(path, sizeof path, "/");
    } else {
        return -1;
    }
    if (written <= 0 || static_cast<size_t>(written) >= sizeof path || realpath(path, resolved) == NULL) {
        return -1;
    }
    if (strlen(resolved) >= folderSize) {
        return -1;
    }
    strcpy(folder, resolved);
    return 0;
}

int OpenDosdevices(const char *prefix)
{
    char path[PATH_MAX];
    int written = snprintf(path, sizeof path, "%s/dosdevices", prefix);
    if (written <= 0 || static_cast<size_t>(written) >= sizeof path) {
        return -1;
    }
    return open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// Length of folder when it is a whole-component prefix of path, else 0.
size_t PrefixLength(const char *folder, const char *path)
{
    size_t length = strlen(folder);
    if (length == 1 && folder[0] == '/') {
        return 1;
    }
    if (strncmp(folder, path, length) != 0 || (path[length] != '/' && path[length] != '\0')) {
        return 0;
    }
    return length;
}

} // namespace

int GetDriveFolder(char letter, char *folder, size_t folderSize)
{
    char prefix[PATH_MAX];
    letter = ToLower(letter);
    if (letter < 'a' || letter > 'z' || GetPrefixFolder(prefix, sizeof prefix) != 0) {
        return -1;
    }
    int dosdevices = OpenDosdevices(prefix);
    int result = ResolveDrive(dosdevices, prefix, letter, folder, folderSize);
    if (dosdevices >= 0) {
        close(dosdevices);
    }
    return result;
}

int WindowsPathToHost(const char *windowsPath, char *hostPath, size_t hostPathSize)
{
    char folder[PATH_MAX];
    if (windowsPath[0] == '\0' || windowsPath[1] != ':' || (windowsPath[2] != '\\' && windowsPath[2] != '\0')) {
        return -1;
    }
    if (GetDriveFolder(windowsPath[0], folder, sizeof folder) != 0) {
        return -1;
    }
    // The drive's folder, then the rest with '/' for '\'; a root folder "/" adds no slash of its own.
    size_t at = strcmp(folder, "/") == 0 ? 0 : strlen(folder);
    if (at >= hostPathSize) {
        return -1;
    }
    memcpy(hostPath, folder, at);
    const char *rest = windowsPath + 2;
    if (*rest == '\0') {
        rest = "\\";
    }
    for (; *rest != '\0'; ++rest) {
        if (at + 1 >= hostPathSize) {
            return -1;
        }
        hostPath[at++] = *rest == '\\' ? '/' : *rest;
    }
    hostPath[at] = '\0';
    return 0;
}

int HostPathToWindows(const char *hostPath, char *windowsPath, size_t windowsPathSize)
{
    char prefix[PATH_MAX];
    char folder[PATH_MAX];
    char bestLetter = '\0';
    size_t bestLength = 0;

    if (hostPath[0] != '/' || GetPrefixFolder(prefix, sizeof prefix) != 0) {
        return -1;
    }
    int dosdevices = OpenDosdevices(prefix);
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        if (ResolveDrive(dosdevices, prefix, letter, folder, sizeof folder) != 0) {
            continue;
        }
        size_t length = PrefixLength(folder, hostPath);
        if (length > bestLength) {
            bestLength = length;
            bestLetter = letter;
        }
    }
    if (dosdevices >= 0) {
        close(dosdevices);
    }
    if (bestLetter == '\0') {
        return -1;
    }

    // "X:" then the rest of the path with '\' for '/'; a drive's own folder reads "X:\".
    const char *rest = hostPath + bestLength;
    if (bestLength == 1) {
        rest = hostPath; // the root folder's "/" is the separator after "X:"
    }
    if (*rest == '\0') {
        rest = "/";
    }
    size_t at = 0;
    if (windowsPathSize < 3) {
        return -1;
    }
    windowsPath[at++] = ToUpper(bestLetter);
    windowsPath[at++] = ':';
    for (; *rest != '\0'; ++rest) {
        if (at + 1 >= windowsPathSize) {
            return -1;
        }
        windowsPath[at++] = *rest == '/' ? '\\' : *rest;
    }
    windowsPath[at] = '\0';
    return 0;
}
