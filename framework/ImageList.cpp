// ImageList.cpp: image lists scaled from a bitmap drawn for another size.
#include "framework/ImageList.h"
#include "framework/Handles.h"
#include "framework/ScaleImage.h"

#include <string.h>

BOOL CImageList::CreateScaled(UINT bitmapId, int cx, int size, int grow, COLORREF mask)
{
    DeleteImageList();
    CGdiObject<HBITMAP> art(static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId),
                                                              IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP bm;
    if (!art || cx <= 0 || size <= 0 || !::GetObjectA(art, sizeof(bm), &bm) || bm.bmWidth < cx)
        return FALSE;
    const int count = bm.bmWidth / cx;

    // 32-bit top-down rows read as 0x00RRGGBB.
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels((size_t)bm.bmWidth * bm.bmHeight);
    CMemDC dc(nullptr);
    if (::GetDIBits(dc, art, 0, bm.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS) != bm.bmHeight)
        return FALSE;
    const uint32_t rgb = (uint32_t)GetRValue(mask) << 16 | (uint32_t)GetGValue(mask) << 8 | GetBValue(mask);
    const std::vector<uint32_t> scaled = ScaleImageStrip(pixels.data(), count, cx, bm.bmHeight, size, rgb);

    bi.bmiHeader.biWidth = count * size;
    bi.bmiHeader.biHeight = -size;
    void* bits = nullptr;
    CGdiObject<HBITMAP> strip(::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!strip || !bits)
        return FALSE;
    memcpy(bits, scaled.data(), scaled.size() * sizeof(uint32_t));
    ::GdiFlush();

    m_hImageList = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, count, grow);
    if (m_hImageList && ImageList_AddMasked(m_hImageList, strip, mask) < 0)
        DeleteImageList();
    return m_hImageList != nullptr;
}
