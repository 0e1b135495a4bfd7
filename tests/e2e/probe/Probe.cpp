// Probe.cpp: reads the windows of another process and prints their state as JSON, one
// line per command, for the end-to-end tests that drive the program from outside.
//
//   probe top [pid]                 top-level windows (of one process, or all), the work area
//   probe state HWND [FIRST COUNT]  a window, its controls, list view rows and tooltips
//   probe cursor                    the cursor shown now and its position
//   probe text HWND ID              one control's text, enabled state and rectangle
//   probe send|post HWND MSG WPARAM LPARAM
//   probe show HWND CMD             ShowWindow
//   probe reg ROOT\\PATH             a registry key and all below it, values as raw bytes
//   probe regset ROOT\\PATH [NAME TYPE HEX]  creates the key (and sets the value)
//   probe regdel ROOT\\PATH          deletes the key and everything below it
//   probe attrib PATH [VALUE]       a file's attributes (after setting them to VALUE)
//   probe hold PATH                 keeps PATH open as a reader does, without delete sharing
//   probe release                   closes the files held
//   probe clipboard                 the clipboard's CF_TEXT bytes and CF_LOCALE
//   probe serve                     reads such commands from standard input, one a line
#include "tests/e2e/probe/JsonWriter.h"
#include "tests/e2e/probe/RemoteMemory.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const UINT kTimeoutMs = 3000;
const UINT kSendFlags = SMTO_ABORTIFHUNG | SMTO_BLOCK;

// Layout of the block used for list view and tooltip queries in the target process.
const SIZE_T kStructOffset = 0;
const SIZE_T kRectOffset = 512;
const SIZE_T kTextOffset = 1024;
const SIZE_T kTextSize = 4096;
const SIZE_T kBlockSize = kTextOffset + kTextSize;

// SendMessageTimeout that reports a hung or vanished target instead of blocking.
bool Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutA(hwnd, msg, wp, lp, kSendFlags, kTimeoutMs, &answer))
        return false;
    result = static_cast<LRESULT>(answer);
    return true;
}

LRESULT SendOr(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT otherwise)
{
    LRESULT result = 0;
    return Send(hwnd, msg, wp, lp, result) ? result : otherwise;
}

std::string ClassOf(HWND hwnd)
{
    char name[256] = {};
    ::GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

// The text of a window through WM_GETTEXT, which the system carries across processes.
std::string TextOf(HWND hwnd)
{
    LRESULT length = SendOr(hwnd, WM_GETTEXTLENGTH, 0, 0, 0);
    if (length < 0)
        length = 0;
    if (length > (1 << 22))
        length = 1 << 22;
    // Room to spare: a busy program may change the text between the two messages.
    std::vector<char> buffer(static_cast<size_t>(length) + 4096, '\0');
    SendOr(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), 0);
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

long long HandleValue(const void* h) { return static_cast<long long>(reinterpret_cast<UINT_PTR>(h)); }

void WriteScreenRect(JsonWriter& j, HWND hwnd)
{
    RECT r = {};
    ::GetWindowRect(hwnd, &r);
    j.Rect(r.left, r.top, r.right, r.bottom);
}

// Members every window description has.
void WriteWindowBasics(JsonWriter& j, HWND hwnd)
{
    DWORD pid = 0;
    DWORD tid = ::GetWindowThreadProcessId(hwnd, &pid);
    j.Key("hwnd");
    j.Number(HandleValue(hwnd));
    j.Key("pid");
    j.Number(pid);
    j.Key("tid");
    j.Number(tid);
    j.Key("class");
    j.String(ClassOf(hwnd));
    j.Key("id");
    j.Number(::GetDlgCtrlID(hwnd));
    j.Key("style");
    j.Number(static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE)));
    j.Key("visible");
    j.Bool(::IsWindowVisible(hwnd) != FALSE);
    j.Key("enabled");
    j.Bool(::IsWindowEnabled(hwnd) != FALSE);
    j.Key("rect");
    WriteScreenRect(j, hwnd);
}

void WriteTopWindow(JsonWriter& j, HWND hwnd)
{
    j.BeginObject();
    WriteWindowBasics(j, hwnd);
    char title[1024] = {};
    ::GetWindowTextA(hwnd, title, sizeof(title));
    j.Key("title");
    j.String(title);
    j.Key("iconic");
    j.Bool(::IsIconic(hwnd) != FALSE);
    j.Key("owner");
    j.Number(HandleValue(::GetWindow(hwnd, GW_OWNER)));
    j.Key("foreground");
    j.Bool(::GetForegroundWindow() == hwnd);
    GUITHREADINFO input = {};
    input.cbSize = sizeof(input);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(hwnd, nullptr), &input);
    j.Key("focusId");
    j.Number(::IsChild(hwnd, input.hwndFocus) ? ::GetDlgCtrlID(input.hwndFocus) : 0);
    j.EndObject();
}

struct TopWindows {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM lp)
{
    TopWindows* windows = reinterpret_cast<TopWindows*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (windows->pid == 0 || windows->pid == pid)
        windows->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD pid)
{
    TopWindows windows = {pid, {}};
    ::EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&windows));
    return windows.found;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lp)
{
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}

// A rectangle of a list view item (LVM_GETITEMRECT or LVM_GETSUBITEMRECT), in screen
// coordinates; false when the list does not give it.
bool ItemRect(HWND list, const CRemoteMemory& mem, UINT msg, int item, int subItem, int code, RECT& out)
{
    RECT r = {};
    r.left = code;
    r.top = subItem;
    if (!mem.Write(&r, sizeof(r), kRectOffset))
        return false;
    LRESULT ok = SendOr(list, msg, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(mem.At(kRectOffset)), 0);
    if (!ok || !mem.Read(&r, sizeof(r), kRectOffset))
        return false;
    ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
    out = r;
    return true;
}

void WriteItemRect(JsonWriter& j, const char* key, HWND list, const CRemoteMemory& mem, UINT msg, int item,
                   int subItem, int code)
{
    RECT r = {};
    j.Key(key);
    if (ItemRect(list, mem, msg, item, subItem, code, r))
        j.Rect(r.left, r.top, r.right, r.bottom);
    else
        j.Null();
}

std::string ItemText(HWND list, const CRemoteMemory& mem, int item, int subItem)
{
    LVITEMA lvi = {};
    lvi.iSubItem = subItem;
    lvi.pszText = static_cast<char*>(mem.At(kTextOffset));
    lvi.cchTextMax = static_cast<int>(kTextSize);
    char zero = 0;
    if (!mem.Write(&lvi, sizeof(lvi), kStructOffset) || !mem.Write(&zero, 1, kTextOffset))
        return std::string();
    SendOr(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(mem.At(kStructOffset)), 0);
    std::vector<char> text(kTextSize + 1, '\0');
    if (!mem.Read(text.data(), kTextSize, kTextOffset))
        return std::string();
    return std::string(text.data());
}

void WriteList(JsonWriter& j, HWND list, HANDLE process, int first, int count)
{
    CRemoteMemory mem(process, kBlockSize);
    j.BeginObject();
    WriteWindowBasics(j, list);
    LRESULT items = SendOr(list, LVM_GETITEMCOUNT, 0, 0, -1);
    j.Key("count");
    j.Number(items);
    j.Key("selectionMark");
    j.Number(SendOr(list, LVM_GETSELECTIONMARK, 0, 0, -2));
    j.Key("topIndex");
    j.Number(SendOr(list, LVM_GETTOPINDEX, 0, 0, -1));
    j.Key("perPage");
    j.Number(SendOr(list, LVM_GETCOUNTPERPAGE, 0, 0, -1));
    j.Key("extendedStyle");
    j.Number(SendOr(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0, 0));
    POINT origin = {0, 0};
    ::ClientToScreen(list, &origin);
    j.Key("clientOrigin");
    j.Point(origin.x, origin.y);
    j.Key("columns");
    j.BeginArray();
    for (int c = 0; c < 3; ++c)
        j.Number(SendOr(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0, 0));
    j.EndArray();
    ::SetLastError(0);
    ULONG_PTR classCursor = ::GetClassLongPtrA(list, GCLP_HCURSOR);
    j.Key("classCursor");
    j.Number(static_cast<long long>(classCursor));
    j.Key("classCursorError");
    j.Number(classCursor ? 0 : ::GetLastError());
    j.Key("remote");
    j.Bool(mem.IsValid());
    j.Key("rows");
    j.BeginArray();
    int last = static_cast<int>(items);
    if (count >= 0 && first + count < last)
        last = first + count;
    for (int i = first < 0 ? 0 : first; mem.IsValid() && i < last; ++i) {
        LVITEMA lvi = {};
        lvi.mask = LVIF_IMAGE | LVIF_STATE;
        lvi.stateMask = 0xFFFF;
        lvi.iItem = i;
        mem.Write(&lvi, sizeof(lvi), kStructOffset);
        LRESULT ok = SendOr(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(mem.At(kStructOffset)), 0);
        mem.Read(&lvi, sizeof(lvi), kStructOffset);
        j.BeginObject();
        j.Key("index");
        j.Number(i);
        j.Key("stateImage");
        j.Number(ok ? static_cast<long long>((lvi.state & LVIS_STATEIMAGEMASK) >> 12) : -1);
        j.Key("image");
        j.Number(ok ? lvi.iImage : -1);
        j.Key("selected");
        j.Bool(ok && (lvi.state & LVIS_SELECTED) != 0);
        j.Key("text");
        j.BeginArray();
        for (int c = 0; c < 3; ++c)
            j.String(ItemText(list, mem, i, c));
        j.EndArray();
        WriteItemRect(j, "bounds", list, mem, LVM_GETITEMRECT, i, 0, LVIR_BOUNDS);
        WriteItemRect(j, "icon", list, mem, LVM_GETITEMRECT, i, 0, LVIR_ICON);
        WriteItemRect(j, "label", list, mem, LVM_GETITEMRECT, i, 0, LVIR_LABEL);
        WriteItemRect(j, "update", list, mem, LVM_GETSUBITEMRECT, i, 2, LVIR_BOUNDS);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
}

// The tools of a tooltip window with their texts (TTM_ENUMTOOLSA into remote memory).
void WriteTooltip(JsonWriter& j, HWND tip, HANDLE process)
{
    CRemoteMemory mem(process, kBlockSize);
    j.BeginObject();
    WriteWindowBasics(j, tip);
    j.Key("tools");
    j.BeginArray();
    LRESULT tools = SendOr(tip, TTM_GETTOOLCOUNT, 0, 0, 0);
    for (LRESULT t = 0; mem.IsValid() && t < tools && t < 64; ++t) {
        TTTOOLINFOA info = {};
        info.cbSize = sizeof(info);
        info.lpszText = static_cast<char*>(mem.At(kTextOffset));
        char zero = 0;
        mem.Write(&info, sizeof(info), kStructOffset);
        mem.Write(&zero, 1, kTextOffset);
        if (!SendOr(tip, TTM_ENUMTOOLSA, static_cast<WPARAM>(t), reinterpret_cast<LPARAM>(mem.At(kStructOffset)), 0))
            continue;
        mem.Read(&info, sizeof(info), kStructOffset);
        std::vector<char> text(kTextSize + 1, '\0');
        mem.Read(text.data(), kTextSize, kTextOffset);
        j.BeginObject();
        j.Key("id");
        j.Number(static_cast<long long>(info.uId));
        j.Key("window");
        j.Number(HandleValue(info.hwnd));
        j.Key("text");
        j.String(text.data());
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
}

void CommandState(JsonWriter& j, HWND hwnd, int first, int count)
{
    if (!::IsWindow(hwnd)) {
        j.BeginObject();
        j.Key("error");
        j.String("no such window");
        j.EndObject();
        return;
    }
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    HANDLE raw = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                               FALSE, pid);
    struct ProcessHandle {
        HANDLE h;
        ~ProcessHandle() { if (h) ::CloseHandle(h); }
    } process = {raw};

    j.BeginObject();
    j.Key("window");
    WriteTopWindow(j, hwnd);
    RECT client = {};
    ::GetClientRect(hwnd, &client);
    POINT origin = {0, 0};
    ::ClientToScreen(hwnd, &origin);
    j.Key("client");
    j.Rect(origin.x, origin.y, origin.x + client.right, origin.y + client.bottom);
    ::SetLastError(0);
    ULONG_PTR classCursor = ::GetClassLongPtrA(hwnd, GCLP_HCURSOR);
    j.Key("classCursor");
    j.Number(static_cast<long long>(classCursor));

    std::vector<HWND> children;
    ::EnumChildWindows(hwnd, CollectChild, reinterpret_cast<LPARAM>(&children));
    j.Key("controls");
    j.BeginArray();
    HWND list = nullptr;
    for (HWND child : children) {
        std::string cls = ClassOf(child);
        if (!list && lstrcmpiA(cls.c_str(), WC_LISTVIEWA) == 0)
            list = child;
        j.BeginObject();
        WriteWindowBasics(j, child);
        j.Key("parent");
        j.Number(HandleValue(::GetParent(child)));
        j.Key("text");
        // A list view's and a progress bar's own window texts are of no interest.
        if (lstrcmpiA(cls.c_str(), WC_LISTVIEWA) == 0)
            j.String("");
        else
            j.String(TextOf(child));
        if (lstrcmpiA(cls.c_str(), PROGRESS_CLASSA) == 0) {
            j.Key("position");
            j.Number(SendOr(child, PBM_GETPOS, 0, 0, -1));
        }
        j.EndObject();
    }
    j.EndArray();

    j.Key("list");
    if (list && process.h)
        WriteList(j, list, process.h, first, count);
    else
        j.Null();

    j.Key("tooltips");
    j.BeginArray();
    for (HWND top : TopLevelWindows(pid)) {
        if (lstrcmpiA(ClassOf(top).c_str(), TOOLTIPS_CLASSA) == 0 && process.h)
            WriteTooltip(j, top, process.h);
    }
    j.EndArray();
    j.EndObject();
}

void CommandTop(JsonWriter& j, DWORD pid)
{
    RECT area = {};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    j.BeginObject();
    j.Key("foreground");
    j.Number(HandleValue(::GetForegroundWindow()));
    j.Key("workArea");
    j.Rect(area.left, area.top, area.right, area.bottom);
    j.Key("windows");
    j.BeginArray();
    for (HWND hwnd : TopLevelWindows(pid))
        WriteTopWindow(j, hwnd);
    j.EndArray();
    j.EndObject();
}

// The clipboard's CF_TEXT bytes in hex, and its CF_LOCALE.
void CommandClipboard(JsonWriter& j)
{
    std::string hex;
    long long locale = -1;
    if (::OpenClipboard(nullptr)) {
        HANDLE text = ::GetClipboardData(CF_TEXT), lcid = ::GetClipboardData(CF_LOCALE);
        const char* p = text ? static_cast<const char*>(::GlobalLock(text)) : nullptr;
        for (char byte[4]; p && *p; ++p) {
            std::snprintf(byte, sizeof(byte), "%02x", static_cast<unsigned char>(*p));
            hex += byte;
        }
        const LCID* l = lcid ? static_cast<const LCID*>(::GlobalLock(lcid)) : nullptr;
        if (l)
            locale = *l;
        for (HANDLE data : {text, lcid})
            if (data)
                ::GlobalUnlock(data);
        ::CloseClipboard();
    }
    j.BeginObject();
    j.Key("text");
    j.String(hex);
    j.Key("locale");
    j.Number(locale);
    j.EndObject();
}

void CommandCursor(JsonWriter& j)
{
    CURSORINFO info = {};
    info.cbSize = sizeof(info);
    BOOL ok = ::GetCursorInfo(&info);
    POINT pos = {};
    ::GetCursorPos(&pos);
    j.BeginObject();
    j.Key("cursor");
    j.Number(ok ? HandleValue(info.hCursor) : 0);
    j.Key("shown");
    j.Bool(ok && (info.flags & CURSOR_SHOWING) != 0);
    j.Key("pos");
    j.Point(pos.x, pos.y);
    j.Key("window");
    j.Number(HandleValue(::WindowFromPoint(pos)));
    // The system's own cursors as this process sees them, to name the one shown.
    j.Key("arrow");
    j.Number(HandleValue(::LoadCursorA(nullptr, IDC_ARROW)));
    j.Key("hand");
    j.Number(HandleValue(::LoadCursorA(nullptr, IDC_HAND)));
    j.EndObject();
}

HKEY RootKey(const std::string& name)
{
    if (name == "HKLM" || name == "HKEY_LOCAL_MACHINE")
        return HKEY_LOCAL_MACHINE;
    if (name == "HKCU" || name == "HKEY_CURRENT_USER")
        return HKEY_CURRENT_USER;
    if (name == "HKCR" || name == "HKEY_CLASSES_ROOT")
        return HKEY_CLASSES_ROOT;
    return nullptr;
}

// "ROOT\\path" split into the root key and the path below it; false when malformed.
bool SplitKeyPath(const char* text, HKEY& root, std::string& path)
{
    std::string full = text ? text : "";
    size_t slash = full.find('\\');
    root = slash == std::string::npos ? nullptr : RootKey(full.substr(0, slash));
    path = root ? full.substr(slash + 1) : std::string();
    return root != nullptr;
}

struct KeyHandle {
    HKEY h = nullptr;
    ~KeyHandle() { if (h) ::RegCloseKey(h); }
};

// A key and every key below it: "path": {"value name": [type, "hex bytes"]}, with the
// bytes as the ANSI functions give them.
// Each key is opened through its parent's handle: full paths may be longer than Wine
// lets one call open.
void WriteKeyTree(JsonWriter& j, HKEY parent, const std::string& keyName, const std::string& path)
{
    KeyHandle key;
    if (::RegOpenKeyExA(parent, keyName.c_str(), 0, KEY_READ, &key.h) != ERROR_SUCCESS)
        return;
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxName = 0, maxData = 0;
    ::RegQueryInfoKeyA(key.h, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxName,
                       &maxData, nullptr, nullptr);
    j.Key(path.c_str());
    j.BeginObject();
    std::vector<char> name(maxName + 2);
    std::vector<BYTE> data(maxData + 2);
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
        LONG rc = ::RegEnumValueA(key.h, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize);
        if (rc == ERROR_MORE_DATA) {
            name.resize(name.size() * 2 + 256);
            data.resize(data.size() * 2 + 256);
            --i;
            continue;
        }
        if (rc != ERROR_SUCCESS)
            break;
        std::string hex;
        char byte[4];
        for (DWORD b = 0; b < dataSize; ++b) {
            std::snprintf(byte, sizeof(byte), "%02x", data[b]);
            hex += byte;
        }
        j.Key(std::string(name.data(), nameSize).c_str());
        j.BeginArray();
        j.Number(type);
        j.String(hex);
        j.EndArray();
    }
    j.EndObject();
    std::vector<std::string> children;
    std::vector<char> child(maxSubKey + 2);
    for (DWORD i = 0;; ++i) {
        DWORD size = static_cast<DWORD>(child.size());
        LONG rc = ::RegEnumKeyExA(key.h, i, child.data(), &size, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA && child.size() < 4096) {
            // The longest name is counted in characters; its ANSI form may take more bytes.
            child.resize(child.size() * 2);
            --i;
            continue;
        }
        if (rc != ERROR_SUCCESS)
            break;
        children.push_back(std::string(child.data(), size));
    }
    for (const std::string& c : children)
        WriteKeyTree(j, key.h, c, path + "\\" + c);
}

// Creates path below root one level at a time (so each name may be as long as the
// registry allows) and, when name is given, sets that value to the hex bytes.
bool SetKeyValue(HKEY root, const std::string& path, const char* name, DWORD type, const std::string& hex)
{
    KeyHandle current;
    HKEY parent = root;
    size_t start = 0;
    while (start <= path.size()) {
        // By character: a trail byte of the ANSI code page may be 0x5C.
        size_t end = start;
        while (end < path.size() && path[end] != '\\')
            end += ::IsDBCSLeadByte(static_cast<BYTE>(path[end])) && end + 1 < path.size() ? 2 : 1;
        KeyHandle next;
        if (::RegCreateKeyExA(parent, path.substr(start, end - start).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &next.h, nullptr) != ERROR_SUCCESS)
            return false;
        std::swap(current.h, next.h);
        parent = current.h;
        start = end + 1;
    }
    if (!name)
        return true;
    std::vector<BYTE> data;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        data.push_back(static_cast<BYTE>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
    return ::RegSetValueExA(current.h, name, 0, type, data.empty() ? nullptr : data.data(),
                            static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

// Deletes name below parent and everything under it, each key through its own parent's
// handle, so that no full path is ever formed.
bool DeleteTree(HKEY parent, const std::string& name)
{
    {
        KeyHandle key;
        if (::RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key.h) != ERROR_SUCCESS)
            return true;
        char child[1024];
        for (;;) {
            DWORD size = sizeof(child);
            if (::RegEnumKeyExA(key.h, 0, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            if (!DeleteTree(key.h, std::string(child, size)))
                return false;
        }
    }
    return ::RegDeleteKeyA(parent, name.c_str()) == ERROR_SUCCESS;
}

long long Parse(const char* text) { return text ? std::strtoll(text, nullptr, 0) : 0; }
HWND ParseWindow(const char* text) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(Parse(text))); }

// Files held open for the serve mode's later commands.
std::vector<HANDLE> g_held;

void Error(JsonWriter& j, const char* message)
{
    j.BeginObject();
    j.Key("error");
    j.String(message);
    j.EndObject();
}

// Runs one command given as arguments; the JSON answer goes to j.
void RunCommand(JsonWriter& j, const std::vector<const char*>& args)
{
    size_t n = args.size();
    const char* cmd = n ? args[0] : "";
    auto arg = [&](size_t i) -> const char* { return i < n ? args[i] : nullptr; };
    if (!lstrcmpA(cmd, "top")) {
        CommandTop(j, static_cast<DWORD>(Parse(arg(1))));
    } else if (!lstrcmpA(cmd, "state") && n >= 2) {
        CommandState(j, ParseWindow(arg(1)), n >= 3 ? static_cast<int>(Parse(arg(2))) : 0,
                     n >= 4 ? static_cast<int>(Parse(arg(3))) : 200);
    } else if (!lstrcmpA(cmd, "cursor")) {
        CommandCursor(j);
    } else if (!lstrcmpA(cmd, "clipboard")) {
        CommandClipboard(j);
    } else if ((!lstrcmpA(cmd, "send") || !lstrcmpA(cmd, "post")) && n >= 3) {
        HWND hwnd = ParseWindow(arg(1));
        UINT msg = static_cast<UINT>(Parse(arg(2)));
        WPARAM wp = static_cast<WPARAM>(Parse(arg(3)));
        LPARAM lp = static_cast<LPARAM>(Parse(arg(4)));
        j.BeginObject();
        if (!lstrcmpA(cmd, "post")) {
            j.Key("ok");
            j.Bool(::PostMessageA(hwnd, msg, wp, lp) != FALSE);
        } else {
            LRESULT result = 0;
            bool ok = Send(hwnd, msg, wp, lp, result);
            j.Key("ok");
            j.Bool(ok);
            j.Key("result");
            j.Number(static_cast<long long>(result));
        }
        j.EndObject();
    } else if (!lstrcmpA(cmd, "text") && n >= 3) {
        // One control's text and state: a single message to a busy program.
        HWND control = ::GetDlgItem(ParseWindow(arg(1)), static_cast<int>(Parse(arg(2))));
        j.BeginObject();
        j.Key("exists");
        j.Bool(control != nullptr);
        j.Key("enabled");
        j.Bool(control && ::IsWindowEnabled(control));
        j.Key("rect");
        WriteScreenRect(j, control);
        j.Key("text");
        j.String(control ? TextOf(control) : std::string());
        j.EndObject();
    } else if (!lstrcmpA(cmd, "reg") && n >= 2) {
        HKEY root = nullptr;
        std::string path;
        j.BeginObject();
        if (SplitKeyPath(arg(1), root, path))
            WriteKeyTree(j, root, path, path);
        j.EndObject();
    } else if (!lstrcmpA(cmd, "regset") && n >= 2) {
        HKEY root = nullptr;
        std::string path;
        bool ok = SplitKeyPath(arg(1), root, path) &&
                  SetKeyValue(root, path, n >= 5 ? arg(2) : nullptr, static_cast<DWORD>(Parse(arg(3))),
                              n >= 5 ? arg(4) : "");
        j.BeginObject();
        j.Key("ok");
        j.Bool(ok);
        j.EndObject();
    } else if (!lstrcmpA(cmd, "regdel") && n >= 2) {
        HKEY root = nullptr;
        std::string path;
        bool ok = SplitKeyPath(arg(1), root, path);
        size_t last = path.rfind('\\');
        KeyHandle parent;
        if (ok && last != std::string::npos &&
            ::RegOpenKeyExA(root, path.substr(0, last).c_str(), 0, KEY_ALL_ACCESS, &parent.h) == ERROR_SUCCESS)
            ok = DeleteTree(parent.h, path.substr(last + 1));
        j.BeginObject();
        j.Key("ok");
        j.Bool(ok && last != std::string::npos);
        j.EndObject();
    } else if (!lstrcmpA(cmd, "show") && n >= 3) {
        j.BeginObject();
        j.Key("ok");
        j.Bool(::ShowWindowAsync(ParseWindow(arg(1)), static_cast<int>(Parse(arg(2)))) != FALSE);
        j.EndObject();
    } else if (!lstrcmpA(cmd, "attrib") && n >= 2) {
        bool ok = n < 3 || ::SetFileAttributesA(arg(1), static_cast<DWORD>(Parse(arg(2))));
        j.BeginObject();
        j.Key("ok");
        j.Bool(ok);
        j.Key("attributes");
        j.Number(::GetFileAttributesA(arg(1)));
        j.EndObject();
    } else if (!lstrcmpA(cmd, "hold") && n >= 2) {
        HANDLE file = ::CreateFileA(arg(1), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
        if (file != INVALID_HANDLE_VALUE)
            g_held.push_back(file);
        j.BeginObject();
        j.Key("ok");
        j.Bool(file != INVALID_HANDLE_VALUE);
        j.EndObject();
    } else if (!lstrcmpA(cmd, "release")) {
        for (HANDLE file : g_held)
            ::CloseHandle(file);
        g_held.clear();
        j.BeginObject();
        j.Key("ok");
        j.Bool(true);
        j.EndObject();
    } else if (!lstrcmpA(cmd, "message") && n >= 2) {
        // The id of a registered window message.
        j.BeginObject();
        j.Key("id");
        j.Number(::RegisterWindowMessageA(arg(1)));
        j.EndObject();
    } else {
        Error(j, "usage: probe top [pid] | state HWND [FIRST COUNT] | text HWND ID | cursor | send|post HWND MSG WP LP | "
                 "show HWND CMD | reg ROOT\\PATH | regset ROOT\\PATH [NAME TYPE HEX] | regdel ROOT\\PATH | "
                 "message NAME | attrib PATH [VALUE] | hold PATH | release | clipboard | serve");
    }
}

// Splits one line of the serve mode into words; double quotes group words.
std::vector<std::string> SplitLine(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any)
                words.push_back(word);
            word.clear();
            any = false;
        } else if (c != '\r' && c != '\n') {
            word += c;
            any = true;
        }
    }
    if (any)
        words.push_back(word);
    return words;
}

void Print(const JsonWriter& j)
{
    std::fwrite(j.Text().data(), 1, j.Text().size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int Serve()
{
    char line[4096];
    while (std::fgets(line, sizeof(line), stdin)) {
        std::vector<std::string> words = SplitLine(line);
        if (words.empty())
            continue;
        if (words[0] == "quit")
            break;
        std::vector<const char*> args;
        for (const std::string& w : words)
            args.push_back(w.c_str());
        JsonWriter j;
        RunCommand(j, args);
        Print(j);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && !lstrcmpA(argv[1], "serve"))
        return Serve();
    std::vector<const char*> args(argv + 1, argv + argc);
    JsonWriter j;
    RunCommand(j, args);
    Print(j);
    return j.Text().compare(0, 9, "{\"error\":") == 0 ? 1 : 0;
}
