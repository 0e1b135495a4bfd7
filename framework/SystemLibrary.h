// SystemLibrary.h: DLLs taken from the system folder only, never from the program's
// own folder or the current folder, where a planted DLL of the same name may wait.
//
// How to use: call RestrictDllSearchToSystemFolder first thing at start-up. Take a
// DLL's functions through CSystemLibrary (freed with the holder) or, for a DLL that
// must stay loaded for the process's life, through LoadSystemLibrary and
// GetLibraryProc. Do not link such a DLL: its import would be resolved by the loader,
// which looks in the program's folder first.
#pragma once

#include <windows.h>

// Makes the system folder the only default folder of later DLL loads
// (SetDefaultDllDirectories with LOAD_LIBRARY_SEARCH_SYSTEM32). Where the system lacks
// that (Windows 7 without KB2533623) the current folder is dropped from the search
// and false comes back.
bool RestrictDllSearchToSystemFolder();

// Loads the DLL of that bare file name from the system folder; null when it is not
// there. Its own imports are looked up in the system folder first as well.
HMODULE LoadSystemLibrary(const char* name);
// The same through the DLL's full path: LoadSystemLibrary's way on systems without
// the LOAD_LIBRARY_SEARCH_* flags.
HMODULE LoadSystemLibraryByPath(const char* name);

// The named export as a function pointer of type F; null when absent.
template <class F>
F GetLibraryProc(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<F>(::GetProcAddress(module, name)) : nullptr;
}

class CSystemLibrary {
public:
    explicit CSystemLibrary(const char* name) : m_hModule(LoadSystemLibrary(name)) {}
    ~CSystemLibrary()
    {
        if (m_hModule)
            ::FreeLibrary(m_hModule);
    }
    CSystemLibrary(const CSystemLibrary&) = delete;
    CSystemLibrary& operator=(const CSystemLibrary&) = delete;

    bool IsLoaded() const { return m_hModule != nullptr; }
    // GetProc<decltype(&::VerQueryValueA)>("VerQueryValueA"): null when absent.
    template <class F>
    F GetProc(const char* name) const { return GetLibraryProc<F>(m_hModule, name); }

private:
    HMODULE m_hModule;
};
