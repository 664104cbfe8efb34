// Fuzzes the layer's shell link object with any target, description and icon location within the
// shell's limits, ASCII and not: the saved file must read back through liblnk, which never fails to
// read it, with exactly those strings (the target with its runs of backslashes stored once).
// Input: 16-bit values, turned into characters of the Basic Multilingual Plane (no NUL, no surrogate
// halves) and split into the three strings at U+0001; the target is put in "C:\". Characters past the
// BMP are left out: the file holds their surrogate pairs right, but liblnk 20181227 decodes a pair into
// another character (U+1F3B5, stored as D83C DFB5, reads back as U+1EFB6). So are U+FEFF and U+FFFE,
// which liblnk takes for byte-order marks at a string's start.
#include <limits.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "link_file_format.h"
#include "platform/platform.h"
#include "support/link_reader.h"

namespace {

std::string gLinkFile;

void AppendUtf8(std::string &out, char32_t value)
{
    if (value < 0x80) {
        out += static_cast<char>(value);
    } else if (value < 0x800) {
        out += static_cast<char>(0xC0 | (value >> 6));
        out += static_cast<char>(0x80 | (value & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (value >> 12));
        out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (value & 0x3F));
    }
}

// Appends a character unless the text would pass its limit in bytes.
void AppendWithin(std::string &out, char32_t value, size_t limit)
{
    std::string encoded;
    AppendUtf8(encoded, value);
    if (out.size() + encoded.size() <= limit) {
        out += encoded;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    const char *base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string prefix = std::string(base) + "/orvo-fuzz-XXXXXX";
    if (mkdtemp(prefix.data()) == nullptr) {
        abort();
    }
    std::string desktop = prefix + "/drive_c";
    mkdir(desktop.c_str(), 0755);
    setenv("WINEPREFIX", prefix.c_str(), 1);
    gLinkFile = desktop + "/link.pif";
    static std::string folder = prefix;
    atexit([] { std::filesystem::remove_all(folder); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string fields[3] = {"C:\\", "", ""};
    const size_t limits[3] = {kMaxLinkPathLength, kMaxLinkDescriptionLength, kMaxLinkPathLength};
    int field = 0;
    for (size_t i = 0; i + 1 < size; i += 2) {
        char32_t value = data[i] | (data[i + 1] << 8);
        if (value == 0 || (value >= 0xD800 && value <= 0xDFFF) || value == 0xFEFF || value == 0xFFFE) {
            continue;
        }
        if (value == 1) {
            field = field < 2 ? field + 1 : field;
            continue;
        }
        AppendWithin(fields[field], value, limits[field]);
    }

    IShellLinkA *link = nullptr;
    IPersistFile *file = nullptr;
    CoInitialize(NULL);
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void **>(&link))) ||
        FAILED(link->SetPath(fields[0].c_str())) || FAILED(link->SetDescription(fields[1].c_str())) ||
        FAILED(link->SetIconLocation(fields[2].c_str(), 0)) ||
        FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
        abort();
    }
    WCHAR name[MAX_PATH] = {0};
    MultiByteToWideChar(CP_ACP, 0, "C:\\link.pif", -1, name, MAX_PATH);
    if (FAILED(file->Save(name, TRUE))) {
        abort();
    }
    file->Release();
    link->Release();
    CoUninitialize();

    LinkReading reading = ReadLinkWithLiblnk(gLinkFile);
    if (!reading.opened || !reading.error.empty() || reading.localPath != NormalisedTarget(fields[0]) ||
        reading.description != fields[1] || reading.iconLocation != fields[2] || reading.iconIndex != 0) {
        std::ostringstream shown;
        shown << reading;
        fprintf(stderr, "wrote \"%s\" \"%s\" \"%s\", read back %s\n", fields[0].c_str(), fields[1].c_str(),
                fields[2].c_str(), shown.str().c_str());
        abort();
    }
    return 0;
}
