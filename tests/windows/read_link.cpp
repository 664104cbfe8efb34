// Test tool, not part of the product: loads a shell link through the real shell link object
// (IPersistFile::Load) and prints what it holds, one field a line:
//   path=<target>  description=<text>  icon=<icon file>  index=<icon index>
// Usage: read-link.exe <Windows path of the link>. Exit status 0 when the link was loaded.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <stdio.h>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        fprintf(stderr, "usage: read-link.exe <link file>\n");
        return 2;
    }
    if (FAILED(CoInitialize(NULL))) {
        return 3;
    }
    IShellLinkA *link = NULL;
    IPersistFile *file = NULL;
    WCHAR name[MAX_PATH] = {0};
    char path[MAX_PATH] = {0};
    char description[INFOTIPSIZE] = {0};
    char icon[MAX_PATH] = {0};
    int index = -1;
    int status = 4;

    MultiByteToWideChar(CP_ACP, 0, argv[1], -1, name, MAX_PATH);
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void **>(&link));
    if (SUCCEEDED(hr)) {
        hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file));
        if (SUCCEEDED(hr)) {
            hr = file->Load(name, STGM_READ);
            if (SUCCEEDED(hr)) {
                link->GetPath(path, MAX_PATH, NULL, 0);
                link->GetDescription(description, INFOTIPSIZE);
                link->GetIconLocation(icon, MAX_PATH, &index);
                printf("path=%s\ndescription=%s\nicon=%s\nindex=%d\n", path, description, icon, index);
                status = 0;
            } else {
                fprintf(stderr, "Load failed: %lx\n", static_cast<unsigned long>(hr));
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return status;
}
