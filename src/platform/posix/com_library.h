// Stands in for the COM library (ole32): IUnknown, CoInitialize, CoUninitialize and CoCreateInstance.
// The implementation is com_library.cpp; the tests link a fake of their own in its place.
#ifndef ORVO_PLATFORM_POSIX_COM_LIBRARY_H
#define ORVO_PLATFORM_POSIX_COM_LIBRARY_H

#include "windows_types.h"

#define STDMETHODCALLTYPE

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;

extern const IID IID_IUnknown;

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    ~IUnknown() = default; // objects go away through Release, never through delete
};

// Initialises COM on the calling thread: S_OK the first time, S_FALSE when it already was.
HRESULT CoInitialize(void *reserved);

// Undoes one successful CoInitialize of the calling thread.
void CoUninitialize();

// Creates an object of a known class and hands out the interface asked for.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown *outer, DWORD context, REFIID iid, void **object);

#endif
