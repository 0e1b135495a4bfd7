// FileDialog.h: CFileDialog, the open and save-as common dialogs.
//
// How to use: construct with the kind of dialog, the default extension (appended when
// the user types a name without one), the initial file name, OFN_ flags, a filter of
// "description|pattern|" pairs ended by "|", and the owner; DoModal returns IDOK or
// IDCANCEL; GetPathName gives the chosen path.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <string.h>
#include <string>

class CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, const char* defExt, const char* fileName, DWORD flags, const char* filter,
                HWND owner)
        : m_bOpenFileDialog(bOpenFileDialog), m_defExt(defExt ? defExt : ""), m_filter(filter ? filter : "")
    {
        // The common dialog wants the pairs separated and ended by zero bytes.
        for (char& c : m_filter)
            if (c == '|')
                c = '\0';
        m_filter.push_back('\0');
        m_szFileName[0] = '\0';
        if (fileName)
            lstrcpynA(m_szFileName, fileName, sizeof(m_szFileName));

        memset(&m_ofn, 0, sizeof(m_ofn));
        m_ofn.lStructSize = sizeof(m_ofn);
        m_ofn.hwndOwner = owner;
        m_ofn.lpstrFilter = m_filter.size() > 1 ? m_filter.c_str() : nullptr;
        m_ofn.nFilterIndex = 1;
        m_ofn.lpstrFile = m_szFileName;
        m_ofn.nMaxFile = sizeof(m_szFileName);
        m_ofn.lpstrDefExt = defExt ? m_defExt.c_str() : nullptr;
        m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
    }
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    INT_PTR DoModal()
    {
        BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
        return ok ? IDOK : IDCANCEL;
    }
    std::string GetPathName() const { return m_szFileName; }

    OPENFILENAMEA m_ofn;

private:
    BOOL m_bOpenFileDialog;
    std::string m_defExt;
    std::string m_filter;
    char m_szFileName[MAX_PATH];
};
