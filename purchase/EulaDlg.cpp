// EulaDlg.cpp: the agreement dialog; the file is streamed into the rich edit as RTF.
#include "purchase/EulaDlg.h"
#include "framework/FileError.h"
#include "framework/Handles.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CEulaDlg, CDialog)
    ON_BN_CLICKED(IDC_ACCEPT, OnAccept)
END_MESSAGE_MAP()

CEulaDlg::CEulaDlg(const char* path, CWnd* owner) : CDialog(IDD_EULA, owner), m_eulaPath(path)
{
    // The template's "RICHEDIT" class must exist before the dialog is created.
    CRichEditCtrl::LoadRichEditLibrary();
}

void CEulaDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EULA_TEXT, m_richEdit);
}

DWORD CALLBACK CEulaDlg::ReadEulaChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read)
{
    DWORD count = 0;
    if (size > 0 && !::ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, (DWORD)size, &count, nullptr))
        count = 0;
    *read = (LONG)count;
    return 0;
}

BOOL CEulaDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    const char* path = m_eulaPath ? m_eulaPath : "";
    CWinHandle file(::CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD error = ::GetLastError();
    if (!file.IsValid()) {
        // The dialog still opens, with an empty text.
        ReportFileError(m_hWnd, path, error);
        return TRUE;
    }
    // Windows stops an RTF stream at the control's limit (32,767 characters unless
    // set); the file's size bounds the characters its RTF gives.
    LARGE_INTEGER size;
    if (::GetFileSizeEx(file, &size) && size.QuadPart > 0)
        m_richEdit.LimitText(size.QuadPart < 0x7FFFFFFF ? (LONG)size.QuadPart : 0x7FFFFFFF);
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(static_cast<HANDLE>(file));
    stream.pfnCallback = ReadEulaChunk;
    m_richEdit.StreamIn(SF_RTF, stream);
    return TRUE;
}

void CEulaDlg::OnAccept()
{
    CDialog::OnOK();
}
