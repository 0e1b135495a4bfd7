// TransparentBitmap.h: drawing a bitmap with one colour left transparent.
#pragma once

#include <windows.h>

// Draws the whole of bitmap with its upper-left corner at (x, y) of dc, in dc's
// logical units, leaving dc unchanged wherever the bitmap has the colour
// transparent. The destination receives one copy, so nothing flickers. bitmap must
// not be selected into another device context.
void PaintTransparentBitmap(HDC dc, HBITMAP bitmap, short x, short y, COLORREF transparent);
