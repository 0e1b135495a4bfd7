// AboutDlgTest.cpp: the About box's version text and the transparent drawing of bitmaps.
#include "about/AboutDlg.h"
#include "about/TransparentBitmap.h"
#include "framework/Handles.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string ControlText(HWND dlg, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dlg, id, text, sizeof(text));
    return text;
}

// A 32-bit top-down DIB section of w x h filled with colour, selected into a memory DC.
class CCanvas {
public:
    CCanvas(int w, int h, COLORREF colour) : m_dc(nullptr), m_w(w)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bits = static_cast<DWORD*>(bits);
        SelectObject(m_dc, m_bitmap);
        CGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
        RECT rc = {0, 0, w, h};
        FillRect(m_dc, &rc, brush);
        GdiFlush();
    }
    ~CCanvas() { m_dc.Reset(); }
    COLORREF Pixel(int x, int y) const
    {
        GdiFlush();
        DWORD p = m_bits[y * m_w + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    HDC dc() const { return m_dc; }

private:
    CGdiObject<HBITMAP> m_bitmap;
    CMemDC m_dc;
    DWORD* m_bits = nullptr;
    int m_w;
};

// The logo's pixels as white (true) or not, read through a DIB of its own size.
std::vector<bool> WhitePixels(HBITMAP bitmap, int w, int h)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels((size_t)w * h);
    CMemDC dc(nullptr);
    GetDIBits(dc, bitmap, 0, h, pixels.data(), &bi, DIB_RGB_COLORS);
    std::vector<bool> white;
    for (DWORD p : pixels)
        white.push_back((p & 0xFFFFFF) == 0xFFFFFF);
    return white;
}

const COLORREF kBackground = RGB(0, 128, 255);

}  // namespace

TEST(AboutDlg, VersionTextFromTheOwnResource)
{
    CAboutDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    EXPECT_EQ(ControlText(dlg.m_hWnd, IDC_VERSION_TEXT), "Version: 2. 0. 33 (build:  70715)");
    dlg.DestroyWindow();
}

TEST(AboutDlg, ModalBoxEndsWithOk)
{
    static std::string seen;
    seen.clear();
    CAboutDlg dlg;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND box = FindWindowA(nullptr, "About Vantorix");
        if (!box || !IsWindowVisible(box))
            return;
        KillTimer(nullptr, id);
        seen = ControlText(box, IDC_VERSION_TEXT);
        PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    ASSERT_NE(timer, 0u);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(seen, "Version: 2. 0. 33 (build:  70715)");
}

TEST(AboutDlg, LogoIsLoadedAsMonochromeSectionAndReleased)
{
    HBITMAP logo;
    {
        CAboutDlg dlg;
        logo = dlg.m_hBitmap;
        ASSERT_NE(logo, nullptr);
        DIBSECTION ds = {};
        ASSERT_EQ(GetObjectA(logo, sizeof(ds), &ds), (int)sizeof(ds));
        EXPECT_EQ(ds.dsBm.bmWidth, 170);
        EXPECT_EQ(ds.dsBm.bmHeight, 25);
        EXPECT_NE(ds.dsBmih.biSize, 0u);  // a section; Wine keeps the file's 8 bits per pixel
    }
    EXPECT_EQ(GetObjectType(logo), 0u);  // deleted with the dialog
}

TEST(TransparentBitmap, WhiteShowsTheBackgroundAndBlackStaysBlack)
{
    CAboutDlg dlg;  // loads the logo as the About box does
    ASSERT_NE(dlg.m_hBitmap, nullptr);
    std::vector<bool> white = WhitePixels(dlg.m_hBitmap, 170, 25);
    size_t whiteCount = 0;
    for (bool w : white)
        whiteCount += w;
    ASSERT_GT(whiteCount, 0u);
    ASSERT_LT(whiteCount, white.size());

    CCanvas canvas(200, 50, kBackground);
    PaintTransparentBitmap(canvas.dc(), dlg.m_hBitmap, 10, 10, RGB(255, 255, 255));
    int wrong = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 170; ++x) {
            COLORREF expected = white[(size_t)y * 170 + x] ? kBackground : RGB(0, 0, 0);
            wrong += canvas.Pixel(x + 10, y + 10) != expected;
        }
    EXPECT_EQ(wrong, 0);
    // Outside the logo nothing changed.
    EXPECT_EQ(canvas.Pixel(9, 9), kBackground);
    EXPECT_EQ(canvas.Pixel(180, 35), kBackground);
    EXPECT_EQ(canvas.Pixel(199, 49), kBackground);
    // The caller's bitmap is restored and can be drawn again.
    EXPECT_EQ(WhitePixels(dlg.m_hBitmap, 170, 25), white);
}

TEST(TransparentBitmap, ColourPictureKeepsItsOtherColours)
{
    // A 2 x 1 colour picture: white, red.
    CCanvas picture(2, 1, RGB(255, 255, 255));
    SetPixel(picture.dc(), 1, 0, RGB(255, 0, 0));
    CGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(picture.dc(), 2, 1));
    {
        CMemDC dc(picture.dc());
        HGDIOBJ old = SelectObject(dc, bitmap);
        BitBlt(dc, 0, 0, 2, 1, picture.dc(), 0, 0, SRCCOPY);
        SelectObject(dc, old);
    }
    CCanvas canvas(8, 8, kBackground);
    PaintTransparentBitmap(canvas.dc(), bitmap, -1, 3, RGB(255, 255, 255));
    EXPECT_EQ(canvas.Pixel(0, 3), RGB(255, 0, 0));  // the red pixel, at x -1 + 1
    EXPECT_EQ(canvas.Pixel(1, 3), kBackground);
    // Null arguments draw nothing.
    PaintTransparentBitmap(canvas.dc(), nullptr, 0, 0, RGB(255, 255, 255));
    PaintTransparentBitmap(nullptr, bitmap, 0, 0, RGB(255, 255, 255));
    EXPECT_EQ(canvas.Pixel(0, 0), kBackground);
}

TEST(TransparentBitmap, ReleasesEveryGdiObject)
{
    CAboutDlg dlg;
    ASSERT_NE(dlg.m_hBitmap, nullptr);
    std::vector<bool> white = WhitePixels(dlg.m_hBitmap, 170, 25);
    CCanvas canvas(200, 50, kBackground);

    // Where the system counts GDI objects, the count is the same after many paints.
    DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    PaintTransparentBitmap(canvas.dc(), dlg.m_hBitmap, 10, 10, RGB(255, 255, 255));
    if (before) {
        for (int i = 0; i < 200; ++i)
            PaintTransparentBitmap(canvas.dc(), dlg.m_hBitmap, 10, 10, RGB(255, 255, 255));
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before + 0);
    }

    // Wine does not count them: fill the process's GDI table, leave room for a few
    // paints' worth of objects, and paint far more often than a leak would allow.
    std::vector<HPEN> filler;
    for (int i = 0; i < 200000; ++i) {
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(i & 0xFF, 0, 0));
        if (!pen)
            break;
        filler.push_back(pen);
    }
    const size_t room = 40;
    ASSERT_GT(filler.size(), room);
    ASSERT_LT(filler.size(), 200000u);
    for (size_t i = 0; i < room; ++i) {
        DeleteObject(filler.back());
        filler.pop_back();
    }
    for (int i = 0; i < 300; ++i) {
        PatBlt(canvas.dc(), 0, 0, 200, 50, WHITENESS);
        PaintTransparentBitmap(canvas.dc(), dlg.m_hBitmap, 10, 10, RGB(255, 255, 255));
    }
    size_t created = 0;
    std::vector<HPEN> again;
    for (; created < room; ++created) {
        HPEN pen = CreatePen(PS_SOLID, 1, 0);
        if (!pen)
            break;
        again.push_back(pen);
    }
    for (HPEN pen : again)
        DeleteObject(pen);
    for (HPEN pen : filler)
        DeleteObject(pen);
    EXPECT_GE(created, room - 2);
    // The last paint still drew the whole logo: black pixels black, white ones show the
    // (now white) background.
    int wrong = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 170; ++x)
            wrong += canvas.Pixel(x + 10, y + 10) != (white[(size_t)y * 170 + x] ? RGB(255, 255, 255) : RGB(0, 0, 0));
    EXPECT_EQ(wrong, 0);
    // The logo is still a live bitmap, not selected anywhere: another DC can take it.
    CMemDC dc(canvas.dc());
    EXPECT_NE(SelectObject(dc, dlg.m_hBitmap), nullptr);
}
