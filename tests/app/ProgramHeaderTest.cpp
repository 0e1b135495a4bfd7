// ProgramHeaderTest.cpp: the Windows version that the PE headers of the real vantorix.exe
// and vantorix.com ask for, against the functions that their import tables name; the
// names their version resources give them.
#include "tests/support/TestProcess.h"
#include <gtest/gtest.h>
#include <set>
#include <stddef.h>
#include <string.h>

// The version fields lie at the same offsets in both optional headers; the data
// directories do not.
static_assert(offsetof(IMAGE_OPTIONAL_HEADER32, MajorOperatingSystemVersion) ==
                      offsetof(IMAGE_OPTIONAL_HEADER64, MajorOperatingSystemVersion) &&
                  offsetof(IMAGE_OPTIONAL_HEADER32, MajorSubsystemVersion) ==
                      offsetof(IMAGE_OPTIONAL_HEADER64, MajorSubsystemVersion),
              "");

// One text of a file's version resource (U.S. English, Unicode); empty when absent.
static std::string VersionText(const std::string& file, const char* name)
{
    DWORD handle = 0;
    std::string block(GetFileVersionInfoSizeA(file.c_str(), &handle), '\0');
    char* text = nullptr;
    UINT size = 0;
    if (block.empty() || !GetFileVersionInfoA(file.c_str(), 0, (DWORD)block.size(), &block[0]) ||
        !VerQueryValueA(&block[0], (std::string("\\StringFileInfo\\040904b0\\") + name).c_str(),
                        reinterpret_cast<void**>(&text), &size))
        return std::string();
    return text;
}

TEST(ProgramHeader, AsksForTheOldestWindowsThatHasEveryImport)
{
    // Imported functions newer than Windows XP, with the first Windows that has them.
    const struct {
        const char* function;
        std::pair<int, int> version;
    } newerThanXp[] = {
        {"GetTickCount64", {6, 0}},           {"InitializeSRWLock", {6, 0}},
        {"InitializeConditionVariable", {6, 0}}, {"SetDefaultDllDirectories", {6, 2}},
        {"GetSystemTimePreciseAsFileTime", {6, 2}}, {"GetDpiForWindow", {10, 0}},
    };

    const struct {
        const char* file;
        const char* import;  // a function that only this kind of program imports
        WORD subsystem;
        bool exactly;        // the header asks for the newest Windows an import needs
        const char* originalName;
        const char* description;
    } programs[] = {
        {"vantorix.exe", "CreateDialogParamA", IMAGE_SUBSYSTEM_WINDOWS_GUI, true, "Vantorix.exe", "Vantorix"},
        {"vantorix.com", "WriteConsoleW", IMAGE_SUBSYSTEM_WINDOWS_CUI, false, "vantorix.com", "Vantorix console program"},
    };
    for (const auto& program : programs) {
        SCOPED_TRACE(program.file);
        EXPECT_EQ(VersionText(BinDir() + program.file, "OriginalFilename"), program.originalName);
        EXPECT_EQ(VersionText(BinDir() + program.file, "FileDescription"), program.description);
        EXPECT_EQ(VersionText(BinDir() + program.file, "FileVersion"), "2, 0, 33, 70715");
        // Mapped as an image, without loading the DLLs it imports.
        HMODULE module = LoadLibraryExA((BinDir() + program.file).c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
        ASSERT_NE(module, nullptr);
        const char* base = reinterpret_cast<const char*>(module);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_OPTIONAL_HEADER32& header = nt->OptionalHeader;
        const bool wide = header.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
        const IMAGE_DATA_DIRECTORY& imports =
            (wide ? reinterpret_cast<const IMAGE_NT_HEADERS64*>(nt)->OptionalHeader.DataDirectory
                  : header.DataDirectory)[IMAGE_DIRECTORY_ENTRY_IMPORT];

        // Every function imported by name (a thunk with its top bit set names an ordinal).
        std::set<std::string> imported;
        const size_t thunkSize = wide ? 8 : 4;
        for (auto dll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); dll->Name; ++dll)
            for (const char* t = base + (dll->OriginalFirstThunk ? dll->OriginalFirstThunk : dll->FirstThunk);; t += thunkSize) {
                ULONGLONG thunk = 0;
                memcpy(&thunk, t, thunkSize);
                if (!thunk)
                    break;
                if (!(thunk >> (thunkSize * 8 - 1)))
                    imported.insert(base + (DWORD)thunk + 2);
            }
        ASSERT_TRUE(imported.count(program.import));
        EXPECT_EQ(header.Subsystem, program.subsystem);

        // Windows XP (5.2 for 64-bit programs), or the newest Windows that an import needs.
        std::pair<int, int> needed = {5, wide ? 2 : 1};
        for (const auto& f : newerThanXp)
            if (imported.count(f.function) && f.version > needed)
                needed = f.version;
        // The window program asks for exactly that; the console program, beside it, for the
        // same Windows, which has every function it imports.
        const auto subsystemVersion = std::make_pair((int)header.MajorSubsystemVersion, (int)header.MinorSubsystemVersion);
        const auto osVersion = std::make_pair((int)header.MajorOperatingSystemVersion, (int)header.MinorOperatingSystemVersion);
        EXPECT_EQ(subsystemVersion, std::make_pair(6, 0));
        EXPECT_EQ(osVersion, std::make_pair(6, 0));
        EXPECT_TRUE(program.exactly ? needed == subsystemVersion : needed <= subsystemVersion);
        FreeLibrary(module);
    }
}
