// SingleInstanceTest.cpp: the guard's shared block, the announcement and the search
// for the first copy's window, in this process under names of the test's own.
#include "app/GuardRole.h"
#include "app/PackageApp.h"
#include "tests/app/LockedMapping.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>

namespace {

std::string UniqueName(const char* tag)
{
    static int counter = 0;
    char name[128];
    snprintf(name, sizeof(name), "Vantorix test %s %lu %d", tag, (unsigned long)GetCurrentProcessId(), ++counter);
    return name;
}

// Exposes the guard's members.
class CProbeGuard : public CSingleInstanceApp {
public:
    explicit CProbeGuard(const char* name) : CSingleInstanceApp(name) {}
    InstanceBlock* Block() const { return m_pBlock; }
    HANDLE Mapping() const { return m_hMapping; }
};

void DrainThreadMessages(UINT message)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, message, message, PM_REMOVE)) {
    }
}

// A top-level window that answers the instance message with a fixed value.
LRESULT CALLBACK AnswerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (g_nInstanceMessage && message == g_nInstanceMessage)
        return static_cast<LRESULT>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND CreateAnsweringWindow(LRESULT answer)
{
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = AnswerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VantorixTestAnswer";
        atom = RegisterClassA(&wc);
    }
    HWND h = CreateWindowExA(0, "VantorixTestAnswer", "answer", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(h, GWLP_USERDATA, answer);
    return h;
}

// A window whose thread stops serving messages until released.
struct HungWindow {
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HWND hWnd = nullptr;
    HANDLE thread = nullptr;

    HungWindow()
    {
        thread = CreateThread(nullptr, 0, &HungWindow::Run, this, 0, nullptr);
        WaitForSingleObject(created, 5000);
    }
    ~HungWindow()
    {
        SetEvent(release);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        CloseHandle(created);
        CloseHandle(release);
    }
    static DWORD WINAPI Run(void* p)
    {
        HungWindow* self = static_cast<HungWindow*>(p);
        self->hWnd = CreateAnsweringWindow(g_nInstanceMessage);
        SetEvent(self->created);
        WaitForSingleObject(self->release, INFINITE);
        DestroyWindow(self->hWnd);
        return 0;
    }
};

}  // namespace

TEST(SingleInstance, FirstCopyCreatesTheBlockAndLaterCopiesAnnounceThemselves)
{
    std::string name = UniqueName("guard");
    const UINT message = RegisterWindowMessageA(name.c_str());
    DrainThreadMessages(message);
    {
        CProbeGuard first(name.c_str());
        EXPECT_EQ(g_nInstanceMessage, message);
        ASSERT_TRUE(first.IsFirstInstance());
        ASSERT_NE(first.Block(), nullptr);
        EXPECT_EQ(first.Block()->threadId, GetCurrentThreadId());
        EXPECT_EQ(first.Block()->commandLine[0], '\0');

        const InstanceBlock* shared = first.Block();
        {
            CProbeGuard later(name.c_str());
            EXPECT_FALSE(later.IsFirstInstance());
            ASSERT_NE(later.Block(), nullptr);
            later.AnnounceInstance();
            std::string expected(GetCommandLineA());
            EXPECT_EQ(std::string(shared->commandLine), expected.substr(0, 2047));
            EXPECT_EQ(shared->threadId, GetCurrentThreadId());
            MSG msg;
            EXPECT_TRUE(PeekMessageA(&msg, nullptr, message, message, PM_REMOVE));
            EXPECT_EQ(msg.hwnd, nullptr);
        }
        // The first copy's announcement clears what a later copy left.
        first.AnnounceInstance();
        EXPECT_EQ(shared->commandLine[0], '\0');
        EXPECT_EQ(shared->threadId, GetCurrentThreadId());
        MSG msg;
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, message, message, PM_REMOVE));
    }
    // Both holders are gone: so is the block.
    HANDLE gone = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
    EXPECT_EQ(gone, nullptr);
    if (gone)
        CloseHandle(gone);
    // A new first copy starts from a fresh block.
    CProbeGuard again(name.c_str());
    EXPECT_TRUE(again.IsFirstInstance());
}

TEST(SingleInstance, GuardThatCannotBeCreatedIsNeverWrittenThrough)
{
    // The name is taken by an object of another kind: the mapping cannot be created.
    std::string name = UniqueName("taken");
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
    ASSERT_NE(mutex, nullptr);
    {
        CProbeGuard guard(name.c_str());
        EXPECT_EQ(guard.Mapping(), nullptr);
        EXPECT_EQ(guard.Block(), nullptr);
        EXPECT_TRUE(guard.IsFirstInstance());
        guard.AnnounceInstance();
        CProbeGuard second(name.c_str());
        EXPECT_TRUE(second.IsFirstInstance());
        second.AnnounceInstance();
    }
    CloseHandle(mutex);
}

TEST(SingleInstance, CopyDecidedByTheMappingsOutcome)
{
    // Created; exists; exists but held by a copy with more rights; no guard at all.
    EXPECT_TRUE(IsFirstCopy(true, 0));
    EXPECT_FALSE(IsFirstCopy(true, ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(IsFirstCopy(false, ERROR_ACCESS_DENIED));
    EXPECT_TRUE(IsFirstCopy(false, ERROR_INVALID_HANDLE));

    // A mapping that this copy may not open: a later copy without a block, which
    // neither writes nor posts.
    std::string name = UniqueName("denied");
    const UINT message = RegisterWindowMessageA(name.c_str());
    DrainThreadMessages(message);
    HANDLE held = CreateLockedMapping(name.c_str());
    ASSERT_NE(held, nullptr);
    {
        CProbeGuard later(name.c_str());
        EXPECT_FALSE(later.IsFirstInstance());
        EXPECT_EQ(later.Mapping(), nullptr);
        EXPECT_EQ(later.Block(), nullptr);
        later.AnnounceInstance();
        MSG msg;
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, message, message, PM_REMOVE));
    }
    CloseHandle(held);
}

TEST(SingleInstance, FindsTheWindowThatAnswersWithTheId)
{
    g_nInstanceMessage = RegisterWindowMessageA(UniqueName("search").c_str());
    EXPECT_EQ(CSingleInstanceApp::FindFirstInstanceWindow(), nullptr);

    HWND answering = CreateAnsweringWindow(g_nInstanceMessage);
    HWND wrong = CreateAnsweringWindow(g_nInstanceMessage + 1);
    HWND silent = CreateAnsweringWindow(0);
    ASSERT_TRUE(answering && wrong && silent);
    EXPECT_EQ(CSingleInstanceApp::FindFirstInstanceWindow(), answering);
    {
        // A hung window is passed over after its time-out; the search goes on.
        HungWindow hung;
        ASSERT_NE(hung.hWnd, nullptr);
        // Created last, it is the first in the Z order; nothing here may send to it.
        DWORD start = GetTickCount();
        EXPECT_EQ(CSingleInstanceApp::FindFirstInstanceWindow(), answering);
        EXPECT_LT(GetTickCount() - start, 5000u);
    }
    DestroyWindow(answering);
    EXPECT_EQ(CSingleInstanceApp::FindFirstInstanceWindow(), nullptr);
    DestroyWindow(wrong);
    DestroyWindow(silent);

    // Without a registered id nothing is found, though every window answers 0 to it.
    g_nInstanceMessage = 0;
    HWND any = CreateAnsweringWindow(0);
    EXPECT_EQ(CSingleInstanceApp::FindFirstInstanceWindow(), nullptr);
    DestroyWindow(any);
}
