// Stands in for the shell's link object (CLSID_ShellLink): it keeps a target, a description and an
// icon, and Save writes them as a binary shortcut file (link_file_format.cpp).
#include "shell_link_object.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <new>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "code_page.h"
#include "drive_mapping.h"
#include "link_file_format.h"

const CLSID CLSID_ShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

HRESULT HresultFromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    case ENOSPC:
    case EDQUOT:
        return HRESULT_FROM_WIN32(ERROR_DISK_FULL);
    default:
        return E_FAIL;
    }
}

namespace {

// Copies text into a fixed field when it fits; the field is left as it was otherwise.
template <size_t N> HRESULT StoreText(char (&field)[N], const char *text)
{
    if (text == NULL) {
        return E_INVALIDARG;
    }
    size_t length = strlen(text);
    if (length >= N) {
        return E_INVALIDARG;
    }
    memcpy(field, text, length + 1);
    return S_OK;
}

// Writes all of data to fd; 0, or the errno of the failing write.
int WriteAll(int fd, const unsigned char *data, size_t length)
{
    while (length > 0) {
        ssize_t written = write(fd, data, length);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        data += written;
        length -= static_cast<size_t>(written);
    }
    return 0;
}

// Writes a whole file at hostPath: into a new file beside it, then renamed over it, so that a failure
// leaves neither a partial file nor a damaged earlier one. 0, or the errno of the step that failed.
int ReplaceFile(const char *hostPath, const unsigned char *data, size_t length)
{
    char temporary[PATH_MAX];
    int written = snprintf(temporary, sizeof temporary, "%s.XXXXXX", hostPath);
    if (written <= 0 || static_cast<size_t>(written) >= sizeof temporary) {
        return ENAMETOOLONG;
    }
    int fd = mkstemp(temporary);
    if (fd < 0) {
        return errno;
    }
    int error = fchmod(fd, 0644) == 0 ? 0 : errno;
    if (error == 0) {
        error = WriteAll(fd, data, length);
    }
    if (error == 0 && fsync(fd) != 0) {
        error = errno;
    }
    if (close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && rename(temporary, hostPath) != 0) {
        error = errno;
    }
    if (error != 0) {
        unlink(temporary);
    }
    return error;
}

class ShellLinkObject final : public IShellLinkA, public IPersistFile {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        if (object == NULL) {
            return E_POINTER;
        }
        if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, IID_IShellLinkA)) {
            *object = static_cast<IShellLinkA *>(this);
        } else if (IsEqualGUID(iid, IID_IPersistFile)) {
            *object = static_cast<IPersistFile *>(this);
        } else {
            *object = NULL;
            return E_NOINTERFACE;
        }
        ++references_;
        return S_OK;
    }

    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG left = --references_;
        if (left == 0) {
            this->~ShellLinkObject();
            free(this);
        }
        return left;
    }

    // Like the shell's, a run of backslashes in the target is stored as one.
    HRESULT STDMETHODCALLTYPE SetPath(LPCSTR path) override
    {
        if (path == NULL || strlen(path) > kMaxLinkPathLength || path[0] == '\0' || path[1] != ':' ||
            path[2] != '\\') {
            return E_INVALIDARG;
        }
        size_t at = 0;
        for (const char *c = path; *c != '\0'; ++c) {
            if (!(*c == '\\' && at > 0 && target_[at - 1] == '\\')) {
                target_[at++] = *c;
            }
        }
        target_[at] = '\0';
        hasTarget_ = true;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetDescription(LPCSTR description) override
    {
        HRESULT hr = StoreText(description_, description);
        hasDescription_ = hasDescription_ || SUCCEEDED(hr);
        return hr;
    }

    HRESULT STDMETHODCALLTYPE SetIconLocation(LPCSTR iconPath, int iconIndex) override
    {
        HRESULT hr = StoreText(iconLocation_, iconPath);
        if (SUCCEEDED(hr)) {
            hasIconLocation_ = true;
            iconIndex_ = iconIndex;
        }
        return hr;
    }

    HRESULT STDMETHODCALLTYPE Save(LPCOLESTR fileName, BOOL) override
    {
        char windowsPath[PATH_MAX];
        char hostPath[PATH_MAX];
        unsigned char bytes[kLinkFileCapacity];
        if (fileName == NULL) {
            return E_INVALIDARG;
        }
        if (WideCharToMultiByte(CP_ACP, 0, fileName, -1, windowsPath, sizeof windowsPath, NULL, NULL) <= 0) {
            return E_INVALIDARG;
        }
        if (WindowsPathToHost(windowsPath, hostPath, sizeof hostPath) != 0) {
            return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        }
        size_t length = FormatLinkFile(hasTarget_ ? target_ : NULL, hasDescription_ ? description_ : NULL,
                                       hasIconLocation_ ? iconLocation_ : NULL, iconIndex_, bytes, sizeof bytes);
        if (length == 0) {
            return E_FAIL;
        }
        int error = ReplaceFile(hostPath, bytes, length);
        return error == 0 ? S_OK : HresultFromErrno(error);
    }

private:
    ~ShellLinkObject() = default;

    ULONG references_ = 1;
    bool hasTarget_ = false;
    bool hasDescription_ = false;
    bool hasIconLocation_ = false;
    int iconIndex_ = 0;
    char target_[kMaxLinkPathLength + 1] = {};
    char description_[kMaxLinkDescriptionLength + 1] = {};
    char iconLocation_[kMaxLinkPathLength + 1] = {};
};

} // namespace

HRESULT CreateShellLinkObject(REFIID iid, void **object)
{
    // malloc and placement new keep the C++ runtime library out of the program.
    void *memory = malloc(sizeof(ShellLinkObject));
    if (memory == NULL) {
        *object = NULL;
        return E_OUTOFMEMORY;
    }
    ShellLinkObject *link = new (memory) ShellLinkObject;
    HRESULT hr = link->QueryInterface(iid, object);
    link->Release(); // the interface handed out, if any, holds the only reference now
    return hr;
}
