// The program's entry: puts the recorder's shell link and the player's Internet shortcut on the desktop.
#include <stdio.h>
#include <string.h>

#include "../shortcuts/shell_link_writer.h"
#include "../shortcuts/web_shortcut_writer.h"
#include "combine_path.h"
#include "path_buffer.h"
#include "trace.h"

namespace {

const char kBatchFileName[] = "recorder.bat";        // target of the shell link, in the current directory
const char kPageFileName[] = "QirPlayer.html";       // page that the Internet shortcut opens
const char kIconFileName[] = "vandrel.ico";          // icon of the shell link
const char kDesktopFolder[] = "c:\\windows\\desktop"; // receives both shortcuts
const char kLinkName[] = "Orvo Recorder.pif";        // the shell link's file name and description
const char kWebShortcutName[] = "Orvo Player.url";   // the Internet shortcut's file name

// Waits for a visible character and Enter (blank lines do not count); end of input ends the wait at once.
int WaitForKey()
{
    char key = 0;
    int read = scanf(" %c", &key);
    (void)read;
    return 0;
}

// Nonzero when directory + "\" + name fits in a PathBuffer.
int FitsInPathBuffer(size_t directoryLength, const char *name)
{
    return directoryLength + 1 + strlen(name) <= MAX_PATH - 1;
}

// Nonzero for a path from the root of a drive ("C:\...") or of a share ("\\server\..."). Wine, for one,
// reports a relative "unix" as the current directory of a folder that was removed.
int IsAbsolutePath(const char *path)
{
    char letter = static_cast<char>(path[0] | 0x20);
    return (letter >= 'a' && letter <= 'z' && path[1] == ':' && path[2] == '\\') ||
           (path[0] == '\\' && path[1] == '\\');
}

} // namespace

int main(int, char *[], char *[])
{
    // Each message is on the console, or in the pipe, before a pause waits for a key.
    setvbuf(stdout, NULL, _IONBF, 0);

    PathBuffer currentDirectory = {0};
    PathBuffer exePath = {0};
    PathBuffer htmlPath = {0};
    PathBuffer iconPath = {0};
    PathBuffer path = {0};
    PathBuffer webPath = {0};

    if (gTrace) {
        printf(" Enter any key to proceed:");
        WaitForKey();
        printf(" MAIN \n");
    }

    if (FAILED(CoInitialize(NULL))) {
        Trace(" Error in CoInitialize ");
        return 0;
    }

    // A directory that cannot be read, is not absolute, or is so long that a path composed in it would
    // be cut, would give shortcuts to a wrong place: the run stops before anything is written.
    DWORD length = GetCurrentDirectoryA(MAX_PATH, currentDirectory);
    if (length == 0 || length >= MAX_PATH || !IsAbsolutePath(currentDirectory) ||
        !FitsInPathBuffer(length, kBatchFileName) || !FitsInPathBuffer(length, kPageFileName) ||
        !FitsInPathBuffer(length, kIconFileName)) {
        Trace(" Error in Current Directory ");
        CoUninitialize();
        return 0;
    }
    Trace(" Current Directory:%s \n", currentDirectory);

    CombinePath(exePath, currentDirectory, kBatchFileName);
    Trace(" RETURNS EXEPATH:%s \n", exePath);
    CombinePath(htmlPath, currentDirectory, kPageFileName);
    Trace(" RETURNS HTMLPATH:%s \n", htmlPath);
    CombinePath(iconPath, currentDirectory, kIconFileName);
    Trace(" RETURNS ICONPATH:%s \n", iconPath);
    CombinePath(path, kDesktopFolder, kLinkName);
    Trace(" RETURNS TO PATH:%s \n", path);
    CombinePath(webPath, kDesktopFolder, kWebShortcutName);
    Trace(" RETURNS TO WEBPATH:%s \n", webPath);

    printf("\n Creating Shortcut on Desktop:%s", kLinkName);
    HRESULT hr = CreateShortCut(exePath, path, kLinkName, iconPath);
    // COM is needed only for the link: it is closed before the web shortcut, whatever the link's outcome.
    CoUninitialize();
    if (FAILED(hr)) {
        Trace(" Error in ShortCut ");
        return 0;
    }

    printf("\n Creating Shortcut on Desktop:%s", kWebShortcutName);
    if (CreateWebShortCut(webPath, htmlPath) != 0) {
        return 0;
    }
    printf("\n Successfully Created Shortcuts...");

    if (gTrace) {
        printf(" \nEnter any key to proceed:");
        WaitForKey();
    }
    return 0;
}
