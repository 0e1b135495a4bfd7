// HighDpiTest.cpp: the list's images, its link area and the About box's logo at the
// display's scale: at 144 and 168 DPI in copies of this program, and scaled at other
// sizes.
#include "tests/ui/UiDriver.h"

#include "about/AboutDlg.h"
#include "framework/Handles.h"
#include "res/resource.h"
#include "tests/support/TestProcess.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

// One image drawn transparently at (4, 4) over black: the box of the pixels it drew, how
// many of them are green (the check mark) or reddish (the mask colour blended in), the
// number of rows it drew in and the leftmost pixel of its lowest green row.
struct Drawn {
    RECT box;
    int green, reddish, rows;
    POINT lowestGreen;
};
Drawn DrawImage(HIMAGELIST list, int index)
{
    CGdiObject<HBITMAP> bitmap(CreateBitmap(48, 48, 1, 32, nullptr));
    CMemDC dc(nullptr);
    SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, 48, 48, BLACKNESS);
    ImageList_Draw(list, index, dc, 4, 4, ILD_TRANSPARENT);
    Drawn drawn = {{48, 48, 0, 0}, 0, 0, 0, {-1, -1}};
    for (int y = 0; y < 48; ++y) {
        bool drewInRow = false;
        for (int x = 0; x < 48; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            if (c == RGB(0, 0, 0))
                continue;
            drewInRow = true;
            drawn.box = {std::min<LONG>(drawn.box.left, x), std::min<LONG>(drawn.box.top, y),
                         std::max<LONG>(drawn.box.right, x + 1), std::max<LONG>(drawn.box.bottom, y + 1)};
            const bool green = GetGValue(c) > GetRValue(c) + 40 && GetGValue(c) > GetBValue(c) + 40;
            drawn.green += green;
            if (green && y > drawn.lowestGreen.y)
                drawn.lowestGreen = {x, y};
            drawn.reddish += GetRValue(c) > GetGValue(c);
        }
        drawn.rows += drewInRow;
    }
    dc.Reset();
    return drawn;
}

// The displays that copies of this program run at: the small-icon size, the check mark's
// box as drawn at (4, 4), the leftmost pixel of its lowest green row within its image
// (the mark's point, left of the middle, not its right arm's tip) and the logo's size.
// 144 DPI has drawn art. At 168 the 16-pixel images are scaled to 28: the art's box
// (columns 1-14 of 16, rows 1-13 of 15) becomes pixels 2-25, and the mark's lowest
// pixel, (6, 11), covers columns 10.5 to 12.3 and rows 20.5 to 22.4. Its logo is the
// 96 DPI one (170 x 25) at 7/4.
struct Display {
    int dpi, size;
    RECT check;
    POINT lowestGreen;
    LONG logoWidth, logoHeight;
};
const Display kDisplays[] = {{144, 24, {4, 4, 28, 28}, {8, 18}, 255, 38},
                             {168, 28, {6, 6, 30, 30}, {11, 22}, 298, 44}};

}  // namespace

TEST(HighDpi, ImagesLinkAreaAndLogoAt144And168Dpi)
{
    const char* dpi = getenv("VANTORIX_AT_DPI");
    if (!dpi) {
        // Wine takes the DPI from LogPixels when a process starts; absent means 96.
        const char desktop[] = "Control Panel\\Desktop";
        ASSERT_FALSE(ValueExists(HKEY_CURRENT_USER, desktop, "LogPixels"));
        for (const Display& display : kDisplays) {
            SetDwordValue(HKEY_CURRENT_USER, desktop, "LogPixels", display.dpi);
            SetEnvironmentVariableA("VANTORIX_AT_DPI", std::to_string(display.dpi).c_str());
            const int rc = RunProcess("\"" + BinDir() +
                                          "test_ui.exe\" --gtest_filter=HighDpi.ImagesLinkAreaAndLogoAt144And168Dpi",
                                      120000);
            SetEnvironmentVariableA("VANTORIX_AT_DPI", nullptr);
            RegDeleteKeyValueA(HKEY_CURRENT_USER, desktop, "LogPixels");
            EXPECT_EQ(rc, 0) << "the copy at " << display.dpi << " DPI failed; its output is above";
        }
        EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, desktop, "LogPixels"));
        return;
    }
    const Display* found = nullptr;
    for (const Display& display : kDisplays)
        found = display.dpi == atoi(dpi) ? &display : found;
    ASSERT_NE(found, nullptr) << dpi;
    const Display& display = *found;
    ASSERT_EQ(GetSystemMetrics(SM_CXSMICON), display.size);
    ScopedPackages packages;
    packages.Add("Editor", "1.0");
    packages.SetString("Editor", "UpdateVersion", "1.2");
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);

    for (HIMAGELIST list : {(HIMAGELIST)dlg.m_stateImages, (HIMAGELIST)dlg.m_smallImages}) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list, &cx, &cy);
        EXPECT_EQ(std::make_pair(cx, cy), std::make_pair(display.size, display.size));
    }
    // The check mark upright and whole: no row of its box left transparent.
    const Drawn check = DrawImage(dlg.m_smallImages, 0);
    EXPECT_TRUE(EqualRect(&check.box, &display.check));
    EXPECT_EQ(check.rows, display.check.bottom - display.check.top);
    EXPECT_EQ(std::make_pair(check.lowestGreen.x - 4, check.lowestGreen.y - 4),
              std::make_pair(display.lowestGreen.x, display.lowestGreen.y));
    EXPECT_GT(check.green, 0);
    EXPECT_EQ(check.reddish, 0);

    // The row holds the image, and the link reacts over all of the check mark.
    RECT icon;
    ASSERT_TRUE(dlg.m_list.GetItemRect(0, &icon, LVIR_ICON));
    EXPECT_EQ(icon.right - icon.left, display.size);
    EXPECT_GE(icon.bottom - icon.top, display.size);
    const POINT corner = {icon.left + display.size - 3, icon.top + display.size - 3};
    SendMouseThroughDialog(dlg, WM_MOUSEMOVE, LinkScreenPoint(dlg, corner));
    EXPECT_TRUE(dlg.m_bLinkCursor);

    CAboutDlg about;
    BITMAP bm = {};
    GetObjectA(about.m_hBitmap, sizeof(bm), &bm);
    EXPECT_EQ(std::make_pair(bm.bmWidth, bm.bmHeight), std::make_pair(display.logoWidth, display.logoHeight));
}

TEST(HighDpi, SizesWithoutDrawnImagesScaleTheSixteenPixelOnes)
{
    CImageList list;
    ASSERT_TRUE(list.CreateScaled(IDB_SMALL_IMAGES, 16, 28, 1, RGB(255, 0, 0)));
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    EXPECT_EQ(std::make_pair(cx, cy), std::make_pair(28, 28));
    ASSERT_EQ(list.GetImageCount(), 2);
    for (int image = 0; image < 2; ++image) {
        const Drawn drawn = DrawImage(list, image);
        EXPECT_EQ(drawn.reddish, 0) << image;
        EXPECT_GE(drawn.box.right - drawn.box.left, 24) << image;
        // Only the check mark is green: neither image takes from its neighbour.
        EXPECT_EQ(drawn.green > 0, image == 0);
    }
}
