// Lays out a shell link in the public binary shortcut (.LNK) format, for the layer's shell link object
// (shell_link_object.cpp), which stands in for the shell's own.
#ifndef ORVO_PLATFORM_POSIX_LINK_FILE_FORMAT_H
#define ORVO_PLATFORM_POSIX_LINK_FILE_FORMAT_H

#include <stddef.h>

constexpr size_t kMaxLinkPathLength = 259;         // target and icon location, in ANSI bytes
constexpr size_t kMaxLinkDescriptionLength = 1023; // the shell's INFOTIPSIZE less the terminator
constexpr size_t kLinkFileCapacity = 16384;        // room for the largest link within those limits

// Writes a link to target (an absolute "X:\..." path, or NULL for none) with an optional description
// and icon location (NULL when not set) into out. Returns the file's length, or 0 when a field breaks
// the limits above or out is too small.
size_t FormatLinkFile(const char *target, const char *description, const char *iconLocation, int iconIndex,
                      unsigned char *out, size_t capacity);

#endif
