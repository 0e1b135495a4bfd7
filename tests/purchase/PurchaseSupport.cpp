// PurchaseSupport.cpp: purchase keys, the recorder's log and the agreement driver.
#include "tests/purchase/PurchaseSupport.h"
#include "tests/support/TestProcess.h"
#include "tests/support/TestRegistry.h"
#include "framework/WinApp.h"
#include "res/resource.h"

const char kTestPurchaseRoot[] = "SOFTWARE\\Digital River\\SoftwarePassport";

HKEY CreateKeyStepwise(HKEY root, const std::string& path)
{
    HKEY current = nullptr;
    size_t start = 0;
    for (;;) {
        size_t end = path.find('\\', start);
        std::string part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        HKEY next = nullptr;
        LONG rc = RegCreateKeyExA(current ? current : root, part.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &next, nullptr);
        if (current)
            RegCloseKey(current);
        if (rc != ERROR_SUCCESS)
            return nullptr;
        current = next;
        if (end == std::string::npos)
            return current;
        start = end + 1;
    }
}

void SetStringStepwise(HKEY root, const std::string& path, const char* name, const char* text)
{
    HKEY key = CreateKeyStepwise(root, path);
    if (!key)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), (DWORD)strlen(text) + 1);
    RegCloseKey(key);
}

void DeleteTreeStepwise(HKEY root, const char* path)
{
    RegDeleteTreeA(root, path);  // opens every key below relative to its parent
}

ScopedPurchaseKeys::ScopedPurchaseKeys()
{
    DeleteTreeStepwise(HKEY_LOCAL_MACHINE, kTestPurchaseRoot);
    DeleteTreeStepwise(HKEY_CURRENT_USER, kTestPurchaseRoot);
}

ScopedPurchaseKeys::~ScopedPurchaseKeys()
{
    DeleteTreeStepwise(HKEY_LOCAL_MACHINE, kTestPurchaseRoot);
    DeleteTreeStepwise(HKEY_CURRENT_USER, kTestPurchaseRoot);
}

void ScopedPurchaseKeys::Add(HKEY root, const std::string& company, const std::string& product,
                             const std::string& version, const char* buyUrl)
{
    std::string path = std::string(kTestPurchaseRoot) + "\\" + company + "\\" + product + "\\" + version;
    HKEY key = CreateKeyStepwise(root, path);
    if (key)
        RegCloseKey(key);
    if (buyUrl)
        SetStringStepwise(root, path, "BuyURL", buyUrl);
}

CRecorderLog::CRecorderLog() : m_path(MakeTempDir("recorder") + "opened.log")
{
    SetEnvironmentVariableA("VANTORIX_RECORDER_LOG", m_path.c_str());
}

CRecorderLog::~CRecorderLog()
{
    SetEnvironmentVariableA("VANTORIX_RECORDER_LOG", nullptr);
}

std::string CRecorderLog::WaitForAddress(DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    std::string line;
    for (;;) {
        std::string data = ReadWholeFile(m_path);
        size_t end = data.find("\r\n");
        if (end != std::string::npos) {
            line = data.substr(0, end);
            break;
        }
        if (GetTickCount() - start >= timeoutMs)
            return std::string();
        Sleep(50);
    }
    // The association passes the address as the last, quoted argument.
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    if (!line.empty() && line.back() == '"') {
        size_t open = line.rfind('"', line.size() - 2);
        if (open != std::string::npos)
            return line.substr(open + 1, line.size() - open - 2);
    }
    size_t blank = line.rfind(' ');
    return blank == std::string::npos ? line : line.substr(blank + 1);
}

namespace {

CAgreementDriver* g_driver = nullptr;

std::string WindowText(HWND window)
{
    int length = GetWindowTextLengthA(window);
    std::string text((size_t)length + 1, '\0');
    int n = GetWindowTextA(window, &text[0], length + 1);
    text.resize(n > 0 ? (size_t)n : 0);
    return text;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param)
{
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof(cls));
    if (lstrcmpiA(cls, "Static") == 0)
        *reinterpret_cast<std::string*>(param) += WindowText(child);
    return TRUE;
}

}  // namespace

CAgreementDriver::CAgreementDriver(Answer answer) : m_answer(answer)
{
    g_driver = this;
    m_timer = SetTimer(nullptr, 0, 40, Tick);
}

CAgreementDriver::~CAgreementDriver()
{
    KillTimer(nullptr, m_timer);
    g_driver = nullptr;
}

void CALLBACK CAgreementDriver::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_driver)
        EnumThreadWindows(GetCurrentThreadId(), VisitWindow, reinterpret_cast<LPARAM>(g_driver));
}

BOOL CALLBACK CAgreementDriver::VisitWindow(HWND window, LPARAM param)
{
    CAgreementDriver* self = reinterpret_cast<CAgreementDriver*>(param);
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof(cls));
    if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
        self->m_answered.count(window))
        return TRUE;

    HWND richEdit = GetDlgItem(window, IDC_EULA_TEXT);
    if (richEdit) {
        AgreementSeen& seen = self->seen;
        ++seen.agreements;
        seen.text = WindowText(richEdit);
        seen.limit = SendMessageA(richEdit, EM_GETLIMITTEXT, 0, 0);
        seen.owner = GetWindow(window, GW_OWNER);
        seen.ownerEnabled = seen.owner && IsWindowEnabled(seen.owner);
        CWnd* main = AfxGetMainWnd();
        seen.dialogWasMainWnd = main && main->m_hWnd == window;
        switch (self->m_answer) {
        case Answer::Accept:
            PostMessageA(GetDlgItem(window, IDC_ACCEPT), BM_CLICK, 0, 0);
            break;
        case Answer::Cancel:
            PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
            break;
        case Answer::CloseBox:
            PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
        self->m_answered.insert(window);
        return FALSE;
    }

    // Any other dialog of this thread is the file error box.
    std::string text;
    EnumChildWindows(window, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    ++self->seen.fileErrors;
    self->seen.fileErrorText += text;
    self->seen.fileErrorCaption = WindowText(window);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    self->m_answered.insert(window);
    return FALSE;
}

std::string WriteAgreement(const char* tag, const std::string& rtf)
{
    std::string path = MakeTempDir(tag) + "eula.rtf";
    WriteWholeFile(path, rtf);
    return path;
}
