// A fake COM library and shell link object for tests; see fake_com.h.
#include "fake_com.h"

#include <stdio.h>
#include <stdlib.h>

FakeComScript gFakeComScript;

namespace {

std::vector<std::string> gCalls;
int gShellLinkReferences = 0;
int gPersistFileReferences = 0;
bool gEcho = false;
bool gEnvironmentRead = false;

void Record(const std::string &call)
{
    gCalls.push_back(call);
    if (gEcho) {
        fprintf(stderr, "<%s>", call.c_str());
        fflush(stderr);
    }
}

std::string Text(const char *text)
{
    return text != NULL ? text : "(null)";
}

std::string GuidName(REFIID iid)
{
    if (IsEqualGUID(iid, CLSID_ShellLink)) {
        return "CLSID_ShellLink";
    }
    if (IsEqualGUID(iid, IID_IShellLinkA)) {
        return "IID_IShellLinkA";
    }
    if (IsEqualGUID(iid, IID_IPersistFile)) {
        return "IID_IPersistFile";
    }
    return "other";
}

// The fake program's script: "Name=0xHRESULT" pairs separated by commas.
void ReadEnvironmentOnce()
{
    if (gEnvironmentRead) {
        return;
    }
    gEnvironmentRead = true;
    const char *script = getenv("ORVO_FAKE_COM");
    if (script == NULL) {
        return;
    }
    gEcho = true;
    std::string rest = script;
    while (!rest.empty()) {
        std::string item = rest.substr(0, rest.find(','));
        rest = item.size() < rest.size() ? rest.substr(item.size() + 1) : "";
        size_t equals = item.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        std::string name = item.substr(0, equals);
        HRESULT value = static_cast<HRESULT>(strtoul(item.c_str() + equals + 1, NULL, 0));
        HRESULT *slot = name == "CoInitialize"       ? &gFakeComScript.coInitialize
                        : name == "CoCreateInstance" ? &gFakeComScript.coCreateInstance
                        : name == "QueryInterface"   ? &gFakeComScript.queryInterface
                        : name == "Setters"          ? &gFakeComScript.setters
                        : name == "Save"             ? &gFakeComScript.save
                                                     : NULL;
        if (slot != NULL) {
            *slot = value;
        }
    }
}

class FakePersistFile final : public IPersistFile {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        Record("IPersistFile::QueryInterface(" + GuidName(iid) + ")");
        *object = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        Record("IPersistFile::Release");
        return static_cast<ULONG>(--gPersistFileReferences);
    }
    HRESULT STDMETHODCALLTYPE Save(LPCOLESTR fileName, BOOL remember) override
    {
        char name[4 * MAX_PATH] = {0};
        WideCharToMultiByte(CP_ACP, 0, fileName, -1, name, sizeof name, NULL, NULL);
        Record("IPersistFile::Save(" + std::string(name) + ", " + (remember ? "TRUE" : "FALSE") + ")");
        return gFakeComScript.save;
    }
};

FakePersistFile gPersistFile;

class FakeShellLink final : public IShellLinkA {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        Record("IShellLinkA::QueryInterface(" + GuidName(iid) + ")");
        *object = NULL;
        if (FAILED(gFakeComScript.queryInterface)) {
            return gFakeComScript.queryInterface;
        }
        if (!IsEqualGUID(iid, IID_IPersistFile)) {
            return E_NOINTERFACE;
        }
        ++gPersistFileReferences;
        *object = static_cast<IPersistFile *>(&gPersistFile);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        Record("IShellLinkA::Release");
        return static_cast<ULONG>(--gShellLinkReferences);
    }
    HRESULT STDMETHODCALLTYPE SetPath(LPCSTR path) override
    {
        Record("IShellLinkA::SetPath(" + Text(path) + ")");
        return gFakeComScript.setters;
    }
    HRESULT STDMETHODCALLTYPE SetDescription(LPCSTR description) override
    {
        Record("IShellLinkA::SetDescription(" + Text(description) + ")");
        return gFakeComScript.setters;
    }
    HRESULT STDMETHODCALLTYPE SetIconLocation(LPCSTR iconPath, int iconIndex) override
    {
        Record("IShellLinkA::SetIconLocation(" + Text(iconPath) + ", " + std::to_string(iconIndex) + ")");
        return gFakeComScript.setters;
    }
};

FakeShellLink gShellLink;

} // namespace

void ResetFakeCom()
{
    gFakeComScript = FakeComScript();
    gCalls.clear();
    gShellLinkReferences = 0;
    gPersistFileReferences = 0;
}

const std::vector<std::string> &FakeComCalls()
{
    return gCalls;
}

int FakeComOutstandingReferences()
{
    return gShellLinkReferences + gPersistFileReferences;
}

HRESULT CoInitialize(void *reserved)
{
    ReadEnvironmentOnce();
    Record(reserved == NULL ? "CoInitialize(NULL)" : "CoInitialize(non-NULL)");
    return gFakeComScript.coInitialize;
}

void CoUninitialize()
{
    Record("CoUninitialize");
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown *outer, DWORD context, REFIID iid, void **object)
{
    Record("CoCreateInstance(" + GuidName(clsid) + ", " + (outer == NULL ? "NULL" : "outer") + ", " +
           (context == CLSCTX_INPROC_SERVER ? "CLSCTX_INPROC_SERVER" : std::to_string(context)) + ", " +
           GuidName(iid) + ")");
    *object = NULL;
    if (FAILED(gFakeComScript.coCreateInstance)) {
        return gFakeComScript.coCreateInstance;
    }
    ++gShellLinkReferences;
    *object = static_cast<IShellLinkA *>(&gShellLink);
    return gFakeComScript.coCreateInstance;
}
