// NetworkFixtures.h: what the network tests share: control of the local update
// server, the default browser and its profile folder, the system proxy setting, and a
// progress window whose bar positions are logged.
#pragma once

#include "update/ProgressDlg.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The local update server (tools/update_server.py), reached directly on loopback.
namespace UpdateServer {
int Port();
// "127.0.0.1:PORT"
std::string Address();
// One control request; the status code (0 when the server could not be reached).
int Control(const char* verb, const std::string& path, const std::string& body = std::string(),
            std::string* response = nullptr);
void Reset();
// name -> {CurrentVersion, ProductURL}; entries are JSON members built by Entry.
void SetCatalogue(const std::vector<std::string>& entries);
std::string Entry(const std::string& name, const char* version, const char* url);
// A JSON object such as {"mode": "silent", "hold": 40}.
void SetBehaviour(const std::string& json);
int RequestCount();
std::string RequestBytes(int index);
// Text as a JSON string literal, quotes included.
std::string JsonString(const std::string& text);
}  // namespace UpdateServer

// A WinHttpSettings value as netsh writes it: size, counter, flags (3 a named proxy, 1
// direct), then the proxy and the bypass list, each after its length.
std::string WinHttpSettings(unsigned flags, const std::string& proxy, const std::string& bypass);

// Replaces the "http" association's open command for one test.
class ScopedBrowser {
public:
    // command: the whole command line; empty removes the command (no association).
    explicit ScopedBrowser(const std::string& command);
    ~ScopedBrowser();
    ScopedBrowser(const ScopedBrowser&) = delete;
    ScopedBrowser& operator=(const ScopedBrowser&) = delete;
    // An empty program file at folder\name (AssocQueryString looks the program up).
    static std::string MakeProgram(const std::string& folder, const std::string& name);
    static std::string CommandFor(const std::string& program) { return "\"" + program + "\" \"%1\""; }

private:
    bool m_bHadCommand;
    std::string m_saved;
};

// Points the user's AppData shell folder at a fresh folder for one test.
class ScopedAppData {
public:
    ScopedAppData();
    ~ScopedAppData();
    ScopedAppData(const ScopedAppData&) = delete;
    ScopedAppData& operator=(const ScopedAppData&) = delete;
    const std::string& Folder() const { return m_folder; }  // no trailing '\'
    // Writes folder\relative, creating the folders on the way.
    static void WriteFile(const std::string& path, const std::string& text);

private:
    std::string m_folder;
    bool m_bHadValue;
    std::string m_saved;
};

// The system's preconfigured proxy (Internet Settings ProxyEnable/ProxyServer).
class ScopedSystemProxy {
public:
    explicit ScopedSystemProxy(const std::string& server);  // empty: no proxy
    ~ScopedSystemProxy();
    ScopedSystemProxy(const ScopedSystemProxy&) = delete;
    ScopedSystemProxy& operator=(const ScopedSystemProxy&) = delete;

private:
    std::string m_enable;
    std::string m_server;
    bool m_bHadEnable;
    bool m_bHadServer;
};

// A created progress window over an owner window; every PBM_SETPOS its bar receives
// after creation is logged, and onPosition may act on it (e.g. press Cancel).
class ProgressProbe {
public:
    ProgressProbe();
    ~ProgressProbe();
    ProgressProbe(const ProgressProbe&) = delete;
    ProgressProbe& operator=(const ProgressProbe&) = delete;

    CProgressDlg& Dialog() { return m_progress; }
    std::vector<int> positions;
    std::function<void(int)> onPosition;
    // Posts a click of the window's Cancel button; it takes effect at the next report.
    void PressCancel();

private:
    static LRESULT CALLBACK BarProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND m_hOwner;
    HWND m_hBar;
    WNDPROC m_oldProc;
    CProgressDlg m_progress;
};
