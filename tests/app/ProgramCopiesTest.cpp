// ProgramCopiesTest.cpp: copies of the real program started side by side, and the
// application object's later-copy path in this process.
#include "app/PackageApp.h"
#include "res/resource.h"
#include "tests/app/LockedMapping.h"
#include "tests/support/TestProcess.h"
#include "tests/support/TestRegistry.h"
#include <gtest/gtest.h>
#include <string>

namespace {

const char kPackage[] = "Studio Pack";

std::string ProgramCommand(const std::string& arguments)
{
    std::string line = "\"" + BinDir() + "vantorix.exe\"";
    if (!arguments.empty())
        line += " " + arguments;
    return line;
}

HWND WindowOfProcess(DWORD processId, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        HWND h = CSingleInstanceApp::FindFirstInstanceWindow();
        DWORD owner = 0;
        if (h && GetWindowThreadProcessId(h, &owner) && owner == processId)
            return h;
        Sleep(100);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

// One started copy of the program; ended through its window's close box if it is
// still running at the end of the test.
class ProgramCopy {
public:
    explicit ProgramCopy(const std::string& arguments) : m_command(ProgramCommand(arguments))
    {
        m_hProcess = StartProcess(m_command);
    }
    ~ProgramCopy()
    {
        if (!m_hProcess)
            return;
        if (WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT) {
            HWND h = WindowOfProcess(GetProcessId(m_hProcess), 0);
            if (h)
                PostMessageA(h, WM_CLOSE, 0, 0);
        }
        WaitProcess(m_hProcess, 15000);
        CloseHandle(m_hProcess);
    }
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;

    bool Started() const { return m_hProcess != nullptr; }
    HWND WaitForWindow() const { return WindowOfProcess(GetProcessId(m_hProcess), 20000); }
    // The exit code, or -1 when it did not end within timeoutMs.
    int WaitExit(DWORD timeoutMs) const
    {
        if (WaitForSingleObject(m_hProcess, timeoutMs) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(m_hProcess, &code);
        return static_cast<int>(code);
    }
    const std::string& Command() const { return m_command; }
    HANDLE Handle() const { return m_hProcess; }

private:
    std::string m_command;
    HANDLE m_hProcess = nullptr;
};

// A copy of the guard's block, read as another process sees it.
bool ReadBlock(InstanceBlock* out)
{
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, kInstanceName);
    if (!mapping)
        return false;
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    if (view)
        memcpy(out, view, sizeof(*out));
    if (view)
        UnmapViewOfFile(view);
    CloseHandle(mapping);
    return view != nullptr;
}

bool WaitUntil(bool (*condition)(HWND), HWND h, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!condition(h)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

bool IsRestoredInFront(HWND h)
{
    return !IsIconic(h) && GetForegroundWindow() == h;
}

bool IsForeground(HWND h)
{
    return GetForegroundWindow() == h;
}

bool IsEnabled(HWND h)
{
    return IsWindowEnabled(h) != FALSE;
}

// The About box that the main window h shows, once it is there; null after 10 s.
HWND WaitForAboutBox(HWND h)
{
    for (int i = 0; i < 100; ++i) {
        HWND about = FindWindowA(nullptr, "About Vantorix");
        if (about && GetWindow(about, GW_OWNER) == h && IsWindowVisible(about))
            return about;
        Sleep(100);
    }
    return nullptr;
}

// A plain window of the test's own to take the foreground away from the program.
HWND CreatePlainWindow()
{
    return CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200, 100, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

class ProgramCopies : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_nInstanceMessage = RegisterWindowMessageA(kInstanceName);
        m_packages.Add(kPackage, "1.0");
        m_packages.SetString(kPackage, "ProductURL", "http://example.invalid/studio-pack");
        m_logDir = MakeTempDir("copies");
        m_log = m_logDir + "recorder.log";
        SetEnvironmentVariableA("VANTORIX_RECORDER_LOG", m_log.c_str());
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("VANTORIX_RECORDER_LOG", nullptr);
        DeleteFileA(m_log.c_str());
        RemoveDirectoryA(m_logDir.c_str());
    }

    ScopedPackages m_packages;
    std::string m_logDir;
    std::string m_log;
};

}  // namespace

TEST_F(ProgramCopies, SecondCopyRestoresTheFirstAndEnds)
{
    ProgramCopy first("");
    ASSERT_TRUE(first.Started());
    HWND h = first.WaitForWindow();
    ASSERT_NE(h, nullptr);

    HWND other = CreatePlainWindow();
    ShowWindow(h, SW_MINIMIZE);
    SetForegroundWindow(other);
    ASSERT_TRUE(IsIconic(h));

    ProgramCopy second("");
    EXPECT_EQ(second.WaitExit(20000), 0);
    EXPECT_TRUE(WaitUntil(IsRestoredInFront, h, 3000));
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_EQ(first.WaitExit(0), -1);

    // The block names the first copy's main thread and holds the later copy's line.
    InstanceBlock block;
    ASSERT_TRUE(ReadBlock(&block));
    EXPECT_EQ(block.threadId, GetWindowThreadProcessId(h, nullptr));
    EXPECT_EQ(std::string(block.commandLine), second.Command());

    // Brought forward while not minimised: it stays as it is and comes to the front.
    SetForegroundWindow(other);
    ProgramCopy third("");
    EXPECT_EQ(third.WaitExit(20000), 0);
    EXPECT_TRUE(WaitUntil(IsRestoredInFront, h, 3000));
    DestroyWindow(other);

    PostMessageA(h, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.WaitExit(15000), 0);
}

TEST_F(ProgramCopies, SecondCopyBringsTheFirstCopysAboutBoxForward)
{
    ProgramCopy first("");
    HWND h = first.WaitForWindow();
    ASSERT_NE(h, nullptr);
    PostMessageA(h, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = WaitForAboutBox(h);
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(IsWindowEnabled(h));

    HWND other = CreatePlainWindow();
    SetForegroundWindow(other);
    ProgramCopy second("");
    EXPECT_EQ(second.WaitExit(20000), 0);
    EXPECT_TRUE(WaitUntil(IsForeground, about, 3000));

    // Minimised: the main window is restored, and its About box comes to the front.
    ShowWindow(h, SW_MINIMIZE);
    SetForegroundWindow(other);
    ProgramCopy third("");
    EXPECT_EQ(third.WaitExit(20000), 0);
    EXPECT_TRUE(WaitUntil(IsForeground, about, 3000));
    EXPECT_FALSE(IsIconic(h));
    EXPECT_TRUE(IsWindowVisible(about));
    DestroyWindow(other);

    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil(IsEnabled, h, 5000));
    PostMessageA(h, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.WaitExit(15000), 0);
}

TEST_F(ProgramCopies, CopyThatMayNotOpenTheGuardEndsWithoutAWindow)
{
    // The guard as a copy running elevated holds it: this user may not open it.
    HANDLE held = CreateLockedMapping(kInstanceName);
    ASSERT_NE(held, nullptr);
    ASSERT_EQ(GetLastError(), 0u);
    ProgramCopy later("");
    EXPECT_EQ(later.WaitExit(20000), 0);
    EXPECT_EQ(CSingleInstanceApp::FindFirstInstanceWindow(), nullptr);
    CloseHandle(held);
}

TEST_F(ProgramCopies, LaterCopyWithPackageAndVersionDoesNotPurchase)
{
    ProgramCopy first("");
    ASSERT_NE(first.WaitForWindow(), nullptr);
    ProgramCopy later("/n \"Studio Pack\" /v 1.0");
    EXPECT_EQ(later.WaitExit(20000), 0);
    // Give a browser that a purchase would have started the time to write.
    Sleep(2000);
    EXPECT_EQ(ReadWholeFile(m_log), "");
    EXPECT_EQ(first.WaitExit(0), -1);
}

TEST_F(ProgramCopies, LaterCopysLongCommandLineIsCutTo2047)
{
    ProgramCopy first("");
    ASSERT_NE(first.WaitForWindow(), nullptr);
    std::string filler(3000, 'w');
    ProgramCopy later(filler);
    ASSERT_GT(later.Command().size(), 3000u);
    EXPECT_EQ(later.WaitExit(20000), 0);
    InstanceBlock block;
    ASSERT_TRUE(ReadBlock(&block));
    ASSERT_EQ(strnlen(block.commandLine, sizeof(block.commandLine)), 2047u);
    EXPECT_EQ(std::string(block.commandLine), later.Command().substr(0, 2047));
}

TEST_F(ProgramCopies, LaterCopyPostsToTheHoldersThreadAndEndsWithoutAWindow)
{
    // This process holds the guard but has no main window.
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(InstanceBlock),
                                        kInstanceName);
    ASSERT_NE(mapping, nullptr);
    ASSERT_EQ(GetLastError(), 0u);
    InstanceBlock* block = static_cast<InstanceBlock*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(block, nullptr);
    block->threadId = GetCurrentThreadId();
    block->commandLine[0] = '\0';
    MSG msg;
    while (PeekMessageA(&msg, nullptr, g_nInstanceMessage, g_nInstanceMessage, PM_REMOVE)) {
    }

    ProgramCopy later("/n \"Studio Pack\" /v 1.0");
    EXPECT_EQ(later.WaitExit(20000), 0);
    EXPECT_EQ(std::string(block->commandLine), later.Command());
    EXPECT_EQ(block->threadId, GetCurrentThreadId());
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, g_nInstanceMessage, g_nInstanceMessage, PM_REMOVE));
    Sleep(1000);
    EXPECT_EQ(ReadWholeFile(m_log), "");

    UnmapViewOfFile(block);
    CloseHandle(mapping);
}

TEST_F(ProgramCopies, FirstCopyRunsTheWayItsCommandLineChooses)
{
    // A package without a version: the program ends by itself.
    {
        ProgramCopy quick("/n \"Studio Pack\"");
        EXPECT_EQ(quick.WaitExit(30000), 0);
        EXPECT_EQ(CSingleInstanceApp::FindFirstInstanceWindow(), nullptr);
    }
    // A package and a version: the purchase page opens, and no main window.
    {
        ProgramCopy purchase("/n \"Studio Pack\" /v 1.0");
        EXPECT_EQ(purchase.WaitExit(30000), 0);
        std::string log;
        for (int i = 0; i < 100 && log.empty(); ++i) {
            Sleep(100);
            log = ReadWholeFile(m_log);
        }
        EXPECT_NE(log.find("http://example.invalid/studio-pack"), std::string::npos) << log;
    }
    // Unknown and case-changed flags: the main window.
    {
        ProgramCopy normal("/N \"Studio Pack\" /V 1.0");
        HWND h = normal.WaitForWindow();
        ASSERT_NE(h, nullptr);
        EXPECT_TRUE(IsWindowVisible(h));
    }
    // A scripted copy holds no guard: a copy started while its usage box is open shows
    // its own window, and the box's OK ends the scripted copy with 0.
    {
        ProgramCopy usage("/?");
        HWND box = nullptr;
        DWORD owner = 0;
        for (int i = 0; i < 200 && owner != GetProcessId(usage.Handle()); ++i) {
            Sleep(100);
            box = FindWindowA("#32770", "Vantorix");
            owner = 0;
            GetWindowThreadProcessId(box, &owner);
        }
        ASSERT_EQ(owner, GetProcessId(usage.Handle()));
        ProgramCopy normal("");
        EXPECT_NE(normal.WaitForWindow(), nullptr);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(usage.WaitExit(15000), 0);
    }
}

// A first copy's main window: answers the instance message with its id.
static LRESULT CALLBACK AnswerInstanceMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == g_nInstanceMessage)
        return g_nInstanceMessage;
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

TEST(PackageApp, LaterCopyBringsTheAnsweringWindowForward)
{
    // The test holds the guard as the first copy; its window answers the message.
    CSingleInstanceApp holder(kInstanceName);
    ASSERT_TRUE(holder.IsFirstInstance());
    WNDCLASSA wc = {};
    wc.lpfnWndProc = AnswerInstanceMessage;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VantorixTestFirstCopy";
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(0, wc.lpszClassName, "first", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 200,
                             nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(h, nullptr);
    HWND other = CreatePlainWindow();
    ShowWindow(h, SW_MINIMIZE);
    SetForegroundWindow(other);

    {
        CPackageApp app;
        EXPECT_FALSE(app.IsFirstInstance());
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(app.m_pMainWnd, nullptr);
    }
    EXPECT_FALSE(IsIconic(h));
    EXPECT_EQ(GetForegroundWindow(), h);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, g_nInstanceMessage, g_nInstanceMessage, PM_REMOVE));
    DestroyWindow(other);
    DestroyWindow(h);
}
