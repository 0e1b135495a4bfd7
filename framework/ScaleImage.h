// ScaleImage.h: smooth scaling of image strips drawn on a mask colour, without windows.h.
#pragma once

#include <cstdint>
#include <vector>

// Scales a strip of count images, each cellWidth x height pixels (0x00RRGGBB, rows top
// down, the strip count * cellWidth wide), to images of size x size, image by image so
// that none bleeds into its neighbour. Each target pixel averages the source area it
// covers; mask pixels take no part in the colour: a target pixel that is at least half
// mask comes out as mask, any other as the average of the opaque colours under it.
std::vector<uint32_t> ScaleImageStrip(const uint32_t* pixels, int count, int cellWidth, int height, int size,
                                      uint32_t mask);
