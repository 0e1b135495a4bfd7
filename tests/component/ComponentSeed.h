// ComponentSeed.h: seeding the reference component's data and hiding its registration,
// for the suites that drive the real component.
#pragma once

#include "tests/support/TestRegistry.h"
#include <string>

inline std::string ComponentsPath(const char* package)
{
    return std::string(kTestPackagesPath) + "\\" + package + "\\Components";
}

// Creates the package's Components key (an empty list).
inline void AddComponentList(const char* package)
{
    HKEY key = CreateKeyForTest(HKEY_LOCAL_MACHINE, ComponentsPath(package).c_str());
    if (key)
        RegCloseKey(key);
}

// One component under subkey sub; a null text leaves its value out.
inline void AddComponent(const char* package, const char* sub, const char* name, const char* classId,
                         const char* version)
{
    std::string path = ComponentsPath(package) + "\\" + sub;
    HKEY key = CreateKeyForTest(HKEY_LOCAL_MACHINE, path.c_str());
    if (key)
        RegCloseKey(key);
    if (name)
        SetStringValue(HKEY_LOCAL_MACHINE, path.c_str(), "Name", name);
    if (classId)
        SetStringValue(HKEY_LOCAL_MACHINE, path.c_str(), "ClassId", classId);
    if (version)
        SetStringValue(HKEY_LOCAL_MACHINE, path.c_str(), "Version", version);
}

// The count the component reports for the package, whatever its subkeys.
inline void SetComponentCount(const char* package, DWORD count)
{
    SetDwordValue(HKEY_LOCAL_MACHINE, ComponentsPath(package).c_str(), "Count", count);
}

// Removes the component's class key for the life of the object and puts back the
// registration it found.
class ScopedUnregisteredComponent {
public:
    static constexpr const char* kClassKey = "CLSID\\{13DEF622-983C-4FA4-91CD-238C72DE4F3F}";
    static constexpr const char* kInprocKey = "CLSID\\{13DEF622-983C-4FA4-91CD-238C72DE4F3F}\\InprocServer32";

    ScopedUnregisteredComponent()
    {
        m_server = ReadText(kInprocKey, nullptr);
        m_model = ReadText(kInprocKey, "ThreadingModel");
        m_title = ReadText(kClassKey, nullptr);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, kClassKey);
    }
    ~ScopedUnregisteredComponent()
    {
        if (m_server.empty())
            return;
        SetStringValue(HKEY_CLASSES_ROOT, kClassKey, "", m_title.c_str());
        SetStringValue(HKEY_CLASSES_ROOT, kInprocKey, "", m_server.c_str());
        SetStringValue(HKEY_CLASSES_ROOT, kInprocKey, "ThreadingModel", m_model.c_str());
    }
    ScopedUnregisteredComponent(const ScopedUnregisteredComponent&) = delete;
    ScopedUnregisteredComponent& operator=(const ScopedUnregisteredComponent&) = delete;

    // The server path that was registered; empty when the component was not registered.
    const std::string& Server() const { return m_server; }

private:
    static std::string ReadText(const char* path, const char* name)
    {
        std::string data = ReadRawValue(HKEY_CLASSES_ROOT, path, name);
        while (!data.empty() && data.back() == '\0')
            data.pop_back();
        return data;
    }
    std::string m_server;
    std::string m_model;
    std::string m_title;
};
