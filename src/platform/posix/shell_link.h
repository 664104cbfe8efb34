// Stands in for the shell's link interfaces (IShellLinkA, IPersistFile) and their class and interface IDs.
// The object behind them is shell_link_object.cpp.
#ifndef ORVO_PLATFORM_POSIX_SHELL_LINK_H
#define ORVO_PLATFORM_POSIX_SHELL_LINK_H

#include "com_library.h"

extern const CLSID CLSID_ShellLink;
extern const IID IID_IShellLinkA;
extern const IID IID_IPersistFile;

struct IShellLinkA : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetPath(LPCSTR path) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDescription(LPCSTR description) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetIconLocation(LPCSTR iconPath, int iconIndex) = 0;

protected:
    ~IShellLinkA() = default;
};

struct IPersistFile : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Save(LPCOLESTR fileName, BOOL remember) = 0;

protected:
    ~IPersistFile() = default;
};

#endif
