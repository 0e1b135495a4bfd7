// DialogCatcher.cpp: the dialog-answering thread of the report tests.
#include "tests/report/DialogCatcher.h"

#include <algorithm>

namespace {

// Message boxes keep their text in item 0xFFFF and their icon in item 1088.
const int kMessageTextId = 0xFFFF;
const int kMessageIconId = 1088;

struct FindContext {
    std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM lParam)
{
    char cls[16] = "";
    GetClassNameA(hwnd, cls, sizeof(cls));
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(hwnd))
        reinterpret_cast<FindContext*>(lParam)->dialogs.push_back(hwnd);
    return TRUE;
}

}  // namespace

std::string WindowText(HWND hwnd)
{
    char text[1024] = "";
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

CDialogCatcher::CDialogCatcher(Handler handler)
    : m_handler(std::move(handler)), m_threadId(GetCurrentThreadId()), m_thread(nullptr), m_stop(0)
{
    m_thread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
}

CDialogCatcher::~CDialogCatcher()
{
    Stop();
}

void CDialogCatcher::Stop()
{
    if (!m_thread)
        return;
    InterlockedExchange(&m_stop, 1);
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
}

DWORD WINAPI CDialogCatcher::ThreadProc(void* self)
{
    static_cast<CDialogCatcher*>(self)->Watch();
    return 0;
}

void CDialogCatcher::Watch()
{
    std::vector<HWND> handled;
    while (!m_stop) {
        FindContext found;
        EnumThreadWindows(m_threadId, CollectDialog, reinterpret_cast<LPARAM>(&found));
        for (HWND dialog : found.dialogs) {
            if (std::find(handled.begin(), handled.end(), dialog) != handled.end())
                continue;
            handled.push_back(dialog);
            Sleep(100);  // let the dialog finish its initialisation
            SeenDialog seen;
            seen.hwnd = dialog;
            seen.owner = GetWindow(dialog, GW_OWNER);
            seen.caption = WindowText(dialog);
            if (HWND text = GetDlgItem(dialog, kMessageTextId))
                seen.text = WindowText(text);
            if (HWND icon = GetDlgItem(dialog, kMessageIconId))
                seen.icon = reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0));
            m_seen.push_back(seen);
            bool answered = m_handler && m_handler(dialog, seen, m_seen.size() - 1);
            if (!answered)
                PostMessageA(dialog, WM_COMMAND, GetDlgItem(dialog, IDOK) ? IDOK : IDCANCEL, 0);
        }
        Sleep(20);
    }
}

CTestOwnerWindow::CTestOwnerWindow()
{
    m_hwnd = CreateWindowExA(0, "STATIC", "Report test owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

CTestOwnerWindow::~CTestOwnerWindow()
{
    if (m_hwnd)
        DestroyWindow(m_hwnd);
}
