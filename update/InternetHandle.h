// InternetHandle.h: CInternetHandle, the owner of one WinINet handle (root, connection
// or request); closed with InternetCloseHandle on every way out, never copied.
#pragma once

#include "framework/InternetFunctions.h"

class CInternetHandle {
public:
    CInternetHandle() : m_h(nullptr) {}
    explicit CInternetHandle(HINTERNET h) : m_h(h) {}
    ~CInternetHandle() { Close(); }
    CInternetHandle(const CInternetHandle&) = delete;
    CInternetHandle& operator=(const CInternetHandle&) = delete;

    void Reset(HINTERNET h) { Close(); m_h = h; }
    void Close()
    {
        if (m_h && WinInet())
            WinInet()->InternetCloseHandle(m_h);
        m_h = nullptr;
    }
    bool IsOpen() const { return m_h != nullptr; }
    operator HINTERNET() const { return m_h; }

private:
    HINTERNET m_h;
};
