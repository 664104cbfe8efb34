// Creation of the layer's shell link object, for the COM library stand-in (com_library.cpp).
#ifndef ORVO_PLATFORM_POSIX_SHELL_LINK_OBJECT_H
#define ORVO_PLATFORM_POSIX_SHELL_LINK_OBJECT_H

#include "shell_link.h"

// A new, empty shell link object, handed out as the interface iid (IUnknown, IShellLinkA or IPersistFile).
HRESULT CreateShellLinkObject(REFIID iid, void **object);

// The HRESULT that the shell reports for a failed file operation with this errno value.
HRESULT HresultFromErrno(int error);

#endif
