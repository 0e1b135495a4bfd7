// AboutDlgTest.cpp: the About box's version text and logo, and transparent drawing.
#include "about/AboutDlg.h"
#include "about/TransparentBitmap.h"
#include "framework/Handles.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

const COLORREF kBackground = RGB(0, 128, 255);
const COLORREF kWhite = RGB(255, 255, 255);

// The pixels of bitmap (w x h) as 0x00RRGGBB, through GetDIBits.
std::vector<DWORD> Pixels(HBITMAP bitmap, int w, int h)
{
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels((size_t)w * h);
    CMemDC dc(nullptr);
    GetDIBits(dc, bitmap, 0, h, pixels.data(), &bi, DIB_RGB_COLORS);
    for (DWORD& p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

// A 32-bit canvas of 200 x 50 in a memory DC, filled with colour.
class CCanvas {
public:
    explicit CCanvas(COLORREF colour) : m_bitmap(CreateBitmap(200, 50, 1, 32, nullptr)), m_dc(nullptr)
    {
        SelectObject(m_dc, m_bitmap);
        CGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
        RECT rc = {0, 0, 200, 50};
        FillRect(m_dc, &rc, brush);
    }
    ~CCanvas() { m_dc.Reset(); }
    // The logo's area at (10, 10) against the expected colours for the logo's pixels.
    int WrongPixels(const std::vector<DWORD>& logo, COLORREF shown) const
    {
        int wrong = 0;
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 170; ++x) {
                COLORREF expected = logo[(size_t)y * 170 + x] == 0xFFFFFF ? shown : RGB(0, 0, 0);
                wrong += GetPixel(m_dc, x + 10, y + 10) != expected;
            }
        return wrong;
    }
    HDC dc() const { return m_dc; }

private:
    CGdiObject<HBITMAP> m_bitmap;
    CMemDC m_dc;
};

}  // namespace

static std::string g_versionSeen;

// Once the About box shows: keeps its version text and presses OK.
static void CALLBACK ReadVersionAndClose(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = FindWindowA(nullptr, "About Vantorix");
    if (!box || !IsWindowVisible(box))
        return;
    KillTimer(nullptr, id);
    char text[128] = {};
    GetDlgItemTextA(box, IDC_VERSION_TEXT, text, sizeof(text));
    g_versionSeen = text;
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

TEST(AboutDlg, VersionTextOfTheOwnResource)
{
    CAboutDlg dlg;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, ReadVersionAndClose);
    ASSERT_NE(timer, 0u);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(g_versionSeen, "Version: 2. 0. 33 (build:  70715)");
}

TEST(TransparentBitmap, LogoWhiteShowsTheBackgroundBlackStaysBlack)
{
    HBITMAP logo;
    {
        CAboutDlg dlg;  // loads the logo as the About box draws it
        logo = dlg.m_hBitmap;
        ASSERT_NE(logo, nullptr);
        DIBSECTION ds = {};
        ASSERT_EQ(GetObjectA(logo, sizeof(ds), &ds), (int)sizeof(ds));  // a section
        EXPECT_EQ(ds.dsBm.bmWidth, 170);
        EXPECT_EQ(ds.dsBm.bmHeight, 25);
        std::vector<DWORD> pixels = Pixels(logo, 170, 25);
        size_t white = std::count(pixels.begin(), pixels.end(), 0xFFFFFFu);
        ASSERT_GT(white, 0u);
        ASSERT_LT(white, pixels.size());
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0u) + white, pixels.size());

        CCanvas canvas(kBackground);
        PaintTransparentBitmap(canvas.dc(), logo, 10, 10, kWhite);
        EXPECT_EQ(canvas.WrongPixels(pixels, kBackground), 0);
        EXPECT_EQ(GetPixel(canvas.dc(), 9, 9), kBackground);  // nothing outside the logo
        EXPECT_EQ(GetPixel(canvas.dc(), 180, 35), kBackground);
        EXPECT_EQ(Pixels(logo, 170, 25), pixels);  // the picture itself is restored
        PaintTransparentBitmap(canvas.dc(), nullptr, 0, 0, kWhite);
        EXPECT_EQ(GetPixel(canvas.dc(), 0, 0), kBackground);
    }
    EXPECT_EQ(GetObjectType(logo), 0u);  // deleted with the dialog
}

TEST(TransparentBitmap, ReleasesEveryGdiObject)
{
    CAboutDlg dlg;
    std::vector<DWORD> pixels = Pixels(dlg.m_hBitmap, 170, 25);
    CCanvas canvas(kBackground);

    // Where the system counts GDI objects, the count stays the same.
    DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 100 && before; ++i)
        PaintTransparentBitmap(canvas.dc(), dlg.m_hBitmap, 10, 10, kWhite);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);

    // Wine does not count them: fill the GDI table but for room for a few paints,
    // and paint far more often than a leak would allow.
    std::vector<HPEN> filler;
    for (HPEN pen; filler.size() < 200000 && (pen = CreatePen(PS_SOLID, 1, 0)) != nullptr;)
        filler.push_back(pen);
    ASSERT_LT(filler.size(), 200000u);
    const size_t room = 40;
    for (size_t i = 0; i < room && !filler.empty(); ++i, filler.pop_back())
        DeleteObject(filler.back());
    for (int i = 0; i < 300; ++i) {
        PatBlt(canvas.dc(), 0, 0, 200, 50, WHITENESS);
        PaintTransparentBitmap(canvas.dc(), dlg.m_hBitmap, 10, 10, kWhite);
    }
    size_t again = 0;
    for (HPEN pen; again < room && (pen = CreatePen(PS_SOLID, 1, 0)) != nullptr; ++again)
        filler.push_back(pen);
    for (HPEN pen : filler)
        DeleteObject(pen);
    EXPECT_GE(again, room - 2);
    EXPECT_EQ(canvas.WrongPixels(pixels, kWhite), 0);  // the last paint was whole
}
