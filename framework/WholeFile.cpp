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
    DWORD size = ::GetFullPathNameA(m_target.c_str(), 0, nullptr, nullptr);
    std::vector<char> full(size + 1);
    if (size == 0 || ::GetFullPathNameA(m_target.c_str(), size + 1, full.data(), &filePart) == 0 || !filePart ||
        !*filePart) {
        m_error = size == 0 ? ::GetLastError() : ERROR_INVALID_NAME;
        if (m_error == ERROR_SUCCESS)
            m_error = ERROR_INVALID_NAME;
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
    char temporary[MAX_PATH + 16] = {};
    if (folder.size() > MAX_PATH - 14 || !::GetTempFileNameA(folder.c_str(), "vx", 0, temporary)) {
        m_error = folder.size() > MAX_PATH - 14 ? ERROR_FILENAME_EXCED_RANGE : ::GetLastError();
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

bool CWholeFile::Write(const void* data, DWORD size)
{
    DWORD written = 0;
    if (!::WriteFile(m_file, data, size, &written, nullptr)) {
        m_error = ::GetLastError();
        return false;
    }
    if (written != size) {
        m_error = ERROR_DISK_FULL;  // a short write without a reason
        return false;
    }
    return true;
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
