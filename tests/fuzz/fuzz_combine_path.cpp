// Fuzzes path composition with any directory and name: nothing is written past the 260 bytes of the
// buffer, the result is always terminated, and it is directory + "\" + name whenever that fits.
// Input: one byte giving the directory's length, then the directory, then the name.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "setup/combine_path.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    size_t directoryLength = data[0] * 2u; // up to 510: past the buffer too
    const char *text = reinterpret_cast<const char *>(data + 1);
    size_t textLength = size - 1;
    if (directoryLength > textLength) {
        directoryLength = textLength;
    }
    // C strings end at their first NUL, as the program's do.
    std::string directory(text, strnlen(text, directoryLength));
    std::string name(text + directoryLength, strnlen(text + directoryLength, textLength - directoryLength));

    // A buffer of exactly MAX_PATH bytes on the heap, so that AddressSanitizer sees a byte past it.
    char *memory = static_cast<char *>(malloc(MAX_PATH));
    memset(memory, 0x5A, MAX_PATH);
    PathBuffer &destination = *reinterpret_cast<PathBuffer *>(memory);
    if (CombinePath(destination, directory.c_str(), name.c_str()) != 0) {
        abort();
    }
    const char *terminator = static_cast<const char *>(memchr(memory, '\0', MAX_PATH));
    if (terminator == nullptr) {
        abort();
    }
    std::string whole = directory + "\\" + name;
    std::string expected = whole.size() <= MAX_PATH - 1 ? whole : whole.substr(0, MAX_PATH - 1);
    if (std::string(memory) != expected) {
        abort();
    }
    free(memory);
    return 0;
}
