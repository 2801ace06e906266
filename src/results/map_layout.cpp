#include "results/map_layout.h"

#include <algorithm>

namespace {

// The worst aspect ratio (at least 1) of a row of rectangles whose areas add up
// to `sum`, the largest `largest` and the smallest `smallest`, laid along a side
// of length `side`.
double worstRatio(double sum, double largest, double smallest, double side) {
    const double sideSquared = side * side, sumSquared = sum * sum;
    return std::max(sideSquared * largest / sumSquared, sumSquared / (sideSquared * smallest));
}

}  // namespace

void squarifyInto(const double* weights, size_t count, const MapArea& area, std::vector<MapArea>& out) {
    out.assign(count, MapArea{area.left, area.top, area.left, area.top});
    double total = 0;
    for (size_t i = 0; i < count; ++i)
        if (weights[i] > 0) total += weights[i];
    if (total <= 0 || area.width() <= 0 || area.height() <= 0) return;
    const double scale = area.area() / total;

    MapArea free = area;  // what the rows laid so far have left
    size_t start = 0;
    while (start < count) {
        while (start < count && weights[start] <= 0) ++start;
        if (start == count) break;
        // A row grows while its worst rectangle grows squarer.
        const bool alongWidth = free.width() >= free.height();  // the row stands along the shorter side
        const double side = alongWidth ? free.height() : free.width();
        double sum = weights[start] * scale, largest = sum, smallest = sum;
        size_t end = start + 1;
        for (; end < count; ++end) {
            if (weights[end] <= 0) continue;
            const double next = weights[end] * scale;
            const double grownSum = sum + next;
            if (worstRatio(grownSum, std::max(largest, next), std::min(smallest, next), side) >
                worstRatio(sum, largest, smallest, side))
                break;
            sum = grownSum;
            largest = std::max(largest, next);
            smallest = std::min(smallest, next);
        }
        // The last row takes what is left exactly, so rounding leaves no sliver.
        const bool lastRow = end == count;
        const double thickness = lastRow ? (alongWidth ? free.width() : free.height()) : sum / side;
        double along = alongWidth ? free.top : free.left;
        const double rowEnd = alongWidth ? free.bottom : free.right;
        size_t lastPlaced = start;
        for (size_t i = start; i < end; ++i) {
            if (weights[i] <= 0) continue;
            const double length = weights[i] * scale / thickness;
            MapArea& placed = out[i];
            if (alongWidth)
                placed = {free.left, along, free.left + thickness, along + length};
            else
                placed = {along, free.top, along + length, free.top + thickness};
            along += length;
            lastPlaced = i;
        }
        // The row's last rectangle reaches the row's end exactly.
        (alongWidth ? out[lastPlaced].bottom : out[lastPlaced].right) = rowEnd;
        if (alongWidth)
            free.left = lastRow ? free.right : free.left + thickness;
        else
            free.top = lastRow ? free.bottom : free.top + thickness;
        start = end;
    }
}

std::vector<MapArea> squarify(const std::vector<double>& weights, const MapArea& area) {
    std::vector<MapArea> out;
    squarifyInto(weights.data(), weights.size(), area, out);
    return out;
}
