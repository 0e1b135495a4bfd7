// HighDpiTest.cpp: the list's images, its link area and the About box's logo at the
// display's scale: at 144 DPI in a copy of this program, and scaled at other sizes.
#include "tests/ui/UiDriver.h"

#include "about/AboutDlg.h"
#include "framework/Handles.h"
#include "res/resource.h"
#include "tests/support/TestProcess.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

// One image drawn transparently at (4, 4) over black: the box of the pixels it drew, and
// how many of them are green (the check mark) or reddish (the mask colour blended in).
struct Drawn {
    RECT box;
    int green, reddish;
};
Drawn DrawImage(HIMAGELIST list, int index)
{
    CGdiObject<HBITMAP> bitmap(CreateBitmap(48, 48, 1, 32, nullptr));
    CMemDC dc(nullptr);
    SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, 48, 48, BLACKNESS);
    ImageList_Draw(list, index, dc, 4, 4, ILD_TRANSPARENT);
    Drawn drawn = {{48, 48, 0, 0}, 0, 0};
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            if (c == RGB(0, 0, 0))
                continue;
            drawn.box = {std::min<LONG>(drawn.box.left, x), std::min<LONG>(drawn.box.top, y),
                         std::max<LONG>(drawn.box.right, x + 1), std::max<LONG>(drawn.box.bottom, y + 1)};
            drawn.green += GetGValue(c) > GetRValue(c) + 40 && GetGValue(c) > GetBValue(c) + 40;
            drawn.reddish += GetRValue(c) > GetGValue(c);
        }
    dc.Reset();
    return drawn;
}

}  // namespace

TEST(HighDpi, ImagesLinkAreaAndLogoAt144Dpi)
{
    if (!getenv("VANTORIX_AT_144_DPI")) {
        // Wine takes the DPI from LogPixels when a process starts; absent means 96.
        const char desktop[] = "Control Panel\\Desktop";
        ASSERT_FALSE(ValueExists(HKEY_CURRENT_USER, desktop, "LogPixels"));
        SetDwordValue(HKEY_CURRENT_USER, desktop, "LogPixels", 144);
        SetEnvironmentVariableA("VANTORIX_AT_144_DPI", "1");
        const int rc = RunProcess("\"" + BinDir() + "test_ui.exe\" --gtest_filter=HighDpi.ImagesLinkAreaAndLogoAt144Dpi",
                                  120000);
        SetEnvironmentVariableA("VANTORIX_AT_144_DPI", nullptr);
        CRegKey key;
        key.OpenEx(HKEY_CURRENT_USER, desktop, KEY_SET_VALUE);
        RegDeleteValueA(key, "LogPixels");
        EXPECT_EQ(rc, 0) << "the copy at 144 DPI failed; its output is above";
        return;
    }
    ASSERT_EQ(GetSystemMetrics(SM_CXSMICON), 24);
    ScopedPackages packages;
    packages.Add("Editor", "1.0");
    packages.SetString("Editor", "UpdateVersion", "1.2");
    CDialogUnderTest dlg;
    ASSERT_TRUE(dlg.created);

    for (HIMAGELIST list : {(HIMAGELIST)dlg.m_stateImages, (HIMAGELIST)dlg.m_smallImages}) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list, &cx, &cy);
        EXPECT_EQ(std::make_pair(cx, cy), std::make_pair(24, 24));
    }
    const Drawn check = DrawImage(dlg.m_smallImages, 0);
    const RECT square = {4, 4, 28, 28};
    EXPECT_TRUE(EqualRect(&check.box, &square));
    EXPECT_GT(check.green, 0);
    EXPECT_EQ(check.reddish, 0);

    // The row holds the image, and the link reacts over all of the check mark.
    RECT icon;
    ASSERT_TRUE(dlg.m_list.GetItemRect(0, &icon, LVIR_ICON));
    EXPECT_EQ(icon.right - icon.left, 24);
    EXPECT_GE(icon.bottom - icon.top, 24);
    SendMouseThroughDialog(dlg, WM_MOUSEMOVE, LinkScreenPoint(dlg, {icon.left + 21, icon.top + 21}));
    EXPECT_TRUE(dlg.m_bLinkCursor);

    CAboutDlg about;
    BITMAP bm = {};
    GetObjectA(about.m_hBitmap, sizeof(bm), &bm);
    EXPECT_EQ(std::make_pair(bm.bmWidth, bm.bmHeight), std::make_pair(255L, 38L));
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
