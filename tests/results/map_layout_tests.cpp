#include "results/map_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

namespace {

struct Pixels {
    long left, top, right, bottom;
    long width() const { return right - left; }
    long height() const { return bottom - top; }
};

Pixels rounded(const MapArea& a) { return {std::lround(a.left), std::lround(a.top), std::lround(a.right), std::lround(a.bottom)}; }

bool overlap(const Pixels& a, const Pixels& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

std::vector<double> randomSizes(int count, unsigned seed) {
    std::mt19937 random(seed);
    // Sizes over six orders of magnitude, as a folder's files are.
    std::uniform_real_distribution<double> exponent(0, 6);
    std::vector<double> sizes;
    for (int i = 0; i < count; ++i) sizes.push_back(std::floor(std::pow(10.0, exponent(random))));
    std::sort(sizes.rbegin(), sizes.rend());
    return sizes;
}

// Every property a parent and its children must have, on whole pixels.
void expectSoundLayout(const std::vector<double>& sizes, const MapArea& parent, double* averageRatio = nullptr) {
    const std::vector<MapArea> areas = squarify(sizes, parent);
    ASSERT_EQ(areas.size(), sizes.size());
    double total = 0;
    for (double size : sizes) total += std::max(0.0, size);
    const Pixels outer = rounded(parent);
    std::vector<Pixels> drawn;
    double ratios = 0;
    for (size_t i = 0; i < sizes.size(); ++i) {
        const MapArea& area = areas[i];
        if (sizes[i] <= 0) {
            EXPECT_EQ(area.area(), 0) << "item " << i << " has no size and takes no area";
            continue;
        }
        const double share = sizes[i] / total * parent.area();
        EXPECT_NEAR(area.area(), share, share * 1e-9 + 1e-9) << "item " << i;
        const Pixels pixels = rounded(area);
        // Rounding moves each side by half a pixel at most.
        EXPECT_LE(std::abs(pixels.width() - area.width()), 1.0) << "item " << i;
        EXPECT_LE(std::abs(pixels.height() - area.height()), 1.0) << "item " << i;
        EXPECT_TRUE(pixels.left >= outer.left && pixels.top >= outer.top && pixels.right <= outer.right &&
                    pixels.bottom <= outer.bottom)
            << "item " << i << " lies inside its parent";
        drawn.push_back(pixels);
        ratios += std::max(area.width(), area.height()) / std::min(area.width(), area.height());
    }
    for (size_t a = 0; a < drawn.size(); ++a)
        for (size_t b = a + 1; b < drawn.size(); ++b)
            ASSERT_FALSE(overlap(drawn[a], drawn[b])) << "items " << a << " and " << b << " overlap";
    if (averageRatio) *averageRatio = ratios / static_cast<double>(drawn.size());
}

}  // namespace

TEST(MapLayout, RectanglesTileTheirParentInProportionWithoutOverlapping) {
    double ratio = 0;
    expectSoundLayout(randomSizes(1000, 7), MapArea{0, 0, 1600, 1000}, &ratio);
    // The squarified layout's known behaviour; slicing the same sizes in strips
    // gives rectangles a thousand times longer than wide.
    EXPECT_LT(ratio, 3.0);

    expectSoundLayout(randomSizes(300, 11), MapArea{17.25, 3.5, 240.75, 611});  // a tall parent at a fraction
    expectSoundLayout({5, 5, 5, 5, 5}, MapArea{0, 0, 10, 10});
    expectSoundLayout({1}, MapArea{0, 0, 33, 7});
}

TEST(MapLayout, NothingTakesNoAreaAndTheSameInputGivesTheSameLayout) {
    const std::vector<double> sizes = {900, 0, 400, 0, 100, 0};
    expectSoundLayout(sizes, MapArea{0, 0, 300, 200});
    const std::vector<MapArea> areas = squarify(sizes, MapArea{0, 0, 300, 200});
    EXPECT_DOUBLE_EQ(areas[0].area() + areas[2].area() + areas[4].area(), 300.0 * 200.0)
        << "the sized items fill the parent between them";

    for (const MapArea& area : squarify({0, 0}, MapArea{0, 0, 50, 50})) EXPECT_EQ(area.area(), 0);
    for (const MapArea& area : squarify({3, 2}, MapArea{0, 0, 0, 50})) EXPECT_EQ(area.area(), 0);
    EXPECT_TRUE(squarify({}, MapArea{0, 0, 50, 50}).empty());

    const std::vector<double> random = randomSizes(1000, 3);
    const std::vector<MapArea> first = squarify(random, MapArea{0, 0, 800, 600});
    const std::vector<MapArea> again = squarify(random, MapArea{0, 0, 800, 600});
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].left, again[i].left);
        EXPECT_EQ(first[i].top, again[i].top);
        EXPECT_EQ(first[i].right, again[i].right);
        EXPECT_EQ(first[i].bottom, again[i].bottom);
    }
}
