// DialogCatcher.h: answers the dialogs that the test thread opens, from a second thread,
// while the test thread sits in their modal loops.
#pragma once

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

struct SeenDialog {
    HWND hwnd = nullptr;
    HWND owner = nullptr;
    std::string caption;
    std::string text;     // a message box's text; empty for other dialogs
    HICON icon = nullptr; // a message box's icon
};

// How to use: construct before the call that opens dialogs; each new visible dialog
// ("#32770") of the constructing thread is recorded and handed to the handler, on the
// catcher's thread; without a handler, or when it returns false, the dialog gets
// IDOK (IDCANCEL when it has no OK button). Stop (or the destructor) ends the watch;
// Seen is read after Stop.
class CDialogCatcher {
public:
    using Handler = std::function<bool(HWND dialog, const SeenDialog& seen, size_t index)>;

    explicit CDialogCatcher(Handler handler = nullptr);
    ~CDialogCatcher();
    CDialogCatcher(const CDialogCatcher&) = delete;
    CDialogCatcher& operator=(const CDialogCatcher&) = delete;

    void Stop();
    const std::vector<SeenDialog>& Seen() const { return m_seen; }

private:
    static DWORD WINAPI ThreadProc(void* self);
    void Watch();

    Handler m_handler;
    DWORD m_threadId;
    HANDLE m_thread;
    volatile LONG m_stop;
    std::vector<SeenDialog> m_seen;
};

std::string WindowText(HWND hwnd);
// A top-level window of the test thread that owns the dialogs under test.
class CTestOwnerWindow {
public:
    CTestOwnerWindow();
    ~CTestOwnerWindow();
    CTestOwnerWindow(const CTestOwnerWindow&) = delete;
    CTestOwnerWindow& operator=(const CTestOwnerWindow&) = delete;
    operator HWND() const { return m_hwnd; }

private:
    HWND m_hwnd;
};
