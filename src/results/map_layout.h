#pragma once
// The squarified treemap layout (Bruls, Huizing and van Wijk, 2000): a rectangle
// split into one rectangle per item, each as large as the item's share, laid in
// rows along the shorter side so that each stays as near square as the items allow.
#include <algorithm>
#include <cstddef>
#include <vector>

struct MapArea {
    double left = 0, top = 0, right = 0, bottom = 0;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
    double area() const { return width() * height(); }
};

namespace layout_detail {

// The worst aspect ratio (at least 1) of a row of rectangles whose areas add up
// to `sum`, the largest `largest` and the smallest `smallest`, laid along a side
// of length `side`.
inline double worstRatio(double sum, double largest, double smallest, double side) {
    const double sideSquared = side * side, sumSquared = sum * sum;
    return std::max(sideSquared * largest / sumSquared, sumSquared / (sideSquared * smallest));
}

}  // namespace layout_detail

// Lays out `count` items whose weights `weight(i)` gives, largest first (the
// layout's squareness depends on that, its correctness does not), and hands each
// item with a weight above 0 to `place(i, area)`, in order; an item of weight 0 or
// less takes no area and is not handed over. The rectangles tile `area` without
// overlapping, and each takes exactly its weight's share of it. Nothing is kept
// per item, so that a folder of a million files costs no memory to lay out.
template <typename Weight, typename Place>
void squarifyEach(size_t count, Weight weight, const MapArea& area, Place place) {
    using layout_detail::worstRatio;
    double total = 0;
    for (size_t i = 0; i < count; ++i)
        if (weight(i) > 0) total += weight(i);
    if (total <= 0 || area.width() <= 0 || area.height() <= 0) return;
    const double scale = area.area() / total;

    MapArea free = area;  // what the rows laid so far have left
    size_t start = 0;
    while (start < count) {
        while (start < count && weight(start) <= 0) ++start;
        if (start == count) break;
        // A row grows while its worst rectangle grows squarer.
        const bool alongWidth = free.width() >= free.height();  // the row stands along the shorter side
        const double side = alongWidth ? free.height() : free.width();
        double sum = weight(start) * scale, largest = sum, smallest = sum;
        size_t end = start + 1;
        for (; end < count; ++end) {
            if (weight(end) <= 0) continue;
            const double next = weight(end) * scale;
            const double grownSum = sum + next;
            if (worstRatio(grownSum, std::max(largest, next), std::min(smallest, next), side) >
                worstRatio(sum, largest, smallest, side))
                break;
            sum = grownSum;
            largest = std::max(largest, next);
            smallest = std::min(smallest, next);
        }
        // The last row takes what is left exactly, so that rounding leaves no sliver.
        const bool lastRow = end == count;
        const double thickness = lastRow ? (alongWidth ? free.width() : free.height()) : sum / side;
        const double rowEnd = alongWidth ? free.bottom : free.right;
        double along = alongWidth ? free.top : free.left;
        size_t last = start;  // the row's last item, which reaches the row's end exactly
        for (size_t i = start; i < end; ++i)
            if (weight(i) > 0) last = i;
        for (size_t i = start; i < end; ++i) {
            if (weight(i) <= 0) continue;
            const double length = i == last ? rowEnd - along : weight(i) * scale / thickness;
            if (alongWidth)
                place(i, MapArea{free.left, along, free.left + thickness, along + length});
            else
                place(i, MapArea{along, free.top, along + length, free.top + thickness});
            along += length;
        }
        if (alongWidth)
            free.left = lastRow ? free.right : free.left + thickness;
        else
            free.top = lastRow ? free.bottom : free.top + thickness;
        start = end;
    }
}

// The same, one rectangle for each weight, in the order given; an item of weight
// 0 or less gets an empty rectangle at the area's top left corner.
inline std::vector<MapArea> squarify(const std::vector<double>& weights, const MapArea& area) {
    std::vector<MapArea> out(weights.size(), MapArea{area.left, area.top, area.left, area.top});
    squarifyEach(weights.size(), [&](size_t i) { return weights[i]; }, area,
                 [&](size_t i, const MapArea& placed) { out[i] = placed; });
    return out;
}
