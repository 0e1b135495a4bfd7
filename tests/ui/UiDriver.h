// UiDriver.h: driving the real main dialog in tests: a modeless window, its message
// pump, mouse and key input to the list, and watchers for the windows it opens.
#pragma once

#include "tests/support/TestRegistry.h"
#include "ui/PackagesDlg.h"

#include <string>
#include <vector>

// An UpdateRecord as the update records store it: the characters without a zero; url
// may be null (no address).
void StoreUpdateRecord(ScopedPackages& packages, const char* package, const char* version, const char* url);

// One row of the product list as the list holds it.
struct ListRow {
    std::string name;     // column 0
    std::string version;  // column 1
    std::string update;   // column 2
    int stateImage;       // 0 for a component row, 1 collapsed, 2 expanded
    int image;            // small image
};
std::vector<ListRow> ReadRows(const CListCtrl& list);
// The column-0 texts of the rows, in order.
std::vector<std::string> RowNames(const CListCtrl& list);

// Serves the thread's messages for ms milliseconds as the dialog's modal loop does
// (PreTranslateMessage first); at least one pass.
void Pump(CPackagesDlg& dlg, DWORD ms = 30);

// The main dialog, modeless on the current thread, destroyed with the object.
class CDialogUnderTest : public CPackagesDlg {
public:
    CDialogUnderTest();
    ~CDialogUnderTest() override;
    bool created;
};

enum class RowSpot { StateIcon, Label, Below };
// A real click on the list: moves the cursor there and posts the button messages,
// then pumps until the list has answered. right chooses the right button; keys adds
// MK_SHIFT or MK_CONTROL.
void ClickRow(CPackagesDlg& dlg, int row, RowSpot spot, bool right = false, WPARAM keys = 0);
// A key pressed in the list (posted, then pumped through the dialog).
void PressKey(CPackagesDlg& dlg, HWND target, UINT vk);
bool BuyNowEnabled(const CPackagesDlg& dlg);

// The screen point of listPoint, a point in the list's client coordinates.
POINT LinkScreenPoint(const CPackagesDlg& dlg, POINT listPoint);
// A WM_MOUSEMOVE or WM_LBUTTONDOWN at a screen point, through PreTranslateMessage.
BOOL SendMouseThroughDialog(CPackagesDlg& dlg, UINT message, POINT screen);
// The centre of row's update text strip, in the list's client coordinates.
POINT UpdateTextPoint(const CListCtrl& list, int row);

// Closes every message box and dialog but the main one that opens on this thread
// while it is active (from a thread timer, which runs inside their modal loops),
// recording their texts.
class CWindowCloser {
public:
    CWindowCloser();
    ~CWindowCloser();
    CWindowCloser(const CWindowCloser&) = delete;
    CWindowCloser& operator=(const CWindowCloser&) = delete;

    struct Seen {
        std::string caption;
        std::string text;     // the static texts, joined by '|'
        int ownerListRows;    // rows in the owner's product list when it was seen; -1 without one
    };
    std::vector<Seen> seen;
};

// The recorder browser's log for one test: set in the environment, removed after.
class CRecorderLog {
public:
    CRecorderLog();
    ~CRecorderLog();
    // Waits up to timeoutMs for lines to appear; the whole log.
    std::string WaitForText(DWORD timeoutMs) const;
    std::string path;
};
