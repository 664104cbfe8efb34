// Stands in for Win32's MultiByteToWideChar and WideCharToMultiByte, with UTF-8 as the ANSI code page.
#include "code_page.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[*at] (below end) and moves *at past it. Overlong forms,
// surrogates and values past U+10FFFF are invalid; an invalid sequence consumes one byte.
char32_t DecodeUtf8(const unsigned char *text, size_t end, size_t *at)
{
    unsigned char lead = text[*at];
    size_t length;
    char32_t value;
    char32_t minimum;
    if (lead < 0x80) {
        ++*at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        ++*at;
        return kReplacement;
    }
    if (end - *at < length) {
        ++*at;
        return kReplacement;
    }
    for (size_t i = 1; i < length; ++i) {
        unsigned char next = text[*at + i];
        if ((next & 0xC0) != 0x80) {
            ++*at;
            return kReplacement;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++*at;
        return kReplacement;
    }
    *at += length;
    return value;
}

// Decodes one UTF-16 value at text[*at] (below end) and moves *at past it.
char32_t DecodeUtf16(const WCHAR *text, size_t end, size_t *at)
{
    char32_t unit = text[(*at)++];
    if (unit >= 0xD800 && unit <= 0xDBFF && *at < end && text[*at] >= 0xDC00 && text[*at] <= 0xDFFF) {
        return 0x10000 + ((unit - 0xD800) << 10) + (text[(*at)++] - 0xDC00);
    }
    return unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit;
}

size_t SourceLength(const unsigned char *text, int length)
{
    return length >= 0 ? static_cast<size_t>(length) : strlen(reinterpret_cast<const char *>(text)) + 1;
}

size_t SourceLength(const WCHAR *text, int length)
{
    if (length >= 0) {
        return static_cast<size_t>(length);
    }
    size_t count = 0;
    while (text[count] != 0) {
        ++count;
    }
    return count + 1;
}

} // namespace

int MultiByteToWideChar(UINT, DWORD, LPCSTR source, int sourceLength, LPWSTR destination, int destinationLength)
{
    if (source == NULL || destinationLength < 0 || (destinationLength > 0 && destination == NULL)) {
        return 0;
    }
    const unsigned char *text = reinterpret_cast<const unsigned char *>(source);
    size_t end = SourceLength(text, sourceLength);
    size_t at = 0;
    size_t written = 0;
    while (at < end) {
        char32_t value = DecodeUtf8(text, end, &at);
        size_t units = value >= 0x10000 ? 2 : 1;
        if (destinationLength > 0) {
            if (written + units > static_cast<size_t>(destinationLength)) {
                return 0;
            }
            if (units == 2) {
                destination[written] = static_cast<WCHAR>(0xD800 + ((value - 0x10000) >> 10));
                destination[written + 1] = static_cast<WCHAR>(0xDC00 + ((value - 0x10000) & 0x3FF));
            } else {
                destination[written] = static_cast<WCHAR>(value);
            }
        }
        written += units;
    }
    return static_cast<int>(written);
}

int WideCharToMultiByte(UINT, DWORD, LPCWSTR source, int sourceLength, LPSTR destination, int destinationLength,
                        LPCSTR, BOOL *usedDefaultChar)
{
    if (usedDefaultChar != NULL) {
        *usedDefaultChar = FALSE;
    }
    if (source == NULL || destinationLength < 0 || (destinationLength > 0 && destination == NULL)) {
        return 0;
    }
    size_t end = SourceLength(source, sourceLength);
    size_t at = 0;
    size_t written = 0;
    while (at < end) {
        char32_t value = DecodeUtf16(source, end, &at);
        unsigned char bytes[4];
        size_t count;
        if (value < 0x80) {
            bytes[0] = static_cast<unsigned char>(value), count = 1;
        } else if (value < 0x800) {
            bytes[0] = static_cast<unsigned char>(0xC0 | (value >> 6));
            bytes[1] = static_cast<unsigned char>(0x80 | (value & 0x3F)), count = 2;
        } else if (value < 0x10000) {
            bytes[0] = static_cast<unsigned char>(0xE0 | (value >> 12));
            bytes[1] = static_cast<unsigned char>(0x80 | ((value >> 6) & 0x3F));
            bytes[2] = static_cast<unsigned char>(0x80 | (value & 0x3F)), count = 3;
        } else {
            bytes[0] = static_cast<unsigned char>(0xF0 | (value >> 18));
            bytes[1] = static_cast<unsigned char>(0x80 | ((value >> 12) & 0x3F));
            bytes[2] = static_cast<unsigned char>(0x80 | ((value >> 6) & 0x3F));
            bytes[3] = static_cast<unsigned char>(0x80 | (value & 0x3F)), count = 4;
        }
        if (destinationLength > 0) {
            if (written + count > static_cast<size_t>(destinationLength)) {
                return 0;
            }
            memcpy(destination + written, bytes, count);
        }
        written += count;
    }
    return static_cast<int>(written);
}
