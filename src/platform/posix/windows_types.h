// Stands in for the Windows base types, result codes and GUIDs that the program and this layer use.
#ifndef ORVO_PLATFORM_POSIX_WINDOWS_TYPES_H
#define ORVO_PLATFORM_POSIX_WINDOWS_TYPES_H

#include <stddef.h>
#include <stdint.h>
#include <string.h>

typedef int32_t HRESULT;
typedef uint32_t DWORD;
typedef uint32_t ULONG;
typedef unsigned int UINT;
typedef int BOOL;
typedef char CHAR;
typedef char16_t WCHAR; // Windows' 16-bit unit; wchar_t is 32 bits here
typedef const CHAR *LPCSTR;
typedef CHAR *LPSTR;
typedef const WCHAR *LPCWSTR;
typedef WCHAR *LPWSTR;
typedef const WCHAR *LPCOLESTR;

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

constexpr HRESULT MakeFailure(uint32_t code) { return static_cast<HRESULT>(code); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOINTERFACE = MakeFailure(0x80004002u);
constexpr HRESULT E_POINTER = MakeFailure(0x80004003u);
constexpr HRESULT E_FAIL = MakeFailure(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = MakeFailure(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = MakeFailure(0x80070057u);
constexpr HRESULT CLASS_E_NOAGGREGATION = MakeFailure(0x80040110u);
constexpr HRESULT REGDB_E_CLASSNOTREG = MakeFailure(0x80040154u);
constexpr HRESULT CO_E_NOTINITIALIZED = MakeFailure(0x800401F0u);

constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_DISK_FULL = 112;

// A Win32 error code as an HRESULT of the Win32 facility, as Windows' HRESULT_FROM_WIN32 makes it.
constexpr HRESULT HRESULT_FROM_WIN32(DWORD error)
{
    return error == 0 ? S_OK : MakeFailure((error & 0xFFFFu) | 0x80070000u);
}

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const GUID &REFIID;
typedef const GUID &REFCLSID;

inline bool IsEqualGUID(REFIID a, REFIID b)
{
    return memcmp(&a, &b, sizeof(GUID)) == 0;
}

#endif
