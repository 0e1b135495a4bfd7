// PackageRegistry.cpp: the Packages key, its walk and the shared reads of package values.
#include "packages/PackageRegistry.h"
#include "packages/RegistryValueText.h"
#include "framework/AnsiCodePage.h"

#include <vector>

const char kPackagesWalkPath[] = "Software\\Norvane\\Packages";
const char kPackagesPath[] = "SOFTWARE\\Norvane\\Packages";
const char kPackageKeyFormat[] = "SOFTWARE\\Norvane\\Packages\\%s";
const char kPackageKeyPrefix[] = "SOFTWARE\\Norvane\\Packages\\";
const char kPurchaseKeyPrefix[] = "SOFTWARE\\Digital River\\SoftwarePassport\\";
const char kDefaultCompanyName[] = "Norvane Ltd";

HKEY OpenPackagesKey(const char* path)
{
    HKEY key = nullptr;
    if (!path || ::RegOpenKeyA(HKEY_LOCAL_MACHINE, path, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool EnumPackages(HKEY packagesKey, DWORD index, char* name, DWORD nameSize)
{
    if (!name || nameSize == 0)
        return false;
    name[0] = '\0';
    if (!packagesKey)
        return false;
    // Any failure ends the walk, ERROR_MORE_DATA for a name that does not fit included.
    if (::RegEnumKeyA(packagesKey, index, name, nameSize) != ERROR_SUCCESS) {
        name[0] = '\0';
        return false;
    }
    return true;
}

HKEY OpenPackageKey(HKEY packagesKey, const char* name)
{
    // RegOpenKeyA with an empty name hands back packagesKey itself, which the caller
    // would then close; no package key has an empty name.
    if (!packagesKey || !name || !name[0])
        return nullptr;
    HKEY key = nullptr;
    if (::RegOpenKeyA(packagesKey, name, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

void ReadPackageVersion(HKEY packageKey, char version[kVersionFieldSize])
{
    version[0] = '\0';
    if (!packageKey)
        return;
    DWORD size = 0;
    if (::RegQueryValueExA(packageKey, "Version", nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS || size == 0)
        return;
    std::vector<char> data(size);
    if (::RegQueryValueExA(packageKey, "Version", nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size)
        != ERROR_SUCCESS)
        return;
    // A longer text is cut to the field's 31 bytes.
    CopyValueText(data.data(), size < data.size() ? size : data.size(), version, kVersionFieldSize, AnsiLeadBytes());
}

bool ReadHideFlag(HKEY packageKey)
{
    if (!packageKey)
        return false;
    BYTE data[2] = {};
    DWORD size = sizeof(data);
    DWORD type = REG_NONE;
    // Data longer than 2 bytes does not fit and reads as absent.
    if (::RegQueryValueExA(packageKey, "Hide", nullptr, &type, data, &size) != ERROR_SUCCESS)
        return false;
    return DecodeHideFlag(type, data, size < sizeof(data) ? size : sizeof(data));
}

namespace {

// Reads valueName into buffer (size bytes) and terminates its text; false when the
// value is absent or does not fit. dataSize gets the number of bytes read.
bool QueryTextValue(HKEY key, const char* valueName, char* buffer, DWORD size, DWORD* dataSize)
{
    *dataSize = 0;
    if (!buffer || size == 0)
        return false;
    buffer[0] = '\0';
    if (!key)
        return false;
    DWORD n = size;
    if (::RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &n) != ERROR_SUCCESS) {
        buffer[0] = '\0';
        return false;
    }
    if (n > size)
        n = size;
    CopyValueText(buffer, n, buffer, size, AnsiLeadBytes());
    *dataSize = n;
    return true;
}

}  // namespace

bool ReadTextValue(HKEY key, const char* valueName, char* buffer, DWORD size)
{
    DWORD dataSize;
    return QueryTextValue(key, valueName, buffer, size, &dataSize);
}

void ReadCompanyName(HKEY packageKey, char company[256])
{
    DWORD dataSize;
    if (!QueryTextValue(packageKey, "CompanyName", company, 256, &dataSize) || dataSize == 0)
        ::lstrcpynA(company, kDefaultCompanyName, 256);
}
