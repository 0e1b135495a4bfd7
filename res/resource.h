// resource.h: identifiers of the resource script.
#pragma once

#define IDS_ABOUTBOX            1
#define IDM_ABOUTBOX            0x0010
#define IDD_VANTORIX_DIALOG     102
#define IDD_PROGRESS            104
#define IDS_PROGRESS_CAPTION    105
#define IDR_MAINFRAME           128
#define IDR_ACCELERATOR         130
#define IDB_STATE_IMAGES        140
#define IDD_EULA                141
#define IDD_ABOUTBOX            142
#define IDB_SMALL_IMAGES        143
#define IDB_LOGO                144
// The same images drawn for the small-icon sizes 20, 24 and 32 (120, 144, 192 DPI) and
// the logo drawn for those DPIs.
#define IDB_STATE_IMAGES_20     150
#define IDB_STATE_IMAGES_24     151
#define IDB_STATE_IMAGES_32     152
#define IDB_SMALL_IMAGES_20     153
#define IDB_SMALL_IMAGES_24     154
#define IDB_SMALL_IMAGES_32     155
#define IDB_LOGO_120            156
#define IDB_LOGO_144            157
#define IDB_LOGO_192            158
#define IDR_LIST_MENU           160

// Main dialog
#define IDC_PRODUCT_LIST        1000
#define IDC_TOOLTIP_TOOL        1001
#define IDC_SAVE_REPORT         1008
#define IDC_REFRESH             1009
#define IDC_BUY_NOW             1010
#define IDC_CLOSE               1011
#define IDC_CHECK_UPDATES       1013

// Progress window
#define IDC_PROGRESS_BAR        1003
#define IDC_PERCENT_TEXT        1004
#define IDC_STATUS_TEXT         1005

// Agreement dialog
#define IDC_ACCEPT              1013
#define IDC_EULA_TEXT           1014

// About box
#define IDC_VERSION_TEXT        1016

#define ID_REFRESH_F5           32771
// The product list's shortcut menu; "Buy now" there is the button's own id.
#define ID_OPEN_UPDATE_PAGE     32772
#define ID_COPY_ROWS            32773

#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif
