// Stands in for Win32's code page conversions. This layer's ANSI code page is the host's UTF-8.
#ifndef ORVO_PLATFORM_POSIX_CODE_PAGE_H
#define ORVO_PLATFORM_POSIX_CODE_PAGE_H

#include "windows_types.h"

constexpr UINT CP_ACP = 0;

// Converts ANSI (UTF-8) text to UTF-16 units. With sourceLength -1 the terminator is converted too.
// Returns the number of units written, or needed when destinationLength is 0; 0 when they do not fit.
// Bytes that are no valid UTF-8 become U+FFFD, as Windows does without MB_ERR_INVALID_CHARS.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength, LPWSTR destination,
                        int destinationLength);

// Converts UTF-16 units to ANSI (UTF-8) bytes, the same way round; unpaired surrogates become U+FFFD.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength, LPSTR destination,
                        int destinationLength, LPCSTR defaultChar, BOOL *usedDefaultChar);

#endif
