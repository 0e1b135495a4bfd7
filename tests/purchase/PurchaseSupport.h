// PurchaseSupport.h: what the purchase tests share: the purchase keys, the addresses
// the recorder browser was asked to open, and a driver that answers the agreement.
#pragma once

#include <windows.h>
#include <set>
#include <string>

class CWnd;

extern const char kTestPurchaseRoot[];  // "SOFTWARE\\Digital River\\SoftwarePassport"

// Key paths of any length: Wine's ANSI registry calls refuse paths over MAX_PATH, so
// these go one key at a time. An empty part (two backslashes) names the key itself.
HKEY CreateKeyStepwise(HKEY root, const std::string& path);
void SetStringStepwise(HKEY root, const std::string& path, const char* name, const char* text);
void DeleteTreeStepwise(HKEY root, const char* path);

// The purchase keys of HKLM and HKCU removed before and after one test.
class ScopedPurchaseKeys {
public:
    ScopedPurchaseKeys();
    ~ScopedPurchaseKeys();
    ScopedPurchaseKeys(const ScopedPurchaseKeys&) = delete;
    ScopedPurchaseKeys& operator=(const ScopedPurchaseKeys&) = delete;

    // Creates root\...\SoftwarePassport\<company>\<product>\<version>; buyUrl null
    // leaves BuyURL out.
    void Add(HKEY root, const std::string& company, const std::string& product, const std::string& version,
             const char* buyUrl);
};

// Points VANTORIX_RECORDER_LOG (inherited by the browser the shell starts) at a fresh
// file for one test.
class CRecorderLog {
public:
    CRecorderLog();
    ~CRecorderLog();
    CRecorderLog(const CRecorderLog&) = delete;
    CRecorderLog& operator=(const CRecorderLog&) = delete;

    // The address of the first opened page (the browser's last argument), waiting up
    // to timeoutMs; empty when none was opened.
    std::string WaitForAddress(DWORD timeoutMs = 20000) const;

private:
    std::string m_path;
};

// How the driver answers the agreement dialog.
enum class Answer { Accept, Cancel, CloseBox };

// What the driver saw while the flow ran.
struct AgreementSeen {
    int agreements = 0;         // agreement dialogs answered
    std::string text;           // the rich edit's text (WM_GETTEXT)
    LRESULT limit = 0;          // the rich edit's text limit (EM_GETLIMITTEXT)
    HWND owner = nullptr;       // the agreement dialog's owner
    bool ownerEnabled = false;  // the owner's state while the agreement was shown
    bool dialogWasMainWnd = false;  // AfxGetMainWnd() was the agreement dialog
    int fileErrors = 0;         // file error boxes dismissed
    std::string fileErrorText;  // their texts
    std::string fileErrorCaption;
};

// Answers, from a timer on the test's thread, the agreement dialog and any file
// error box that the running flow shows on that thread.
class CAgreementDriver {
public:
    explicit CAgreementDriver(Answer answer);
    ~CAgreementDriver();
    CAgreementDriver(const CAgreementDriver&) = delete;
    CAgreementDriver& operator=(const CAgreementDriver&) = delete;

    AgreementSeen seen;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK VisitWindow(HWND window, LPARAM param);

    Answer m_answer;
    UINT_PTR m_timer;
    std::set<HWND> m_answered;  // each window is answered once
};

// Writes an agreement file into a fresh folder; returns its path.
std::string WriteAgreement(const char* tag, const std::string& rtf);
