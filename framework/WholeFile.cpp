// WholeFile.cpp: a file replaced whole through a temporary file beside it.
#include "framework/WholeFile.h"

#include <vector>

CWholeFile::CWholeFile() : m_file(INVALID_HANDLE_VALUE), m_error(ERROR_SUCCESS)
{
}

CWholeFile::~CWholeFile()
{
    Discard();
}

bool CWholeFile::Open(const char* target)
{
    Discard();
    m_target = target ? target : "";
    // The system splits the path: its file part starts after the last separator, found
    // by character, so a trail byte 0x5C is never taken for one.
    char* filePart = nullptr;
    const DWORD size = ::GetFullPathNameA(m_target.c_str(), 0, nullptr, nullptr);
    std::vector<char> full(size + 1);
    const bool resolved = size != 0 && ::GetFullPathNameA(m_target.c_str(), size + 1, full.data(), &filePart) != 0;
    if (!resolved || !filePart || !*filePart) {
        m_error = resolved ? ERROR_INVALID_NAME : ::GetLastError();  // a folder, not a file
        return false;
    }
    m_target = full.data();
    const std::string folder(full.data(), filePart);
    // Windows refuses to move a file over a read-only one or a folder; say so before
    // anything is written.
    const DWORD attributes = ::GetFileAttributesA(m_target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        m_error = ERROR_ACCESS_DENIED;
        return false;
    }

    // GetTempFileNameA creates the file, with a name of its own in that folder.
    char temporary[MAX_PATH] = {};
    if (!::GetTempFileNameA(folder.c_str(), "vx", 0, temporary)) {
        m_error = ::GetLastError();
        return false;
    }
    m_temporary = temporary;
    m_file = ::CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_file == INVALID_HANDLE_VALUE) {
        m_error = ::GetLastError();
        Discard();
        return false;
    }
    return true;
}

bool WriteAll(HANDLE file, const void* data, DWORD size, DWORD* error)
{
    DWORD written = 0;
    if (!::WriteFile(file, data, size, &written, nullptr)) {
        *error = ::GetLastError();
        if (*error == ERROR_SUCCESS)
            *error = ERROR_WRITE_FAULT;
        return false;
    }
    if (written != size) {
        *error = ERROR_DISK_FULL;
        return false;
    }
    return true;
}

bool CWholeFile::Write(const void* data, DWORD size)
{
    return WriteAll(m_file, data, size, &m_error);
}

bool CWholeFile::Commit()
{
    if (m_file == INVALID_HANDLE_VALUE)
        return false;
    BOOL flushed = ::FlushFileBuffers(m_file);
    DWORD flushError = ::GetLastError();
    ::CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    if (!flushed) {
        m_error = flushError;
        Discard();
        return false;
    }
    if (!::MoveFileExA(m_temporary.c_str(), m_target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        m_error = ::GetLastError();
        Discard();
        return false;
    }
    m_temporary.clear();
    return true;
}

void CWholeFile::Discard()
{
    if (m_file != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    if (!m_temporary.empty())
        ::DeleteFileA(m_temporary.c_str());
    m_temporary.clear();
}
