#include "results/map_shading.h"

#include <algorithm>
#include <cmath>

void shadeRow(uint32_t* row, int count, float firstX, float stepX, float towardsX, float lit, float nyy,
              float ambient, float diffuse, float red, float green, float blue) {
    for (int k = 0; k < count; ++k) {
        const float nx = firstX + stepX * static_cast<float>(k);
        const float facing = (nx * towardsX + lit) / std::sqrt(nx * nx + nyy);
        const float light = ambient + diffuse * std::max(0.0f, facing);
        const int r = static_cast<int>(std::min(red * light, 255.0f));
        const int g = static_cast<int>(std::min(green * light, 255.0f));
        const int b = static_cast<int>(std::min(blue * light, 255.0f));
        row[k] = static_cast<uint32_t>((r << 16) | (g << 8) | b);
    }
}
