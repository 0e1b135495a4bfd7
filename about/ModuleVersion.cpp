// ModuleVersion.cpp: reading the fixed part and the "FileVersion" text of a module.
#include "about/ModuleVersion.h"
#include "framework/AnsiCodePage.h"
#include "framework/SystemLibrary.h"

#include <stdio.h>
#include <string.h>

namespace {

char* CopyText(const char* text)
{
    size_t size = strlen(text) + 1;
    char* copy = new char[size];
    memcpy(copy, text, size);
    return copy;
}

}  // namespace

CModuleVersion::CModuleVersion(const char* path)
    : m_path(nullptr), m_valid(0), m_versionData(nullptr), m_fixedInfo(), m_parts()
{
    m_path = (path && *path) ? CopyText(path) : GetOwnModulePath();
    if (m_path)
        m_valid = ReadVersionInfo();
}

CModuleVersion::~CModuleVersion()
{
    Reset();
    delete[] m_path;
}

char* CModuleVersion::GetOwnModulePath()
{
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(::GetModuleHandleA(nullptr), path, sizeof(path));
    if (n == 0)
        return nullptr;
    if (n >= sizeof(path))  // XP leaves a cut name without its zero
        CopyCharPrefix(path, sizeof(path), path, strnlen(path, sizeof(path)), AnsiLeadBytes());
    return CopyText(path);
}

void CModuleVersion::Reset()
{
    delete[] m_versionData;
    m_versionData = nullptr;
    m_valid = 0;
    memset(&m_fixedInfo, 0, sizeof(m_fixedInfo));
}

int CModuleVersion::ReadVersionInfo()
{
    // version.dll from the system folder only; what is read lives in m_versionData.
    CSystemLibrary library("version.dll");
    auto getInfoSize = library.GetProc<decltype(&::GetFileVersionInfoSizeA)>("GetFileVersionInfoSizeA");
    auto getInfo = library.GetProc<decltype(&::GetFileVersionInfoA)>("GetFileVersionInfoA");
    auto queryValue = library.GetProc<decltype(&::VerQueryValueA)>("VerQueryValueA");
    if (!getInfoSize || !getInfo || !queryValue)
        return 0;

    DWORD size = getInfoSize(m_path, nullptr);
    if (size == 0)
        return 0;

    Reset();
    m_versionData = new BYTE[size];
    if (!getInfo(m_path, 0, size, m_versionData))
        return 0;

    void* value = nullptr;
    UINT length = 0;
    if (!queryValue(m_versionData, "\\", &value, &length) || !value)
        return 0;
    // A malformed resource may claim a longer fixed part than the structure holds.
    memcpy(&m_fixedInfo, value, length < sizeof(m_fixedInfo) ? length : sizeof(m_fixedInfo));

    const WORD* translation = nullptr;
    if (!queryValue(m_versionData, "\\VarFileInfo\\Translation",
                    reinterpret_cast<void**>(const_cast<WORD**>(&translation)), &length) ||
        !translation || length < 4)
        return 1;

    char subBlock[64];
    snprintf(subBlock, sizeof(subBlock), "\\StringFileInfo\\%04x%04x\\FileVersion", translation[0],
             translation[1]);
    const char* text = nullptr;
    if (!queryValue(m_versionData, subBlock, reinterpret_cast<void**>(const_cast<char**>(&text)), &length) ||
        !text)
        return 1;

    SplitFileVersion(text, m_parts, AnsiLeadBytes());
    return 1;
}

char* CModuleVersion::GetFileVersionText(char* buffer) const
{
    if (!m_valid) {
        lstrcpyA(buffer, "Unknown");
        return buffer;
    }
    snprintf(buffer, kFileVersionTextSize, "%u.%u.%u.%u", (unsigned)HIWORD(m_fixedInfo.dwFileVersionMS),
             (unsigned)LOWORD(m_fixedInfo.dwFileVersionMS), (unsigned)HIWORD(m_fixedInfo.dwFileVersionLS),
             (unsigned)LOWORD(m_fixedInfo.dwFileVersionLS));
    return buffer;
}
