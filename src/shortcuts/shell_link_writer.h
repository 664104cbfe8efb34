// Creation of a shell link file through the shell's link object.
#ifndef ORVO_SHORTCUTS_SHELL_LINK_WRITER_H
#define ORVO_SHORTCUTS_SHELL_LINK_WRITER_H

#include "../platform/platform.h"

// Saves a link to targetPath at linkPath with a description and the icon iconPath (index 0).
// COM must be initialised on the calling thread. Returns the HRESULT of the call that failed, or Save's.
HRESULT CreateShortCut(const char *targetPath, const char *linkPath, const char *description, const char *iconPath);

#endif
