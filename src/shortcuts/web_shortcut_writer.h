// Writing of an Internet shortcut (.url) file that opens a local page.
#ifndef ORVO_SHORTCUTS_WEB_SHORTCUT_WRITER_H
#define ORVO_SHORTCUTS_WEB_SHORTCUT_WRITER_H

#include "../setup/path_buffer.h"

// Writes webPath as an Internet shortcut whose URL is "file://" and pagePath with forward slashes.
// pagePath is rewritten in place once the file is open. Returns 0, or -1 when the file cannot be
// opened or written (a partly written file is removed).
int CreateWebShortCut(const char *webPath, PathBuffer &pagePath);

// Replaces every backslash of path before its NUL (within MAX_PATH bytes) with a forward slash; returns 0.
int ForwardSlashes(PathBuffer &path);

#endif
