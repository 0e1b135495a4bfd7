// SystemLibrary.cpp: loading DLLs from the system folder.
#include "framework/SystemLibrary.h"

#include <string.h>

namespace {

// The LOAD_LIBRARY_SEARCH_* flags came with AddDllDirectory (Windows 8, and Windows 7
// with KB2533623); without it LoadLibraryExA refuses them.
bool SystemSearchFlagsSupported()
{
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    return kernel && ::GetProcAddress(kernel, "AddDllDirectory") != nullptr;
}

}  // namespace

bool RestrictDllSearchToSystemFolder()
{
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFn)(DWORD);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    SetDefaultDllDirectoriesFn setDefault =
        GetLibraryProc<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories");
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return true;
    ::SetDllDirectoryA("");
    return false;
}

HMODULE LoadSystemLibrary(const char* name)
{
    if (SystemSearchFlagsSupported())
        return ::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return LoadSystemLibraryByPath(name);
}

HMODULE LoadSystemLibraryByPath(const char* name)
{
    // The altered search order looks in the DLL's own folder, the system folder, first
    // for what the DLL imports.
    char path[MAX_PATH];
    UINT length = ::GetSystemDirectoryA(path, sizeof(path));
    if (length == 0 || length + 1 + strlen(name) >= sizeof(path))
        return nullptr;
    path[length] = '\\';
    strcpy(path + length + 1, name);
    return ::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
