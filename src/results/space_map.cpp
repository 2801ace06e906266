#include "results/space_map.h"

#include "results/map_shading.h"
#include "toolkit/file_attributes.h"
#include "toolkit/listing.h"

#include <algorithm>
#include <cmath>

namespace {

// A rectangle smaller than this on either side is merged into its folder's.
constexpr int smallestSide = 2;

// The cushions: each level adds a ridge over its rectangle, lower the deeper it
// lies, so that every rectangle is a bulge and its edges dark creases.
constexpr double ridgeHeight = 0.5, ridgeFalloff = 0.75;
constexpr double ambient = 0.25, diffuse = 0.85;
// Light from the top left, towards the viewer.
constexpr double lightX = -0.09759, lightY = -0.19518, lightZ = 0.9759;

constexpr uint32_t palette[mapColouredKinds + 1] = {
    0xA0A0A0,                                                      // every other kind, and merged files
    0x2B6CC4, 0xD9412B, 0x3FA34D, 0xE8A21E, 0x8E44AD, 0x17A2B8, 0xC2185B, 0x7D6B3F,
};

constexpr const wchar_t* paletteNames[mapColouredKinds + 1] = {
    L"grey", L"blue", L"red", L"green", L"amber", L"purple", L"teal", L"pink", L"brown",
};

struct Cushion {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;  // the surface z = x2·x² + x1·x + y2·y² + y1·y

    Cushion withRidge(const MapArea& area, double height) const {
        Cushion c = *this;
        if (area.width() > 0) {
            c.x1 += 4 * height * (area.right + area.left) / area.width();
            c.x2 -= 4 * height / area.width();
        }
        if (area.height() > 0) {
            c.y1 += 4 * height * (area.bottom + area.top) / area.height();
            c.y2 -= 4 * height / area.height();
        }
        return c;
    }
};

struct PixelBox {
    int left, top, right, bottom;
    bool big() const { return right - left >= smallestSide && bottom - top >= smallestSide; }
    bool empty() const { return right <= left || bottom <= top; }
};

PixelBox pixelsOf(const MapArea& area, int width, int height) {
    auto at = [](double v, int limit) { return std::clamp(static_cast<int>(std::lround(v)), 0, limit); };
    return {at(area.left, width), at(area.top, height), at(area.right, width), at(area.bottom, height)};
}

// A frame one pixel wide just inside the box.
void frameBox(std::vector<uint32_t>& pixels, int width, const PixelBox& box, uint32_t colour) {
    if (box.empty()) return;
    for (int x = box.left; x < box.right; ++x) {
        pixels[static_cast<size_t>(box.top) * width + x] = colour;
        pixels[static_cast<size_t>(box.bottom - 1) * width + x] = colour;
    }
    for (int y = box.top; y < box.bottom; ++y) {
        pixels[static_cast<size_t>(y) * width + box.left] = colour;
        pixels[static_cast<size_t>(y) * width + box.right - 1] = colour;
    }
}

class Painter {
public:
    Painter(const MapStyle& style, MapPicture& picture) : style_(style), picture_(picture) {}

    // `framed`: in high contrast a frame round it (what is merged has none: a
    // frame round every speck would leave nothing but frames).
    void fill(const PixelBox& box, uint32_t colour, const Cushion& cushion, bool framed = true) {
        if (box.empty()) return;
        const int width = picture_.width;
        if (style_.highContrast) {
            for (int y = box.top; y < box.bottom; ++y)
                for (int x = box.left; x < box.right; ++x) picture_.pixels[static_cast<size_t>(y) * width + x] = style_.background;
            if (framed) frame(box);
            return;
        }
        // The surface's slope across a row grows by the same step from pixel to
        // pixel; the loop is written so that the compiler can do several at once.
        const float red = static_cast<float>((colour >> 16) & 0xFF), green = static_cast<float>((colour >> 8) & 0xFF),
                    blue = static_cast<float>(colour & 0xFF);
        const float stepX = static_cast<float>(-2 * cushion.x2);
        const float firstX = static_cast<float>(-(2 * cushion.x2 * (box.left + 0.5) + cushion.x1));
        const float towardsX = static_cast<float>(lightX), a = static_cast<float>(ambient), d = static_cast<float>(diffuse);
        const int count = box.right - box.left;
        for (int y = box.top; y < box.bottom; ++y) {
            const float ny = static_cast<float>(-(2 * cushion.y2 * (y + 0.5) + cushion.y1));
            const float lit = static_cast<float>(lightZ) + ny * static_cast<float>(lightY), nyy = ny * ny + 1;
            shadeRow(&picture_.pixels[static_cast<size_t>(y) * width + box.left], count, firstX, stepX, towardsX, lit,
                     nyy, a, d, red, green, blue);
        }
    }

    void frame(const PixelBox& box) { frameBox(picture_.pixels, picture_.width, box, style_.frame); }

private:
    const MapStyle& style_;
    MapPicture& picture_;
};

// Each counted folder's counted subfolders, found in one pass over all folders
// instead of one per folder drawn.
class ChildIndex {
public:
    ChildIndex(const SpaceTotals& totals, const FoundFiles& found) {
        const size_t count = found.folderCount();
        starts_.assign(count + 1, 0);
        for (size_t at = 0; at < count; ++at) {
            const uint32_t parent = found.parentOf(static_cast<uint32_t>(at));
            if (totals.isCounted(static_cast<uint32_t>(at)) && parent != FoundFiles::noFolder && parent < count)
                ++starts_[parent + 1];
        }
        for (size_t at = 0; at < count; ++at) starts_[at + 1] += starts_[at];
        children_.resize(starts_[count]);
        std::vector<uint32_t> placed(starts_.begin(), starts_.end() - 1);
        for (size_t at = 0; at < count; ++at) {
            const uint32_t parent = found.parentOf(static_cast<uint32_t>(at));
            if (totals.isCounted(static_cast<uint32_t>(at)) && parent != FoundFiles::noFolder && parent < count)
                children_[placed[parent]++] = static_cast<uint32_t>(at);
        }
    }
    const uint32_t* begin(uint32_t folder) const { return children_.data() + starts_[folder]; }
    const uint32_t* end(uint32_t folder) const { return children_.data() + starts_[folder + 1]; }

private:
    std::vector<uint32_t> starts_;
    std::vector<uint32_t> children_;
};

int colourOf(std::wstring_view name, const std::vector<std::wstring>& legend) {
    const std::wstring kind = kindOfName(name);
    for (size_t i = 0; i < legend.size() && i < static_cast<size_t>(mapColouredKinds); ++i)
        if (legend[i] == kind) return static_cast<int>(i) + 1;
    return 0;
}

MapTile tileOf(const PixelBox& box, uint32_t folder, TileKind kind, int depth) {
    MapTile tile;
    tile.left = static_cast<int16_t>(box.left);
    tile.top = static_cast<int16_t>(box.top);
    tile.right = static_cast<int16_t>(box.right);
    tile.bottom = static_cast<int16_t>(box.bottom);
    tile.folder = folder;
    tile.kind = kind;
    tile.depth = static_cast<uint16_t>(std::min(depth, 0xFFFF));
    return tile;
}

}  // namespace

uint32_t mapKindColour(int colour) {
    return colour >= 0 && colour <= mapColouredKinds ? palette[colour] : palette[0];
}

const wchar_t* mapKindColourName(int colour) {
    return colour >= 0 && colour <= mapColouredKinds ? paletteNames[colour] : paletteNames[0];
}

void listMapFiles(const FoundFiles& found, uint32_t folder, const MapFileVisitor& each) {
    if (folder >= found.folderCount()) return;
    FolderListing listing(found.folderPath(folder), L"*");
    while (listing.next()) {
        if (listing.kind() != EntryKind::file) continue;
        const long long size = std::max(0LL, listing.size()), allocation = listing.allocation();
        const bool onlineOnly = (listing.attributes() & onlineOnlyAttributes) != 0;
        each(listing.name(), onlineOnly || listing.isLink() ? 0 : allocation >= 0 && allocation < size ? allocation : size);
    }
}

std::vector<MapFile> mapFilesOf(uint32_t folder, const MapFileSource& source) {
    std::vector<MapFile> files;
    source(folder, [&](std::wstring_view name, long long onDisk) { files.push_back({std::wstring(name), onDisk}); });
    std::stable_sort(files.begin(), files.end(), [](const MapFile& a, const MapFile& b) { return a.onDisk > b.onDisk; });
    return files;
}

std::vector<MapFile> mapFilesOf(const FoundFiles& found, uint32_t folder) {
    return mapFilesOf(folder, [&found](uint32_t f, const MapFileVisitor& each) { listMapFiles(found, f, each); });
}

bool drawSpaceMap(const SpaceTotals& totals, const FoundFiles& found, uint32_t folder,
                  const std::vector<std::wstring>& legend, const MapStyle& style, int width, int height,
                  const std::atomic<bool>& stop, MapPicture& picture, const MapFileSource& fileSource) {
    width = std::clamp(width, 0, 0x7FFF);
    height = std::clamp(height, 0, 0x7FFF);
    picture.folder = folder;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), style.background);
    picture.tiles.clear();
    if (!totals.isGathered() || !totals.isCounted(folder) || width == 0 || height == 0) return true;

    const ChildIndex children(totals, found);
    Painter painter(style, picture);
    // What the layout of one folder weighs: its subfolders, then its own files.
    struct Part {
        double weight;
        uint32_t folder;  // noFolder: the files directly in it
    };
    struct Pending {
        uint32_t folder;
        MapArea area;
        Cushion cushion;
        int depth;
    };
    // A file while its folder is laid out: nothing more is kept of it.
    struct Weighed {
        float weight;
        uint8_t colour;
    };
    std::vector<Pending> pending{{folder, MapArea{0, 0, double(width), double(height)}, Cushion{}, 0}};
    std::vector<Part> parts;
    std::vector<Weighed> files;
    while (!pending.empty()) {
        if (stop.load(std::memory_order_relaxed)) return false;
        const Pending at = pending.back();
        pending.pop_back();
        const PixelBox box = pixelsOf(at.area, width, height);
        picture.tiles.push_back(tileOf(box, at.folder, TileKind::folder, at.depth));
        const Cushion cushion = at.cushion.withRidge(at.area, ridgeHeight * std::pow(ridgeFalloff, at.depth));

        parts.clear();
        for (const uint32_t* child = children.begin(at.folder); child != children.end(at.folder); ++child)
            parts.push_back({static_cast<double>(totals.figures(*child).onDisk), *child});
        const FolderFigures direct = totals.filesDirectlyIn(at.folder);
        parts.push_back({static_cast<double>(direct.onDisk), FoundFiles::noFolder});
        std::stable_sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) { return a.weight > b.weight; });
        if (parts.front().weight <= 0) {
            painter.fill(box, mapKindColour(0), cushion);  // nothing in it takes space
            continue;
        }
        const double subRidge = ridgeHeight * std::pow(ridgeFalloff, at.depth + 1);
        const double fileRidge = ridgeHeight * std::pow(ridgeFalloff, at.depth + 2);
        auto layFiles = [&](const MapArea& area, const PixelBox& partBox, double weight) {
            // A file's place among them is the one mapFilesOf gives it, so that the
            // pointer finds it again.
            picture.tiles.push_back(tileOf(partBox, at.folder, TileKind::files, at.depth + 1));
            const Cushion filesCushion = cushion.withRidge(area, subRidge);
            // Listed only where one of them could be large enough to see.
            const double largest = std::ldexp(1.0, totals.largestFileBits(at.folder));
            if (area.area() * std::min(1.0, largest / weight) < smallestSide * smallestSide) {
                painter.fill(partBox, mapKindColour(0), filesCushion);
                return;
            }
            // Files too small to see (under 2 × 2 pixels of the files' rectangle, as
            // the totals weigh them) are the smallest: they go last in the order
            // mapFilesOf gives, merged into one rectangle of the shared colour, and
            // cost nothing more to lay out. The folder is listed once.
            double merged = 0;
            const MapFileVisitor keep = [&](std::wstring_view name, long long onDisk) {
                const double size = static_cast<double>(std::max(0LL, onDisk));
                if (size * area.area() >= smallestSide * smallestSide * weight)
                    files.push_back({static_cast<float>(size), static_cast<uint8_t>(colourOf(name, legend))});
                else
                    merged += size;
            };
            files.clear();
            if (fileSource)
                fileSource(at.folder, keep);
            else
                listMapFiles(found, at.folder, keep);
            if (files.empty() && merged <= 0) {
                painter.fill(partBox, mapKindColour(0), filesCushion);
                return;
            }
            std::stable_sort(files.begin(), files.end(), [](const Weighed& a, const Weighed& b) { return a.weight > b.weight; });
            squarifyEach(
                files.size() + 1, [&](size_t f) { return f < files.size() ? static_cast<double>(files[f].weight) : merged; }, area,
                [&](size_t f, const MapArea& fileArea) {
                    const PixelBox fileBox = pixelsOf(fileArea, width, height);
                    if (f == files.size() || !fileBox.big()) {  // shown in the files' shared colour
                        painter.fill(fileBox, mapKindColour(0), filesCushion, false);
                        return;
                    }
                    MapTile tile = tileOf(fileBox, at.folder, TileKind::file, at.depth + 2);
                    tile.item = static_cast<uint32_t>(f);
                    tile.colour = files[f].colour;
                    picture.tiles.push_back(tile);
                    painter.fill(fileBox, mapKindColour(tile.colour), filesCushion.withRidge(fileArea, fileRidge));
                });
        };
        squarifyEach(
            parts.size(), [&](size_t i) { return parts[i].weight; }, at.area,
            [&](size_t i, const MapArea& area) {
                const PixelBox partBox = pixelsOf(area, width, height);
                if (!partBox.big())
                    painter.fill(partBox, mapKindColour(0), cushion, false);  // merged into the folder
                else if (parts[i].folder != FoundFiles::noFolder)
                    pending.push_back({parts[i].folder, area, cushion, at.depth + 1});
                else
                    layFiles(area, partBox, parts[i].weight);
            });
    }
    // In high contrast each folder and its own files are framed too, over what lies in them.
    if (style.highContrast)
        for (size_t i = 0; i < picture.tiles.size(); ++i)
            if (const MapTile& tile = picture.tiles[i]; tile.kind != TileKind::file)
                painter.frame({tile.left, tile.top, tile.right, tile.bottom});
    return true;
}

void frameMapTile(std::vector<uint32_t>& pixels, int width, const MapTile& tile, uint32_t colour, int rings) {
    for (int ring = 0; ring < rings; ++ring)
        frameBox(pixels, width, {tile.left + ring, tile.top + ring, tile.right - ring, tile.bottom - ring}, colour);
}

const MapTile* mapTileAt(const MapPicture& picture, int x, int y) {
    const MapTile* deepest = nullptr;
    for (size_t i = 0; i < picture.tiles.size(); ++i)
        if (const MapTile& tile = picture.tiles[i];
            x >= tile.left && x < tile.right && y >= tile.top && y < tile.bottom &&
            (!deepest || tile.depth >= deepest->depth))
            deepest = &tile;
    return deepest;
}
