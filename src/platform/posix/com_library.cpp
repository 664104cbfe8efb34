// Stands in for the COM library (ole32): per-thread initialisation, and the one class it knows,
// CLSID_ShellLink (shell_link_object.cpp).
#include "com_library.h"

#include "shell_link_object.h"

namespace {

thread_local int tInitialisations = 0; // successful CoInitialize calls not yet undone on this thread

} // namespace

HRESULT CoInitialize(void *)
{
    return tInitialisations++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize()
{
    if (tInitialisations > 0) {
        --tInitialisations;
    }
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown *outer, DWORD context, REFIID iid, void **object)
{
    if (object == NULL) {
        return E_POINTER;
    }
    *object = NULL;
    if (tInitialisations == 0) {
        return CO_E_NOTINITIALIZED;
    }
    if (!IsEqualGUID(clsid, CLSID_ShellLink) || (context & CLSCTX_INPROC_SERVER) == 0) {
        return REGDB_E_CLASSNOTREG;
    }
    if (outer != NULL) {
        return CLASS_E_NOAGGREGATION;
    }
    return CreateShellLinkObject(iid, object);
}
