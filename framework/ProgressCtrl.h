// ProgressCtrl.h: a progress bar control.
#pragma once

#include "framework/Wnd.h"
#include <commctrl.h>

class CProgressCtrl : public CWnd {
public:
    void SetRange(int lower, int upper) const { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    void SetStep(int step) const { SendMessage(PBM_SETSTEP, (WPARAM)step); }
    int SetPos(int pos) const { return (int)SendMessage(PBM_SETPOS, (WPARAM)pos); }
    int GetPos() const { return (int)SendMessage(PBM_GETPOS); }
};
