#include "results/space_map.h"

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

uint32_t scaled(uint32_t colour, double light) {
    auto channel = [&](int shift) {
        const double value = static_cast<double>((colour >> shift) & 0xFF) * light;
        return static_cast<uint32_t>(std::clamp(value, 0.0, 255.0)) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

class Painter {
public:
    Painter(const MapStyle& style, MapPicture& picture) : style_(style), picture_(picture) {}

    void fill(const PixelBox& box, uint32_t colour, const Cushion& cushion) {
        if (box.empty()) return;
        const int width = picture_.width;
        if (style_.highContrast) {
            for (int y = box.top; y < box.bottom; ++y)
                for (int x = box.left; x < box.right; ++x) {
                    const bool edge = x == box.left || y == box.top || x == box.right - 1 || y == box.bottom - 1;
                    picture_.pixels[static_cast<size_t>(y) * width + x] = edge ? style_.frame : style_.background;
                }
            return;
        }
        for (int y = box.top; y < box.bottom; ++y) {
            const double ny = -(2 * cushion.y2 * (y + 0.5) + cushion.y1);
            uint32_t* row = &picture_.pixels[static_cast<size_t>(y) * width];
            for (int x = box.left; x < box.right; ++x) {
                const double nx = -(2 * cushion.x2 * (x + 0.5) + cushion.x1);
                const double facing = (nx * lightX + ny * lightY + lightZ) / std::sqrt(nx * nx + ny * ny + 1);
                row[x] = scaled(colour, ambient + diffuse * std::max(0.0, facing));
            }
        }
    }

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

std::vector<MapFile> mapFilesOf(const FoundFiles& found, uint32_t folder) {
    std::vector<MapFile> files;
    if (folder >= found.folderCount()) return files;
    FolderListing listing(found.folderPath(folder), L"*");
    while (listing.next()) {
        if (listing.kind() != EntryKind::file) continue;
        MapFile file;
        file.name = std::wstring(listing.name());
        const long long size = std::max(0LL, listing.size()), allocation = listing.allocation();
        const bool onlineOnly = (listing.attributes() & onlineOnlyAttributes) != 0;
        file.onDisk = onlineOnly || listing.isLink() ? 0 : allocation >= 0 && allocation < size ? allocation : size;
        files.push_back(std::move(file));
    }
    std::sort(files.begin(), files.end(), [](const MapFile& a, const MapFile& b) {
        return a.onDisk != b.onDisk ? a.onDisk > b.onDisk : a.name < b.name;
    });
    return files;
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
    std::vector<Pending> pending{{folder, MapArea{0, 0, double(width), double(height)}, Cushion{}, 0}};
    std::vector<Part> parts;
    std::vector<double> weights;
    std::vector<MapArea> areas;
    while (!pending.empty()) {
        if (stop.load(std::memory_order_relaxed)) return false;
        const Pending at = pending.back();
        pending.pop_back();
        const PixelBox box = pixelsOf(at.area, width, height);
        picture.tiles.push_back(tileOf(box, at.folder, TileKind::folder, at.depth));
        const double ridge = ridgeHeight * std::pow(ridgeFalloff, at.depth);
        const Cushion cushion = at.cushion.withRidge(at.area, ridge);

        parts.clear();
        for (const uint32_t* child = children.begin(at.folder); child != children.end(at.folder); ++child)
            parts.push_back({static_cast<double>(totals.figures(*child).onDisk), *child});
        const FolderFigures direct = totals.filesDirectlyIn(at.folder);
        parts.push_back({static_cast<double>(direct.onDisk), FoundFiles::noFolder});
        std::stable_sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) { return a.weight > b.weight; });
        weights.clear();
        for (const Part& part : parts) weights.push_back(part.weight);
        squarifyInto(weights.data(), weights.size(), at.area, areas);
        if (weights.empty() || std::all_of(weights.begin(), weights.end(), [](double w) { return w <= 0; })) {
            painter.fill(box, mapKindColour(0), cushion);  // nothing in it takes space
            continue;
        }

        const double subRidge = ridgeHeight * std::pow(ridgeFalloff, at.depth + 1);
        for (size_t i = parts.size(); i-- > 0;) {  // pushed last first: drawn largest first
            const Part& part = parts[i];
            if (part.weight <= 0) continue;
            const PixelBox partBox = pixelsOf(areas[i], width, height);
            if (!partBox.big()) {
                painter.fill(partBox, mapKindColour(0), cushion);  // merged into the folder
                continue;
            }
            if (part.folder != FoundFiles::noFolder) {
                pending.push_back({part.folder, areas[i], cushion, at.depth + 1});
                continue;
            }
            // The files directly in the folder: listed only where one of them could
            // be large enough to see.
            picture.tiles.push_back(tileOf(partBox, at.folder, TileKind::files, at.depth + 1));
            const Cushion filesCushion = cushion.withRidge(areas[i], subRidge);
            const double largest = std::ldexp(1.0, totals.largestFileBits(at.folder));
            const double largestShare = part.weight > 0 ? std::min(1.0, largest / part.weight) : 1.0;
            if (areas[i].area() * largestShare < smallestSide * smallestSide) {
                painter.fill(partBox, mapKindColour(0), filesCushion);
                continue;
            }
            const std::vector<MapFile> files = fileSource ? fileSource(at.folder) : mapFilesOf(found, at.folder);
            std::vector<double> fileWeights;
            fileWeights.reserve(files.size());
            for (const MapFile& file : files) fileWeights.push_back(static_cast<double>(file.onDisk));
            std::vector<MapArea> fileAreas;
            squarifyInto(fileWeights.data(), fileWeights.size(), areas[i], fileAreas);
            painter.fill(partBox, mapKindColour(0), filesCushion);
            const double fileRidge = ridgeHeight * std::pow(ridgeFalloff, at.depth + 2);
            for (size_t f = 0; f < files.size(); ++f) {
                const PixelBox fileBox = pixelsOf(fileAreas[f], width, height);
                if (!fileBox.big() || files[f].onDisk <= 0) continue;  // shown as the files' shared colour
                MapTile tile = tileOf(fileBox, at.folder, TileKind::file, at.depth + 2);
                tile.item = static_cast<uint32_t>(f);
                tile.colour = static_cast<uint8_t>(colourOf(files[f].name, legend));
                picture.tiles.push_back(tile);
                painter.fill(fileBox, mapKindColour(tile.colour), filesCushion.withRidge(fileAreas[f], fileRidge));
            }
        }
    }
    return true;
}

const MapTile* mapTileAt(const MapPicture& picture, int x, int y) {
    const MapTile* deepest = nullptr;
    for (const MapTile& tile : picture.tiles)
        if (x >= tile.left && x < tile.right && y >= tile.top && y < tile.bottom &&
            (!deepest || tile.depth >= deepest->depth))
            deepest = &tile;
    return deepest;
}
