// ScaleImage.cpp: area-averaging scaling of masked image strips.
#include "framework/ScaleImage.h"

#include <algorithm>

namespace {

// How much of source pixel s lies under target pixel t along one axis, in units where a
// source pixel is sourceLength long and a target pixel targetLength.
int64_t Overlap(int s, int sourceLength, int t, int targetLength)
{
    const int64_t lo = std::max((int64_t)s * sourceLength, (int64_t)t * targetLength);
    const int64_t hi = std::min((int64_t)(s + 1) * sourceLength, (int64_t)(t + 1) * targetLength);
    return hi > lo ? hi - lo : 0;
}

}  // namespace

std::vector<uint32_t> ScaleImageStrip(const uint32_t* pixels, int count, int cellWidth, int height, int size,
                                      uint32_t mask)
{
    std::vector<uint32_t> out;
    if (!pixels || count <= 0 || cellWidth <= 0 || height <= 0 || size <= 0)
        return out;
    out.assign((size_t)count * size * size, mask);
    const int stride = count * cellWidth;
    for (int image = 0; image < count; ++image) {
        for (int ty = 0; ty < size; ++ty) {
            // The source rows and columns under target pixel (tx, ty).
            const int y0 = (int)((int64_t)ty * height / size);
            const int y1 = (int)(((int64_t)(ty + 1) * height + size - 1) / size);
            for (int tx = 0; tx < size; ++tx) {
                const int x0 = (int)((int64_t)tx * cellWidth / size);
                const int x1 = (int)(((int64_t)(tx + 1) * cellWidth + size - 1) / size);
                int64_t total = 0, opaque = 0, r = 0, g = 0, b = 0;
                for (int sy = y0; sy < y1; ++sy) {
                    const int64_t wy = Overlap(sy, size, ty, height);
                    for (int sx = x0; sx < x1; ++sx) {
                        const int64_t w = wy * Overlap(sx, size, tx, cellWidth);
                        const uint32_t p = pixels[(size_t)sy * stride + image * cellWidth + sx] & 0xFFFFFF;
                        total += w;
                        if (p == mask)
                            continue;
                        opaque += w;
                        r += w * (p >> 16);
                        g += w * ((p >> 8) & 0xFF);
                        b += w * (p & 0xFF);
                    }
                }
                if (opaque * 2 <= total)
                    continue;
                uint32_t colour = (uint32_t)((r + opaque / 2) / opaque) << 16 |
                                  (uint32_t)((g + opaque / 2) / opaque) << 8 | (uint32_t)((b + opaque / 2) / opaque);
                // An average may land on the mask colour itself: one step off it stays opaque.
                if (colour == mask)
                    colour ^= 1;
                out[((size_t)ty * count + image) * size + tx] = colour;
            }
        }
    }
    return out;
}
