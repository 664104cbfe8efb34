// Writing of an Internet shortcut (.url) file that opens a local page through a file URL.
#include "web_shortcut_writer.h"

#include <string.h>

#include "../setup/trace.h"

int ForwardSlashes(PathBuffer &path)
{
    for (size_t i = 0; i < MAX_PATH && path[i] != '\0'; ++i) {
        if (path[i] == '\\') {
            path[i] = '/';
        }
    }
    return 0;
}

int CreateWebShortCut(const char *webPath, PathBuffer &pagePath)
{
    Trace(" WebShortCut:%s \n %s\n", webPath, pagePath);

    // Binary mode with an explicit CR LF: the file holds the same bytes whichever host writes it,
    // where a Windows text-mode stream would make the LF a CR LF and a CR LF a CR CR LF.
    FILE *file = OpenWindowsFile(webPath, "wb");
    if (file == NULL) {
        Trace(" Unable to open Web Destination file:%s \n", webPath);
        return -1;
    }
    ForwardSlashes(pagePath);

    static const char kHead[] = "[InternetShortcut]\r\nURL=file://";
    const void *end = memchr(pagePath, '\0', MAX_PATH);
    size_t pageLength = end != NULL ? static_cast<size_t>(static_cast<const char *>(end) - pagePath) : MAX_PATH;
    bool failed = fwrite(kHead, 1, sizeof kHead - 1, file) != sizeof kHead - 1;
    failed = fwrite(pagePath, 1, pageLength, file) != pageLength || failed;
    // The flush is checked on its own: Wine's msvcrt, for one, has fclose report success even when the
    // flush inside it failed.
    failed = fflush(file) != 0 || ferror(file) != 0 || failed;
    failed = fclose(file) != 0 || failed;

    // A shortcut cut short by a full disk would open a wrong page: it is removed, and the run reports it.
    if (failed) {
        DeleteFileA(webPath);
        Trace(" Unable to write Web Destination file:%s \n", webPath);
        return -1;
    }
    return 0;
}
