// Fuzzes ForwardSlashes on any content of a PathBuffer, terminated or not: every backslash before the
// first NUL (within the 260 bytes) becomes a forward slash, and no other byte changes.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "shortcuts/web_shortcut_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    char before[MAX_PATH];
    memset(before, '\\', sizeof before); // a short input leaves the rest unterminated
    memcpy(before, data, size < sizeof before ? size : sizeof before);

    char *memory = static_cast<char *>(malloc(MAX_PATH)); // exactly MAX_PATH: AddressSanitizer sees past it
    memcpy(memory, before, MAX_PATH);
    if (ForwardSlashes(*reinterpret_cast<PathBuffer *>(memory)) != 0) {
        abort();
    }
    bool terminated = false;
    for (size_t i = 0; i < MAX_PATH; ++i) {
        terminated = terminated || before[i] == '\0';
        char expected = !terminated && before[i] == '\\' ? '/' : before[i];
        if (memory[i] != expected) {
            abort();
        }
    }
    free(memory);
    return 0;
}
