// WholeFile.h: CWholeFile, a file replaced whole: written to a temporary file in the
// target's folder, then moved over the target in one step, so that a reader sees the
// old file or the new one, never part of one. An existing target is replaced with
// ReplaceFileW and keeps its security descriptor and its hidden, system and
// not-indexed attributes; a new one is created by the move. Files are never redirected
// into the VirtualStore: a folder that refuses the write is a failure. The path is
// resolved and used in Unicode, so that a current folder whose name the ANSI code page
// cannot hold is found as it is.
//
// How to use: Open with the target's path, Write the content, then Commit. A target
// that another program holds open is tried again for about a second; then Commit fails
// with ERROR_SHARING_VIOLATION. A file that is not committed (a failure, an early
// return) is deleted; the target stays as it was. Error() and Path() name the system's
// reason and the file for a message.
#pragma once

#include <windows.h>
#include <string>

// Writes all of data to file; false with the system's reason in *error otherwise (a
// short write without one counts as a full disk).
bool WriteAll(HANDLE file, const void* data, DWORD size, DWORD* error);

class CWholeFile {
public:
    CWholeFile();
    ~CWholeFile();
    CWholeFile(const CWholeFile&) = delete;
    CWholeFile& operator=(const CWholeFile&) = delete;

    // target: absolute, or relative to the current folder.
    bool Open(const char* target);
    // Writes all of data; false with Error() set otherwise.
    bool Write(const void* data, DWORD size);
    // Closes the temporary file and moves it over the target.
    bool Commit();

    DWORD Error() const { return m_error; }
    // The target's full path (as given until Open has resolved it), in the ANSI code page
    // and as it is.
    std::string Path() const;
    const std::wstring& PathW() const { return m_target; }

private:
    void Discard();

    std::wstring m_target;
    std::wstring m_folder;
    std::wstring m_temporary;
    HANDLE m_file;
    DWORD m_error;
};
