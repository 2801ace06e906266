#pragma once
// The squarified treemap layout (Bruls, Huizing and van Wijk, 2000): a rectangle
// split into one rectangle per item, each as large as the item's share, laid in
// rows along the shorter side so that each stays as near square as the items allow.
#include <cstddef>
#include <vector>

struct MapArea {
    double left = 0, top = 0, right = 0, bottom = 0;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
    double area() const { return width() * height(); }
};

// One rectangle for each weight, in the order given; the weights should come
// largest first (the layout's squareness depends on it, its correctness does
// not). A weight of 0 or less takes no area: its rectangle is empty at the
// area's top left corner. Rectangles tile `area` without overlapping, and each
// takes exactly its weight's share of it.
std::vector<MapArea> squarify(const std::vector<double>& weights, const MapArea& area);
// The same, written into `out` (resized to the weights' count), for a caller
// that lays out many folders in turn and keeps one buffer.
void squarifyInto(const double* weights, size_t count, const MapArea& area, std::vector<MapArea>& out);
