// Lays out a shell link in the public binary shortcut (.LNK) format; see link_file_format.h.
// Record and field names are those of the public format description (ShellLinkHeader, LinkInfo, ...).
#include "link_file_format.h"

#include <stdint.h>
#include <string.h>

#include "code_page.h"

namespace {

// Where the bytes go; a write past capacity sets overflow and is dropped.
struct Cursor {
    unsigned char *data;
    size_t capacity;
    size_t length;
    bool overflow;
};

void PutBytes(Cursor &out, const void *bytes, size_t count)
{
    if (out.overflow || out.capacity - out.length < count) {
        out.overflow = true;
        return;
    }
    memcpy(out.data + out.length, bytes, count);
    out.length += count;
}

void PutU8(Cursor &out, uint8_t value)
{
    PutBytes(out, &value, 1);
}

void PutU16(Cursor &out, uint16_t value)
{
    const unsigned char bytes[2] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)};
    PutBytes(out, bytes, 2);
}

void PutU32(Cursor &out, uint32_t value)
{
    const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16),
                                    static_cast<unsigned char>(value >> 24)};
    PutBytes(out, bytes, 4);
}

void PutZeros(Cursor &out, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        PutU8(out, 0);
    }
}

// Overwrites a little-endian field written earlier, once its value (a size, an offset) is known.
void PatchU16(Cursor &out, size_t at, uint16_t value)
{
    if (!out.overflow) {
        out.data[at] = static_cast<unsigned char>(value);
        out.data[at + 1] = static_cast<unsigned char>(value >> 8);
    }
}

void PatchU32(Cursor &out, size_t at, uint32_t value)
{
    if (!out.overflow) {
        for (int i = 0; i < 4; ++i) {
            out.data[at + i] = static_cast<unsigned char>(value >> (8 * i));
        }
    }
}

// A GUID as the format stores it: Data1, Data2, Data3 little-endian, then the eight bytes of Data4.
void PutGuid(Cursor &out, uint32_t data1, uint16_t data2, uint16_t data3, const uint8_t (&data4)[8])
{
    PutU32(out, data1);
    PutU16(out, data2);
    PutU16(out, data3);
    PutBytes(out, data4, 8);
}

// ANSI text and its terminator.
void PutAnsiZ(Cursor &out, const char *text)
{
    PutBytes(out, text, strlen(text) + 1);
}

// ANSI text as UTF-16 units, with the terminator when withTerminator; returns the number of units
// without it, or -1 when the text cannot be converted.
int PutUnicode(Cursor &out, const char *text, bool withTerminator)
{
    WCHAR units[kMaxLinkDescriptionLength + 1];
    int count = MultiByteToWideChar(CP_ACP, 0, text, -1, units, static_cast<int>(sizeof units / sizeof units[0]));
    if (count <= 0) {
        out.overflow = true;
        return -1;
    }
    int kept = withTerminator ? count : count - 1;
    for (int i = 0; i < kept; ++i) {
        PutU16(out, units[i]);
    }
    return count - 1;
}

// ShellLinkHeader: 76 bytes.
constexpr uint32_t kHeaderSize = 0x4C;
constexpr size_t kHeaderFieldSizes = 4 /* HeaderSize */ + 16 /* LinkCLSID */ + 4 /* LinkFlags */ +
                                     4 /* FileAttributes */ + 8 /* CreationTime */ + 8 /* AccessTime */ +
                                     8 /* WriteTime */ + 4 /* FileSize */ + 4 /* IconIndex */ +
                                     4 /* ShowCommand */ + 2 /* HotKey */ + 2 /* Reserved1 */ +
                                     4 /* Reserved2 */ + 4 /* Reserved3 */;
static_assert(kHeaderFieldSizes == kHeaderSize, "ShellLinkHeader fields add up to HeaderSize");

constexpr uint32_t kHasLinkTargetIdList = 0x01;
constexpr uint32_t kHasLinkInfo = 0x02;
constexpr uint32_t kHasName = 0x04;
constexpr uint32_t kHasIconLocation = 0x40;
constexpr uint32_t kIsUnicode = 0x80;
constexpr uint32_t kShowNormal = 1; // SW_SHOWNORMAL

// LinkTargetIDList items.
constexpr uint16_t kRootItemSize = 2 /* ItemSize */ + 1 /* type 0x1F */ + 1 /* sort index */ + 16 /* CLSID */;
static_assert(kRootItemSize == 20, "the My Computer item is 20 bytes");
constexpr uint16_t kDriveItemSize = 2 /* ItemSize */ + 1 /* type 0x2F */ + 20 /* drive name */ + 2 /* unused */;
static_assert(kDriveItemSize == 25, "a drive item is 25 bytes");
constexpr size_t kFileEntryFixedSize = 2 /* ItemSize */ + 1 /* type */ + 1 /* unused */ + 4 /* FileSize */ +
                                       4 /* DOS date and time */ + 2 /* FileAttributes */;
static_assert(kFileEntryFixedSize == 14, "a file entry item has 14 bytes before its name");
constexpr uint8_t kRootItemType = 0x1F;
constexpr uint8_t kDriveItemType = 0x2F;
constexpr uint8_t kFolderItemType = 0x31;
constexpr uint8_t kFileItemType = 0x32;
constexpr uint16_t kDirectoryAttribute = 0x10;   // FILE_ATTRIBUTE_DIRECTORY
constexpr uint16_t kArchiveAttribute = 0x20;     // FILE_ATTRIBUTE_ARCHIVE

// LinkInfo with the Unicode offsets: a 0x24-byte header, then a VolumeID of 0x11 bytes.
constexpr uint32_t kLinkInfoHeaderSize = 4 /* LinkInfoSize */ + 4 /* LinkInfoHeaderSize */ +
                                         4 /* LinkInfoFlags */ + 4 /* VolumeIDOffset */ +
                                         4 /* LocalBasePathOffset */ + 4 /* CommonNetworkRelativeLinkOffset */ +
                                         4 /* CommonPathSuffixOffset */ + 4 /* LocalBasePathOffsetUnicode */ +
                                         4 /* CommonPathSuffixOffsetUnicode */;
static_assert(kLinkInfoHeaderSize == 0x24, "a LinkInfo header with Unicode offsets is 0x24 bytes");
constexpr uint32_t kVolumeIdSize = 4 /* VolumeIDSize */ + 4 /* DriveType */ + 4 /* DriveSerialNumber */ +
                                   4 /* VolumeLabelOffset */ + 1 /* empty VolumeLabel */;
constexpr uint32_t kVolumeIdAndLocalBasePath = 0x1;
constexpr uint32_t kDriveFixed = 3; // DRIVE_FIXED

bool IsDrivePath(const char *path)
{
    char letter = path[0] & ~0x20;
    return letter >= 'A' && letter <= 'Z' && path[1] == ':' && path[2] == '\\';
}

void PutHeader(Cursor &out, uint32_t linkFlags, int iconIndex)
{
    static const uint8_t kLinkClsidTail[8] = {0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    PutU32(out, kHeaderSize);                              // HeaderSize
    PutGuid(out, 0x00021401, 0, 0, kLinkClsidTail);        // LinkCLSID
    PutU32(out, linkFlags);                                // LinkFlags
    PutU32(out, 0);                                        // FileAttributes: the target is not looked at
    PutZeros(out, 8);                                      // CreationTime
    PutZeros(out, 8);                                      // AccessTime
    PutZeros(out, 8);                                      // WriteTime
    PutU32(out, 0);                                        // FileSize
    PutU32(out, static_cast<uint32_t>(iconIndex));         // IconIndex
    PutU32(out, kShowNormal);                              // ShowCommand
    PutU16(out, 0);                                        // HotKey
    PutU16(out, 0);                                        // Reserved1
    PutU32(out, 0);                                        // Reserved2
    PutU32(out, 0);                                        // Reserved3
}

// One file entry item for a path component of `length` bytes.
void PutFileEntryItem(Cursor &out, const char *name, size_t length, bool isLast)
{
    size_t nameSize = length + 1;
    size_t itemSize = kFileEntryFixedSize + nameSize + (nameSize % 2); // the name is padded to an even size
    PutU16(out, static_cast<uint16_t>(itemSize));                        // ItemSize
    PutU8(out, isLast ? kFileItemType : kFolderItemType);                // class type
    PutU8(out, 0);                                                       // unused
    PutU32(out, 0);                                                      // FileSize
    PutU32(out, 0);                                                      // last modification, DOS date and time
    PutU16(out, isLast ? kArchiveAttribute : kDirectoryAttribute);       // FileAttributes
    PutBytes(out, name, length);                                         // PrimaryName, ANSI
    PutZeros(out, 1 + nameSize % 2);                                     // its terminator and padding
}

// LinkTargetIDList: My Computer, the drive, then one item per component of the path.
void PutLinkTargetIdList(Cursor &out, const char *target)
{
    static const uint8_t kMyComputerTail[8] = {0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};
    size_t sizeAt = out.length;
    PutU16(out, 0); // IDListSize, patched below

    PutU16(out, kRootItemSize);
    PutU8(out, kRootItemType);
    PutU8(out, 0x50); // sort index of My Computer
    PutGuid(out, 0x20D04FE0, 0x3AEA, 0x1069, kMyComputerTail);

    const char driveName[4] = {static_cast<char>(target[0] & ~0x20), ':', '\\', '\0'};
    PutU16(out, kDriveItemSize);
    PutU8(out, kDriveItemType);
    PutBytes(out, driveName, 4);
    PutZeros(out, kDriveItemSize - 2 - 1 - 4);

    // Components are separated by single backslashes; empty ones (a doubled backslash) are skipped.
    const char *component = target + 3;
    while (*component != '\0') {
        const char *end = strchr(component, '\\');
        size_t length = end != NULL ? static_cast<size_t>(end - component) : strlen(component);
        const char *next = component + length;
        while (*next == '\\') {
            ++next;
        }
        if (length > 0) {
            PutFileEntryItem(out, component, length, *next == '\0');
        }
        component = next;
    }

    PutU16(out, 0); // TerminalID
    PatchU16(out, sizeAt, static_cast<uint16_t>(out.length - sizeAt - 2));
}

// LinkInfo: the volume and the local base path, in ANSI and in Unicode.
void PutLinkInfo(Cursor &out, const char *target)
{
    size_t start = out.length;
    PutU32(out, 0);                        // LinkInfoSize, patched below
    PutU32(out, kLinkInfoHeaderSize);      // LinkInfoHeaderSize
    PutU32(out, kVolumeIdAndLocalBasePath); // LinkInfoFlags
    PutU32(out, kLinkInfoHeaderSize);      // VolumeIDOffset: the VolumeID follows the header
    PutU32(out, 0);                        // LocalBasePathOffset, patched below
    PutU32(out, 0);                        // CommonNetworkRelativeLinkOffset: none
    PutU32(out, 0);                        // CommonPathSuffixOffset, patched below
    PutU32(out, 0);                        // LocalBasePathOffsetUnicode, patched below
    PutU32(out, 0);                        // CommonPathSuffixOffsetUnicode, patched below

    PutU32(out, kVolumeIdSize); // VolumeIDSize
    PutU32(out, kDriveFixed);   // DriveType
    PutU32(out, 0);             // DriveSerialNumber
    PutU32(out, 0x10);          // VolumeLabelOffset
    PutU8(out, 0);              // VolumeLabel: empty

    PatchU32(out, start + 16, static_cast<uint32_t>(out.length - start));
    PutAnsiZ(out, target); // LocalBasePath
    PatchU32(out, start + 24, static_cast<uint32_t>(out.length - start));
    PutU8(out, 0); // CommonPathSuffix: empty
    PatchU32(out, start + 28, static_cast<uint32_t>(out.length - start));
    PutUnicode(out, target, true); // LocalBasePathUnicode
    PatchU32(out, start + 32, static_cast<uint32_t>(out.length - start));
    PutU16(out, 0); // CommonPathSuffixUnicode: empty

    PatchU32(out, start, static_cast<uint32_t>(out.length - start));
}

// One StringData entry: CountCharacters, then the UTF-16 units without a terminator.
void PutStringData(Cursor &out, const char *text)
{
    size_t countAt = out.length;
    PutU16(out, 0);
    int count = PutUnicode(out, text, false);
    if (count >= 0) {
        PatchU16(out, countAt, static_cast<uint16_t>(count));
    }
}

} // namespace

size_t FormatLinkFile(const char *target, const char *description, const char *iconLocation, int iconIndex,
                      unsigned char *out, size_t capacity)
{
    if ((target != NULL && (strlen(target) > kMaxLinkPathLength || !IsDrivePath(target))) ||
        (description != NULL && strlen(description) > kMaxLinkDescriptionLength) ||
        (iconLocation != NULL && strlen(iconLocation) > kMaxLinkPathLength)) {
        return 0;
    }

    uint32_t linkFlags = kIsUnicode;
    if (target != NULL) {
        linkFlags |= kHasLinkTargetIdList | kHasLinkInfo;
    }
    if (description != NULL) {
        linkFlags |= kHasName;
    }
    if (iconLocation != NULL) {
        linkFlags |= kHasIconLocation;
    }

    Cursor cursor = {out, capacity, 0, false};
    PutHeader(cursor, linkFlags, iconIndex);
    if (target != NULL) {
        PutLinkTargetIdList(cursor, target);
        PutLinkInfo(cursor, target);
    }
    // StringData in the format's order: NAME_STRING, ..., ICON_LOCATION.
    if (description != NULL) {
        PutStringData(cursor, description);
    }
    if (iconLocation != NULL) {
        PutStringData(cursor, iconLocation);
    }
    PutU32(cursor, 0); // TerminalBlock of ExtraData
    return cursor.overflow ? 0 : cursor.length;
}
