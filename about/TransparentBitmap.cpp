// TransparentBitmap.cpp: masked drawing through five memory device contexts.
#include "about/TransparentBitmap.h"
#include "framework/Handles.h"

void PaintTransparentBitmap(HDC dc, HBITMAP bitmap, short x, short y, COLORREF transparent)
{
    if (!dc || !bitmap)
        return;

    // Declared before the contexts: on an early way out the contexts go first,
    // which frees the bitmaps selected into them for deletion.
    CGdiObject<HBITMAP> inverseMaskBitmap, maskBitmap, workBitmap, saveBitmap;

    CMemDC pictureDc(dc);
    if (!pictureDc)
        return;
    ::SelectObject(pictureDc, bitmap);

    BITMAP bm;
    if (!::GetObjectA(bitmap, sizeof(bm), &bm))
        return;
    POINT size = {bm.bmWidth, bm.bmHeight};
    ::DPtoLP(pictureDc, &size, 1);
    const int cx = size.x;
    const int cy = size.y;

    CMemDC inverseMaskDc(dc), maskDc(dc), workDc(dc), saveDc(dc);

    inverseMaskBitmap.Reset(::CreateBitmap(cx, cy, 1, 1, nullptr));
    maskBitmap.Reset(::CreateBitmap(cx, cy, 1, 1, nullptr));
    workBitmap.Reset(::CreateCompatibleBitmap(dc, cx, cy));
    saveBitmap.Reset(::CreateCompatibleBitmap(dc, cx, cy));

    const bool ready = inverseMaskDc && maskDc && workDc && saveDc && inverseMaskBitmap && maskBitmap &&
                       workBitmap && saveBitmap;
    if (!ready)
        return;

    HGDIOBJ oldInverseMask = ::SelectObject(inverseMaskDc, inverseMaskBitmap);
    HGDIOBJ oldMask = ::SelectObject(maskDc, maskBitmap);
    HGDIOBJ oldWork = ::SelectObject(workDc, workBitmap);
    HGDIOBJ oldSave = ::SelectObject(saveDc, saveBitmap);

    ::SetMapMode(pictureDc, ::GetMapMode(dc));

    ::BitBlt(saveDc, 0, 0, cx, cy, pictureDc, 0, 0, SRCCOPY);
    // Pixels of the background colour become white in the monochrome mask.
    COLORREF oldBack = ::SetBkColor(pictureDc, transparent);
    ::BitBlt(maskDc, 0, 0, cx, cy, pictureDc, 0, 0, SRCCOPY);
    ::SetBkColor(pictureDc, oldBack);
    ::BitBlt(inverseMaskDc, 0, 0, cx, cy, maskDc, 0, 0, NOTSRCCOPY);
    ::BitBlt(workDc, 0, 0, cx, cy, dc, x, y, SRCCOPY);
    ::BitBlt(workDc, 0, 0, cx, cy, maskDc, 0, 0, SRCAND);
    ::BitBlt(pictureDc, 0, 0, cx, cy, inverseMaskDc, 0, 0, SRCAND);
    ::BitBlt(workDc, 0, 0, cx, cy, pictureDc, 0, 0, SRCPAINT);
    ::BitBlt(dc, x, y, cx, cy, workDc, 0, 0, SRCCOPY);
    ::BitBlt(pictureDc, 0, 0, cx, cy, saveDc, 0, 0, SRCCOPY);

    ::SelectObject(inverseMaskDc, oldInverseMask);
    inverseMaskBitmap.Reset(nullptr);
    ::SelectObject(maskDc, oldMask);
    maskBitmap.Reset(nullptr);
    ::SelectObject(workDc, oldWork);
    workBitmap.Reset(nullptr);
    ::SelectObject(saveDc, oldSave);
    saveBitmap.Reset(nullptr);

    workDc.Reset();
    inverseMaskDc.Reset();
    maskDc.Reset();
    saveDc.Reset();
    pictureDc.Reset();
}
