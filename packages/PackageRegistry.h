// PackageRegistry.h: the registry layout of installed packages and its shared reads.
// Every read yields the value's default on failure and never shows a message; no key
// is ever created.
#pragma once

#include <windows.h>

// The Packages key under HKEY_LOCAL_MACHINE, in the two letter cases in use.
extern const char kPackagesWalkPath[];    // "Software\\Norvane\\Packages": list and report walks
extern const char kPackagesPath[];        // "SOFTWARE\\Norvane\\Packages": update records
extern const char kPackageKeyFormat[];    // "SOFTWARE\\Norvane\\Packages\\%s": purchase flow
extern const char kPackageKeyPrefix[];    // "SOFTWARE\\Norvane\\Packages\\": ProductURL lookup
extern const char kPurchaseKeyPrefix[];   // "SOFTWARE\\Digital River\\SoftwarePassport\\"
extern const char kDefaultCompanyName[];  // "Norvane Ltd"

// Name buffer sizes of the walks.
enum : DWORD {
    kWalkNameSize = 255,          // product list, status report
    kUpdateRecordNameSize = 260,  // update records
    kVersionFieldSize = 32,       // a version string: at most 31 characters
};

// Opens the Packages key (relative to HKEY_LOCAL_MACHINE) with RegOpenKeyA; null when
// it cannot be opened, which means there are no packages. The caller closes it.
HKEY OpenPackagesKey(const char* path);

// One step of the walk: the name of subkey index into name (nameSize bytes).
// False ends the walk: no more subkeys, or a name that does not fit.
bool EnumPackages(HKEY packagesKey, DWORD index, char* name, DWORD nameSize);

// Opens a package key relative to the Packages key; null when it cannot be opened
// (its values then read as absent).
HKEY OpenPackageKey(HKEY packagesKey, const char* name);

// The installed version (Version) into a 32-byte field; empty when there is none.
// A longer text is cut to 31 characters.
void ReadPackageVersion(HKEY packageKey, char version[kVersionFieldSize]);

// True when Hide marks the package hidden: REG_SZ "1", or REG_BINARY whose first byte
// is 1, in data of at most 2 bytes.
bool ReadHideFlag(HKEY packageKey);

// The one rule for a fixed-size text value: read into size bytes; absent or too large
// gives false and an empty text; the text ends at its first zero, the data's end, or
// the buffer's last byte.
bool ReadTextValue(HKEY key, const char* valueName, char* buffer, DWORD size);

// CompanyName into 256 bytes: absent, unreadable or without data bytes gives
// "Norvane Ltd"; a lone terminating zero gives the empty text. A null key gives the
// default.
void ReadCompanyName(HKEY packageKey, char company[256]);
