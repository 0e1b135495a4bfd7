// TestRegistry.h: seeding and clearing the registry of the test prefix.
#pragma once

#include <windows.h>
#include <string>

// Deletes a key and everything below it; quiet when it does not exist.
void DeleteKeyTree(HKEY root, const char* path);

// Creates (or opens) a key for writing; null on failure.
HKEY CreateKeyForTest(HKEY root, const char* path);

void SetStringValue(HKEY root, const char* path, const char* name, const char* text);
// Exactly the given bytes, with the given type (for values without a terminating zero).
void SetRawValue(HKEY root, const char* path, const char* name, DWORD type, const void* data, DWORD size);
void SetDwordValue(HKEY root, const char* path, const char* name, DWORD value);
bool ValueExists(HKEY root, const char* path, const char* name);
// The value's bytes as text (no terminating zero added by the reader); empty when absent.
std::string ReadRawValue(HKEY root, const char* path, const char* name);

// The Packages key of HKEY_LOCAL_MACHINE emptied for one test and removed afterwards.
class ScopedPackages {
public:
    explicit ScopedPackages(bool createKey = true);
    ~ScopedPackages();
    ScopedPackages(const ScopedPackages&) = delete;
    ScopedPackages& operator=(const ScopedPackages&) = delete;

    // Adds a package key; version may be null (no Version value).
    void Add(const char* name, const char* version = nullptr);
    void SetString(const char* package, const char* name, const char* text);
    void SetRaw(const char* package, const char* name, DWORD type, const void* data, DWORD size);
    std::string KeyPath(const char* package) const;
};

extern const char kTestPackagesPath[];  // "SOFTWARE\\Norvane\\Packages"
