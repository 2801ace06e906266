#pragma once
// The map's shading, one pixel row at a time: a file of its own, so that the
// compiler lays out the loop on its own terms (several pixels at once) rather
// than folded into each caller.
#include <cstdint>

// Writes `count` pixels (0xRRGGBB) of the colour red, green, blue (0..255), each
// lit as the cushion's slope there faces the light: the slope across the row is
// firstX at the first pixel and grows by stepX; `lit` and `nyy` hold the row's
// own share of it; `ambient` and `diffuse` weigh the light.
void shadeRow(uint32_t* row, int count, float firstX, float stepX, float towardsX, float lit, float nyy,
              float ambient, float diffuse, float red, float green, float blue);
