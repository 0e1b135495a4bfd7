// UpdateStore.cpp: reading, storing and clearing a package's UpdateRecord.
#include "update/UpdateStore.h"
#include "update/VersionCompare.h"
#include "packages/PackageRegistry.h"
#include "framework/AnsiCodePage.h"
#include "framework/Handles.h"

#include <mbstring.h>
#include <string.h>
#include <string>

extern "C" NTSYSAPI LONG NTAPI NtQueryKey(HANDLE key, int infoClass, PVOID info, ULONG length,
                                          PULONG resultLength);

namespace {

const char kUpdateVersionValue[] = "UpdateVersion";
const char kUpdateUrlValue[] = "ProductUpdateUrl";

enum : DWORD {
    kVersionReadLimit = 20,  // UpdateVersion: a longer value counts as absent
    kUrlReadLimit = 255,     // ProductUpdateUrl: read into the caller's 256 bytes
    kUrlBufferSize = kUrlReadLimit + 1,
};

// NtQueryKey information classes and layouts (winternl.h lacks them).
enum { kKeyBasicInformation = 0, kKeyNameInformation = 3 };
struct KeyBasicInformation {
    LARGE_INTEGER LastWriteTime;
    ULONG TitleIndex;
    ULONG NameLength;  // bytes
    WCHAR Name[1];
};
struct KeyNameInformation {
    ULONG NameLength;  // bytes
    WCHAR Name[1];
};

// The name under which key is stored, in its stored letter case, converted to ANSI as
// RegEnumKeyA converts it.
bool StoredKeyName(HKEY key, std::string& name)
{
    // A key name is at most 255 characters; the full path of KeyNameInformation is
    // longer, so leave room for it.
    alignas(8) BYTE info[4096];
    ULONG length = 0;
    const WCHAR* text = nullptr;
    ULONG chars = 0;
    if (NtQueryKey(key, kKeyBasicInformation, info, sizeof(info) - sizeof(WCHAR), &length) == 0) {
        const KeyBasicInformation* basic = reinterpret_cast<const KeyBasicInformation*>(info);
        text = basic->Name;
        chars = basic->NameLength / sizeof(WCHAR);
    } else if (NtQueryKey(key, kKeyNameInformation, info, sizeof(info) - sizeof(WCHAR), &length) == 0) {
        // The full path: the key's own name follows the last backslash.
        const KeyNameInformation* full = reinterpret_cast<const KeyNameInformation*>(info);
        chars = full->NameLength / sizeof(WCHAR);
        text = full->Name;
        for (ULONG i = chars; i > 0; --i) {
            if (full->Name[i - 1] == L'\\') {
                text = full->Name + i;
                chars -= i;
                break;
            }
        }
    } else {
        return false;
    }
    std::string ansi = WideToAnsi(std::wstring(text, chars));
    if (ansi.empty())
        return false;
    name.swap(ansi);
    return true;
}

// Opens the subkey of the Packages key whose enumerated name equals packageName exactly,
// as a walk of the subkeys with a 260-byte name buffer and _mbscmp would find it, with a
// constant number of registry calls: RegOpenKeyA ignores letter case and follows
// backslashes into nested keys, so both are ruled out before and after the open.
// Null when there is no such key; the caller closes it.
HKEY OpenExactPackageKey(HKEY packagesKey, const char* packageName)
{
    if (!packageName || !packageName[0])
        return nullptr;
    if (strlen(packageName) >= kUpdateRecordNameSize)
        return nullptr;  // would not fit the walk's name buffer
    if (_mbschr(reinterpret_cast<const unsigned char*>(packageName), '\\'))
        return nullptr;  // a path, never a subkey's name
    HKEY key = OpenPackageKey(packagesKey, packageName);
    if (!key)
        return nullptr;
    std::string stored;
    if (!StoredKeyName(key, stored)
        || _mbscmp(reinterpret_cast<const unsigned char*>(stored.c_str()),
                   reinterpret_cast<const unsigned char*>(packageName)) != 0) {
        ::RegCloseKey(key);
        return nullptr;
    }
    return key;
}

// Reads a text value of at most limit bytes into buffer (limit + 1 bytes). The stored
// data may lack its NUL, so the buffer is zero-filled first; on failure (absent, or
// longer than limit) it is left all zero.
bool QueryText(HKEY key, const char* valueName, char* buffer, DWORD limit)
{
    memset(buffer, 0, limit + 1);
    DWORD size = limit;
    if (::RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size)
        != ERROR_SUCCESS) {
        memset(buffer, 0, limit + 1);
        return false;
    }
    return true;
}

// Writes text as REG_SZ with a byte count of its length. RegSetValueExA adds a NUL to
// the count when one follows the data; the copy ends in a non-zero byte so that the
// stored data holds the characters alone.
void WriteText(HKEY key, const char* valueName, const char* text)
{
    size_t length = strlen(text);
    std::string data(text, length);
    data.push_back('\x01');
    ::RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()), (DWORD)length);
}

void ClearRecord(HKEY key)
{
    ::RegDeleteValueA(key, kUpdateVersionValue);
    ::RegDeleteValueA(key, kUpdateUrlValue);
}

bool ReadRecord(HKEY key, const char* installedVersion, char* versionText)
{
    char stored[kVersionReadLimit + 1];
    if (!QueryText(key, kUpdateVersionValue, stored, kVersionReadLimit))
        return false;
    if (!CompareVersions(installedVersion ? installedVersion : "", stored)) {
        // No longer newer (the update was installed, say): forget it.
        ClearRecord(key);
        return false;
    }
    if (versionText)
        memcpy(versionText, stored, strlen(stored) + 1);
    return true;
}

bool StoreRecord(HKEY key, const char* versionText, const char* urlBuffer)
{
    if (!versionText || !versionText[0])
        return false;
    WriteText(key, kUpdateVersionValue, versionText);
    if (urlBuffer && urlBuffer[0])
        WriteText(key, kUpdateUrlValue, urlBuffer);
    return true;  // the writes may fail where the user has no write access
}

bool ReadAddress(HKEY key, char* urlBuffer)
{
    if (!urlBuffer)
        return false;
    // Read aside so that a failed read cannot leave part of a value in the caller's
    // buffer.
    char address[kUrlBufferSize];
    if (!QueryText(key, kUpdateUrlValue, address, kUrlReadLimit))
        return false;
    memcpy(urlBuffer, address, strlen(address) + 1);
    return true;
}

}  // namespace

bool UpdateStore(const char* packageName, const char* installedVersion, char* versionText,
                 int mode, char* urlBuffer)
{
    CRegKey packagesKey(OpenPackagesKey(kPackagesPath));
    if (!packagesKey.IsOpen())
        return false;
    CRegKey packageKey(OpenExactPackageKey(packagesKey, packageName));
    if (!packageKey.IsOpen())
        return false;

    switch (mode) {
    case kUpdateRead:
        return ReadRecord(packageKey, installedVersion, versionText);
    case kUpdateStoreRecord:
        return StoreRecord(packageKey, versionText, urlBuffer);
    case kUpdateClear:
        ClearRecord(packageKey);
        return false;
    case kUpdateReadAddress:
        return ReadAddress(packageKey, urlBuffer);
    default:
        return false;
    }
}
