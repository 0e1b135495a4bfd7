// RichEditCtrl.h: a rich edit control (the version 1.0 class "RICHEDIT").
//
// How to use: call LoadRichEditLibrary before a dialog holding the control is
// created, then bind the control with DDX_Control.
#pragma once

#include "framework/SystemLibrary.h"
#include "framework/Wnd.h"
#include <richedit.h>

class CRichEditCtrl : public CWnd {
public:
    // EM_STREAMIN: the control calls stream.pfnCallback for the content; returns the
    // number of characters read.
    LONG StreamIn(int format, EDITSTREAM& stream) const
        { return (LONG)SendMessage(EM_STREAMIN, (WPARAM)format, (LPARAM)&stream); }
    // EM_EXLIMITTEXT: the most characters the control holds; a stream stops there.
    void LimitText(LONG chars) const { SendMessage(EM_EXLIMITTEXT, 0, (LPARAM)chars); }

    // Loads riched32.dll from the system folder, which registers "RICHEDIT", once per
    // process; it stays loaded for the process's life, as its window class must.
    static bool LoadRichEditLibrary()
    {
        static HMODULE library = LoadSystemLibrary("riched32.dll");
        return library != nullptr;
    }
};
