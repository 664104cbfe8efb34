// Creation of a shell link file through the shell's link object (CLSID_ShellLink), which lays out the file.
#include "shell_link_writer.h"

#include "../setup/trace.h"

HRESULT CreateShortCut(const char *targetPath, const char *linkPath, const char *description, const char *iconPath)
{
    IShellLinkA *shellLink = NULL;
    IPersistFile *persistFile = NULL;
    WCHAR wideLinkPath[MAX_PATH] = {0};

    Trace(" In ShortCut:");
    Trace(" File:%s \n", targetPath);
    Trace(" Link:%s \n", linkPath);
    Trace(" Name:%s \n", description);
    Trace(" Use Icon:%s \n", iconPath);

    HRESULT hr = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void **>(&shellLink));
    if (FAILED(hr)) {
        Trace(" Failed CoCreateInstance:%d \n", static_cast<int>(hr));
        return hr;
    }
    Trace(" Succeeded thru CoCreateInstance:%d \n", static_cast<int>(hr));

    // The setters' results are not examined: Save decides whether the link was made.
    shellLink->SetPath(targetPath);
    shellLink->SetDescription(description);
    shellLink->SetIconLocation(iconPath, 0);

    hr = shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&persistFile));
    if (FAILED(hr)) {
        Trace(" Failed Query Interface:%d \n", static_cast<int>(hr));
        shellLink->Release();
        return hr;
    }
    Trace(" Succeeded thru Query Interface:%d \n", static_cast<int>(hr));

    // Save takes the file name in 16-bit units; the buffer was zeroed, so a name that cannot be
    // converted reaches Save empty and fails there.
    MultiByteToWideChar(CP_ACP, 0, linkPath, -1, wideLinkPath, MAX_PATH);
    hr = persistFile->Save(wideLinkPath, TRUE);
    Trace(" SAVE RETURNS:%x \n", static_cast<unsigned int>(hr));

    persistFile->Release();
    shellLink->Release();
    return hr;
}
