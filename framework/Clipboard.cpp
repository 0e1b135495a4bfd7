// Clipboard.cpp: text onto the clipboard.
#include "framework/Clipboard.h"

#include <string.h>

namespace {

// The clipboard, open while the object lives.
class CClipboardOpen {
public:
    explicit CClipboardOpen(HWND owner) : m_bOpen(::OpenClipboard(owner) != FALSE) {}
    ~CClipboardOpen()
    {
        if (m_bOpen)
            ::CloseClipboard();
    }
    CClipboardOpen(const CClipboardOpen&) = delete;
    CClipboardOpen& operator=(const CClipboardOpen&) = delete;
    bool IsOpen() const { return m_bOpen; }

private:
    bool m_bOpen;
};

// Hands size bytes to the clipboard as format; the clipboard owns the memory once taken.
bool SetData(UINT format, const void* data, size_t size)
{
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory)
        return false;
    void* p = ::GlobalLock(memory);
    if (!p) {
        ::GlobalFree(memory);
        return false;
    }
    memcpy(p, data, size);
    ::GlobalUnlock(memory);
    if (!::SetClipboardData(format, memory)) {
        ::GlobalFree(memory);
        return false;
    }
    return true;
}

}  // namespace

bool SetClipboardAnsiText(HWND owner, const std::string& text)
{
    CClipboardOpen clipboard(owner);
    if (!clipboard.IsOpen() || !::EmptyClipboard())
        return false;
    // The system's locale names the ANSI code page the text is in; without it Windows
    // would take the keyboard's language.
    const LCID locale = ::GetSystemDefaultLCID();
    return SetData(CF_TEXT, text.c_str(), text.size() + 1) && SetData(CF_LOCALE, &locale, sizeof(locale));
}
