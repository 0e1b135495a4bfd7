// WholeFile.cpp: a file replaced whole through a temporary file beside it.
#include "framework/WholeFile.h"

#include "framework/AnsiCodePage.h"
#include "framework/Handles.h"

#include <vector>

namespace {

// A target held open by another program is tried this often, this far apart: about a second.
const int kTries = 6;
const DWORD kRetryDelayMs = 200;
// What the new file takes over from the old one; its archive bit stays set, as its content
// is new.
const DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Another program has the file open without letting it be deleted. A move over such a
// file fails on Wine with ERROR_ACCESS_DENIED, which a refused right gives as well; only
// the sharing check tells them apart.
bool HeldOpen(const std::wstring& path)
{
    CWinHandle file(::CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    return !file.IsValid() && ::GetLastError() == ERROR_SHARING_VIOLATION;
}

// ReplaceFileW keeps the target's security descriptor. The old file passes through a
// backup name, so that whichever step fails, it is found again under the target's name.
DWORD ReplaceExisting(const std::wstring& target, const std::wstring& replacement, const std::wstring& folder)
{
    wchar_t backup[MAX_PATH] = {};
    if (!::GetTempFileNameW(folder.c_str(), L"vx", 0, backup))
        return ::GetLastError();
    DWORD error = ERROR_SUCCESS;
    if (!::ReplaceFileW(target.c_str(), replacement.c_str(), backup, 0, nullptr, nullptr)) {
        error = ::GetLastError();
        // The old file may be left under the backup name alone; where it cannot be moved
        // back, the backup stays rather than the old content be lost.
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 &&
            ::GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES &&
            !::MoveFileExW(backup, target.c_str(), MOVEFILE_WRITE_THROUGH))
            return error;
    }
    ::DeleteFileW(backup);
    return error;
}

// Windows redirects a standard user's writes that a protected folder (Program Files)
// refuses into the VirtualStore, for a program without an execution level such as this
// one. This turns that off for the process while it lives, and on again after where it
// was on, so that the file lands where its path says or the write fails.
class CVirtualizationOff {
public:
    CVirtualizationOff() : m_bWasOn(false)
    {
        HANDLE token = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY | TOKEN_ADJUST_DEFAULT, &token))
            return;
        m_token.Reset(token);
        DWORD enabled = 0;
        DWORD size = 0;
        DWORD off = 0;
        m_bWasOn = ::GetTokenInformation(token, TokenVirtualizationEnabled, &enabled, sizeof(enabled), &size) &&
                   enabled && ::SetTokenInformation(token, TokenVirtualizationEnabled, &off, sizeof(off));
    }
    ~CVirtualizationOff()
    {
        DWORD on = 1;
        if (m_bWasOn)
            ::SetTokenInformation(m_token, TokenVirtualizationEnabled, &on, sizeof(on));
    }
    CVirtualizationOff(const CVirtualizationOff&) = delete;
    CVirtualizationOff& operator=(const CVirtualizationOff&) = delete;

private:
    CWinHandle m_token;
    bool m_bWasOn;
};

}  // namespace

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
    CVirtualizationOff realPaths;
    m_target = AnsiToWide(target ? target : "");
    wchar_t* filePart = nullptr;
    const DWORD size = ::GetFullPathNameW(m_target.c_str(), 0, nullptr, nullptr);
    std::vector<wchar_t> full(size + 1);
    const bool resolved = size != 0 && ::GetFullPathNameW(m_target.c_str(), size + 1, full.data(), &filePart) != 0;
    if (!resolved || !filePart || !*filePart) {
        m_error = resolved ? ERROR_INVALID_NAME : ::GetLastError();  // a folder, not a file
        return false;
    }
    m_target = full.data();
    m_folder.assign(full.data(), filePart);
    // Windows refuses to move a file over a read-only one or a folder; say so before
    // anything is written.
    const DWORD attributes = ::GetFileAttributesW(m_target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        m_error = ERROR_ACCESS_DENIED;
        return false;
    }

    // GetTempFileNameW creates the file, with a name of its own in that folder.
    wchar_t temporary[MAX_PATH] = {};
    if (!::GetTempFileNameW(m_folder.c_str(), L"vx", 0, temporary)) {
        m_error = ::GetLastError();
        // A folder that does not exist comes back as an invalid folder name.
        if (m_error == ERROR_DIRECTORY && ::GetFileAttributesW(m_folder.c_str()) == INVALID_FILE_ATTRIBUTES)
            m_error = ERROR_PATH_NOT_FOUND;
        return false;
    }
    m_temporary = temporary;
    m_file = ::CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_file == INVALID_HANDLE_VALUE) {
        m_error = ::GetLastError();
        Discard();
        return false;
    }
    return true;
}

std::string CWholeFile::Path() const
{
    return WideToAnsi(m_target);
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
    CVirtualizationOff realPaths;
    BOOL flushed = ::FlushFileBuffers(m_file);
    DWORD flushError = ::GetLastError();
    ::CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    if (!flushed) {
        m_error = flushError;
        Discard();
        return false;
    }
    DWORD kept = INVALID_FILE_ATTRIBUTES;
    for (int attempt = 1;; ++attempt) {
        kept = ::GetFileAttributesW(m_target.c_str());
        DWORD error = ERROR_SUCCESS;
        if (kept != INVALID_FILE_ATTRIBUTES)
            error = ReplaceExisting(m_target, m_temporary, m_folder);
        else if (!::MoveFileExW(m_temporary.c_str(), m_target.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            error = ::GetLastError();
        if (error == ERROR_SUCCESS)
            break;
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || HeldOpen(m_target);
        if (!held || attempt == kTries) {
            m_error = held ? ERROR_SHARING_VIOLATION : error;
            Discard();
            return false;
        }
        ::Sleep(kRetryDelayMs);
    }
    m_temporary.clear();
    // Wine's ReplaceFileW does not carry the attributes over. The new content is in place
    // by now, so the file counts as written whether or not they can be set again.
    if (kept != INVALID_FILE_ATTRIBUTES) {
        const DWORD now = ::GetFileAttributesW(m_target.c_str());
        if (now != INVALID_FILE_ATTRIBUTES && (now & kKeptAttributes) != (kept & kKeptAttributes))
            ::SetFileAttributesW(m_target.c_str(), (now & ~kKeptAttributes) | (kept & kKeptAttributes));
    }
    return true;
}

void CWholeFile::Discard()
{
    if (m_file != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    if (!m_temporary.empty())
        ::DeleteFileW(m_temporary.c_str());
    m_temporary.clear();
}
