// NetworkFixtures.cpp: the local update server's control, browser, AppData and proxy
// settings for the network tests, and the logging progress window.
#include "tests/network/NetworkFixtures.h"

#include "tests/support/TestProcess.h"
#include "tests/support/TestRegistry.h"
#include "update/InternetHandle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

const char kCommandKey[] = "http\\shell\\open\\command";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kInternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

void RestoreValue(HKEY root, const char* path, const char* name, bool had, const std::string& data, DWORD type)
{
    if (had) {
        SetRawValue(root, path, name, type, data.data(), (DWORD)data.size());
        return;
    }
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name);
        RegCloseKey(key);
    }
}

}  // namespace

namespace UpdateServer {

int Port()
{
    const char* text = getenv("VANTORIX_UPDATE_PORT");
    int port = text ? atoi(text) : 0;
    return port > 0 ? port : 18765;
}

std::string Address()
{
    return "127.0.0.1:" + std::to_string(Port());
}

int Control(const char* verb, const std::string& path, const std::string& body, std::string* response)
{
    CInternetHandle root(InternetOpenA("network tests", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    CInternetHandle connection(
        InternetConnectA(root, "127.0.0.1", (INTERNET_PORT)Port(), "", "", INTERNET_SERVICE_HTTP, 0, 0));
    CInternetHandle request(HttpOpenRequestA(connection, verb, ("/control/" + path).c_str(), "HTTP/1.0", nullptr,
                                             nullptr, INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD, 0));
    if (!request.IsOpen() ||
        !HttpSendRequestA(request, nullptr, 0, (void*)body.data(), (DWORD)body.size()))
        return 0;
    DWORD status = 0;
    DWORD size = sizeof(status);
    HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr);
    std::string data;
    char buffer[4096];
    DWORD read = 0;
    while (InternetReadFile(request, buffer, sizeof(buffer), &read) && read)
        data.append(buffer, read);
    if (response)
        *response = data;
    return (int)status;
}

void Reset()
{
    ASSERT_EQ(200, Control("POST", "reset")) << "the update server does not answer on " << Address();
}

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += (char)c;
        } else if (c < 0x20) {
            char escaped[8];
            snprintf(escaped, sizeof(escaped), "\\u%04x", c);
            out += escaped;
        } else {
            out += (char)c;
        }
    }
    return out + "\"";
}

std::string Entry(const std::string& name, const char* version, const char* url)
{
    std::string entry = JsonString(name) + ": {";
    if (version)
        entry += "\"CurrentVersion\": " + JsonString(version);
    if (url)
        entry += std::string(version ? ", " : "") + "\"ProductURL\": " + JsonString(url);
    return entry + "}";
}

void SetCatalogue(const std::vector<std::string>& entries)
{
    std::string json = "{";
    for (size_t i = 0; i < entries.size(); ++i)
        json += (i ? ", " : "") + entries[i];
    json += "}";
    ASSERT_EQ(200, Control("POST", "catalogue", json));
}

void SetBehaviour(const std::string& json)
{
    ASSERT_EQ(200, Control("POST", "behaviour", json)) << json;
}

int RequestCount()
{
    std::string text;
    if (Control("GET", "requests/count", std::string(), &text) != 200)
        return -1;
    return atoi(text.c_str());
}

std::string RequestBytes(int index)
{
    std::string data;
    if (Control("GET", "requests/" + std::to_string(index), std::string(), &data) != 200)
        return std::string();
    return data;
}

}  // namespace UpdateServer

ScopedBrowser::ScopedBrowser(const std::string& command)
{
    m_bHadCommand = ValueExists(HKEY_CLASSES_ROOT, kCommandKey, "");
    m_saved = ReadRawValue(HKEY_CLASSES_ROOT, kCommandKey, "");
    if (!command.empty()) {
        SetStringValue(HKEY_CLASSES_ROOT, kCommandKey, "", command.c_str());
    } else {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kCommandKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "");
            RegCloseKey(key);
        }
    }
}

ScopedBrowser::~ScopedBrowser()
{
    RestoreValue(HKEY_CLASSES_ROOT, kCommandKey, "", m_bHadCommand, m_saved, REG_SZ);
}

std::string ScopedBrowser::MakeProgram(const std::string& folder, const std::string& name)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string path = folder + (folder.back() == '\\' ? "" : "\\") + name;
    WriteWholeFile(path, "MZ");
    return path;
}

ScopedAppData::ScopedAppData()
{
    m_bHadValue = ValueExists(HKEY_CURRENT_USER, kShellFolders, "AppData");
    m_saved = ReadRawValue(HKEY_CURRENT_USER, kShellFolders, "AppData");
    m_folder = MakeTempDir("appdata");
    m_folder.pop_back();
    SetStringValue(HKEY_CURRENT_USER, kShellFolders, "AppData", m_folder.c_str());
}

ScopedAppData::~ScopedAppData()
{
    RestoreValue(HKEY_CURRENT_USER, kShellFolders, "AppData", m_bHadValue, m_saved, REG_SZ);
}

void ScopedAppData::WriteFile(const std::string& path, const std::string& text)
{
    for (size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1))
        CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    ASSERT_TRUE(WriteWholeFile(path, text)) << path;
}

ScopedSystemProxy::ScopedSystemProxy(const std::string& server)
{
    m_bHadEnable = ValueExists(HKEY_CURRENT_USER, kInternetSettings, "ProxyEnable");
    m_bHadServer = ValueExists(HKEY_CURRENT_USER, kInternetSettings, "ProxyServer");
    m_enable = ReadRawValue(HKEY_CURRENT_USER, kInternetSettings, "ProxyEnable");
    m_server = ReadRawValue(HKEY_CURRENT_USER, kInternetSettings, "ProxyServer");
    SetDwordValue(HKEY_CURRENT_USER, kInternetSettings, "ProxyEnable", server.empty() ? 0 : 1);
    if (!server.empty())
        SetStringValue(HKEY_CURRENT_USER, kInternetSettings, "ProxyServer", server.c_str());
}

ScopedSystemProxy::~ScopedSystemProxy()
{
    RestoreValue(HKEY_CURRENT_USER, kInternetSettings, "ProxyEnable", m_bHadEnable, m_enable, REG_DWORD);
    RestoreValue(HKEY_CURRENT_USER, kInternetSettings, "ProxyServer", m_bHadServer, m_server, REG_SZ);
}

ProgressProbe::ProgressProbe() : m_hOwner(nullptr), m_hBar(nullptr), m_oldProc(nullptr)
{
    m_hOwner = CreateWindowExA(0, "STATIC", "probe owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    CWnd owner(m_hOwner);
    if (!m_progress.Create(&owner))
        return;
    m_hBar = ::GetDlgItem(m_progress.m_hWnd, 1003);
    SetPropA(m_hBar, "ProgressProbe", this);
    m_oldProc = (WNDPROC)SetWindowLongPtrA(m_hBar, GWLP_WNDPROC, (LONG_PTR)&ProgressProbe::BarProc);
}

ProgressProbe::~ProgressProbe()
{
    if (m_hBar && IsWindow(m_hBar)) {
        SetWindowLongPtrA(m_hBar, GWLP_WNDPROC, (LONG_PTR)m_oldProc);
        RemovePropA(m_hBar, "ProgressProbe");
    }
    m_progress.DestroyWindow();
    if (m_hOwner)
        DestroyWindow(m_hOwner);
    // Leave no posted message of this probe to the next test.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

void ProgressProbe::PressCancel()
{
    PostMessageA(::GetDlgItem(m_progress.m_hWnd, IDCANCEL), BM_CLICK, 0, 0);
}

LRESULT CALLBACK ProgressProbe::BarProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ProgressProbe* probe = static_cast<ProgressProbe*>(GetPropA(hWnd, "ProgressProbe"));
    if (msg == PBM_SETPOS && probe) {
        probe->positions.push_back((int)wParam);
        if (probe->onPosition)
            probe->onPosition((int)wParam);
    }
    return CallWindowProcA(probe ? probe->m_oldProc : DefWindowProcA, hWnd, msg, wParam, lParam);
}

std::string WinHttpSettings(unsigned flags, const std::string& proxy, const std::string& bypass)
{
    std::string data;
    for (unsigned word : {0x28u, 1u, flags, (unsigned)proxy.size()})
        data.append(reinterpret_cast<const char*>(&word), 4);
    const unsigned length = (unsigned)bypass.size();
    return data + proxy + std::string(reinterpret_cast<const char*>(&length), 4) + bypass;
}
