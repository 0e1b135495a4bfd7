// SingleInstanceApp.cpp: CSingleInstanceApp, one copy per logon session.
#include "app/PackageApp.h"
#include "app/GuardRole.h"
#include "framework/AnsiCodePage.h"

#include <string.h>

static_assert(kGuardAccessDenied == ERROR_ACCESS_DENIED && kGuardAlreadyExists == ERROR_ALREADY_EXISTS,
              "the guard's error codes are Win32's");

CSingleInstanceApp::CSingleInstanceApp(const char* instanceName, bool claimGuard)
    : CWinApp(nullptr), m_bFirstInstance(true), m_hMapping(nullptr), m_pBlock(nullptr)
{
    g_nInstanceMessage = ::RegisterWindowMessageA(instanceName);
    if (!claimGuard)
        return;

    ::SetLastError(0);
    m_hMapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(InstanceBlock), instanceName);
    // Read at once: the mapping's outcome alone decides which copy this is.
    m_bFirstInstance = IsFirstCopy(m_hMapping != nullptr, ::GetLastError());
    if (!m_hMapping)
        return;
    // Without a view nothing is written or posted; the handle still marks the mapping
    // for the copies started after this one.
    m_pBlock = static_cast<InstanceBlock*>(::MapViewOfFile(m_hMapping, FILE_MAP_WRITE, 0, 0, 0));
    if (!m_pBlock)
        return;
    if (m_bFirstInstance) {
        m_pBlock->threadId = ::GetCurrentThreadId();
        m_pBlock->commandLine[0] = '\0';
    }
}

CSingleInstanceApp::~CSingleInstanceApp()
{
    if (m_pBlock)
        ::UnmapViewOfFile(m_pBlock);
    m_pBlock = nullptr;
    if (m_hMapping)
        ::CloseHandle(m_hMapping);
    m_hMapping = nullptr;
}

void CSingleInstanceApp::AnnounceInstance()
{
    if (!m_pBlock)
        return;
    if (m_bFirstInstance) {
        m_pBlock->threadId = ::GetCurrentThreadId();
        m_pBlock->commandLine[0] = '\0';
        return;
    }
    // Cut to 2047 bytes as lstrcpynA would, but never inside a character.
    const char* commandLine = ::GetCommandLineA();
    CopyCharPrefix(m_pBlock->commandLine, sizeof(m_pBlock->commandLine), commandLine,
                   strnlen(commandLine, sizeof(m_pBlock->commandLine)), AnsiLeadBytes());
    // Nothing depends on the post; the first copy passes the message over.
    ::PostThreadMessageA(m_pBlock->threadId, g_nInstanceMessage, 0, 0);
}

namespace {

BOOL CALLBACK FindInstanceWindowProc(HWND hWnd, LPARAM lParam)
{
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutA(hWnd, g_nInstanceMessage, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, 200, &answer))
        return TRUE;
    if (answer != g_nInstanceMessage)
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

}  // namespace

HWND CSingleInstanceApp::FindFirstInstanceWindow()
{
    // Without a registered id every window would "answer" message 0 with 0.
    if (g_nInstanceMessage == 0)
        return nullptr;
    HWND found = nullptr;
    ::EnumWindows(FindInstanceWindowProc, reinterpret_cast<LPARAM>(&found));
    return found;
}
