// Handles.h: small owners of registry keys, kernel handles, GDI objects and memory
// device contexts; each releases its handle in the destructor and cannot be copied.
#pragma once

#include <windows.h>

// A registry key opened by its owner; closed on every way out.
class CRegKey {
public:
    CRegKey() : m_hKey(nullptr) {}
    explicit CRegKey(HKEY hKey) : m_hKey(hKey) {}
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    // RegOpenKeyA: asks for no particular access.
    LONG Open(HKEY parent, const char* subKey)
    {
        Close();
        LONG rc = ::RegOpenKeyA(parent, subKey, &m_hKey);
        if (rc != ERROR_SUCCESS)
            m_hKey = nullptr;
        return rc;
    }
    LONG OpenEx(HKEY parent, const char* subKey, REGSAM access)
    {
        Close();
        LONG rc = ::RegOpenKeyExA(parent, subKey, 0, access, &m_hKey);
        if (rc != ERROR_SUCCESS)
            m_hKey = nullptr;
        return rc;
    }
    void Close()
    {
        if (m_hKey)
            ::RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
    operator HKEY() const { return m_hKey; }
    bool IsOpen() const { return m_hKey != nullptr; }

private:
    HKEY m_hKey;
};

// A kernel handle (file, mapping, process); INVALID_HANDLE_VALUE and null mean none.
class CWinHandle {
public:
    CWinHandle() : m_h(nullptr) {}
    explicit CWinHandle(HANDLE h) : m_h(h) {}
    ~CWinHandle() { Close(); }
    CWinHandle(const CWinHandle&) = delete;
    CWinHandle& operator=(const CWinHandle&) = delete;

    void Reset(HANDLE h) { Close(); m_h = h; }
    void Close()
    {
        if (IsValid())
            ::CloseHandle(m_h);
        m_h = nullptr;
    }
    bool IsValid() const { return m_h != nullptr && m_h != INVALID_HANDLE_VALUE; }
    operator HANDLE() const { return m_h; }

private:
    HANDLE m_h;
};

// A GDI object (bitmap, brush, pen) deleted with DeleteObject.
template <class T>
class CGdiObject {
public:
    CGdiObject() : m_h(nullptr) {}
    explicit CGdiObject(T h) : m_h(h) {}
    ~CGdiObject() { Reset(nullptr); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    void Reset(T h)
    {
        if (m_h)
            ::DeleteObject(m_h);
        m_h = h;
    }
    T Detach() { T h = m_h; m_h = nullptr; return h; }
    operator T() const { return m_h; }

private:
    T m_h;
};

// A memory device context deleted with DeleteDC.
class CMemDC {
public:
    explicit CMemDC(HDC compatible) : m_hDC(::CreateCompatibleDC(compatible)) {}
    ~CMemDC() { Reset(); }
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    void Reset()
    {
        if (m_hDC)
            ::DeleteDC(m_hDC);
        m_hDC = nullptr;
    }
    operator HDC() const { return m_hDC; }

private:
    HDC m_hDC;
};

// BeginPaint/EndPaint for one WM_PAINT.
class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd) { m_hDC = ::BeginPaint(hWnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    operator HDC() const { return m_hDC; }
    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// A menu loaded or created by its owner, destroyed with DestroyMenu.
class CMenuHandle {
public:
    explicit CMenuHandle(HMENU h) : m_h(h) {}
    ~CMenuHandle() { ::DestroyMenu(m_h); }  // fails harmlessly on null
    CMenuHandle(const CMenuHandle&) = delete;
    CMenuHandle& operator=(const CMenuHandle&) = delete;
    operator HMENU() const { return m_h; }

private:
    HMENU m_h;
};
