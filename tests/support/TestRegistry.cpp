// TestRegistry.cpp: registry seeding for tests.
#include "tests/support/TestRegistry.h"

const char kTestPackagesPath[] = "SOFTWARE\\Norvane\\Packages";

// Opens (or creates) path one level at a time: Wine's ANSI registry functions refuse a
// full path of more than 260 characters, which a long package name reaches.
static HKEY OpenByLevels(HKEY root, const std::string& path, bool create)
{
    HKEY key = root;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(start, end - start);
        HKEY next = nullptr;
        LONG rc = create ? RegCreateKeyExA(key, part.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &next, nullptr)
                         : RegOpenKeyExA(key, part.c_str(), 0, KEY_ALL_ACCESS, &next);
        if (key != root)
            RegCloseKey(key);
        if (rc != ERROR_SUCCESS)
            return nullptr;
        key = next;
        start = end + 1;
    }
    return key;
}

void DeleteKeyTree(HKEY root, const char* path)
{
    std::string full(path);
    size_t slash = full.rfind('\\');
    HKEY parent = slash == std::string::npos ? root : OpenByLevels(root, full.substr(0, slash), false);
    if (!parent)
        return;
    std::string name = slash == std::string::npos ? full : full.substr(slash + 1);
    RegDeleteTreeA(parent, name.c_str());
    RegDeleteKeyA(parent, name.c_str());
    if (parent != root)
        RegCloseKey(parent);
}

HKEY CreateKeyForTest(HKEY root, const char* path)
{
    return OpenByLevels(root, path, true);
}

void SetRawValue(HKEY root, const char* path, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = CreateKeyForTest(root, path);
    if (!key)
        return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SetStringValue(HKEY root, const char* path, const char* name, const char* text)
{
    SetRawValue(root, path, name, REG_SZ, text, (DWORD)strlen(text) + 1);
}

void SetDwordValue(HKEY root, const char* path, const char* name, DWORD value)
{
    SetRawValue(root, path, name, REG_DWORD, &value, sizeof(value));
}

bool ValueExists(HKEY root, const char* path, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    bool exists = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}

std::string ReadRawValue(HKEY root, const char* path, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    DWORD size = 0;
    std::string data;
    if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS && size) {
        data.resize(size);
        if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]), &size) != ERROR_SUCCESS)
            size = 0;
        data.resize(size);
    }
    RegCloseKey(key);
    return data;
}

ScopedPackages::ScopedPackages(bool createKey)
{
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kTestPackagesPath);
    if (createKey) {
        HKEY key = CreateKeyForTest(HKEY_LOCAL_MACHINE, kTestPackagesPath);
        if (key)
            RegCloseKey(key);
    }
}

ScopedPackages::~ScopedPackages()
{
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kTestPackagesPath);
}

std::string ScopedPackages::KeyPath(const char* package) const
{
    return std::string(kTestPackagesPath) + "\\" + package;
}

void ScopedPackages::Add(const char* name, const char* version)
{
    HKEY key = CreateKeyForTest(HKEY_LOCAL_MACHINE, KeyPath(name).c_str());
    if (key)
        RegCloseKey(key);
    if (version)
        SetString(name, "Version", version);
}

void ScopedPackages::SetString(const char* package, const char* name, const char* text)
{
    SetStringValue(HKEY_LOCAL_MACHINE, KeyPath(package).c_str(), name, text);
}

void ScopedPackages::SetRaw(const char* package, const char* name, DWORD type, const void* data, DWORD size)
{
    SetRawValue(HKEY_LOCAL_MACHINE, KeyPath(package).c_str(), name, type, data, size);
}
