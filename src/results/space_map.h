#pragma once
// A picture of where a folder's space went: the folder a rectangle, split into
// one rectangle per subfolder and file as large as what it takes on the disk,
// nested down to the files, laid out squarified and shaded as cushions so that
// the nesting shows without borders; files coloured by their kind.
#include "results/block_array.h"
#include "results/found_files.h"
#include "results/map_layout.h"
#include "results/space_totals.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

enum class TileKind : uint8_t {
    folder,  // a folder's rectangle, its subfolders and files drawn over it
    files,   // the files that lie directly in a folder, those too small to draw merged
    file,    // one file
};

// A rectangle drawn, as the pointer finds it again: 20 bytes, nothing per file
// that was not drawn.
struct MapTile {
    int16_t left = 0, top = 0, right = 0, bottom = 0;  // pixels; right and bottom lie outside
    uint32_t folder = 0;  // the folder it is, or the one its files lie in
    uint32_t item = 0;    // a file: its place in mapFilesOf(folder)
    TileKind kind = TileKind::folder;
    uint8_t colour = 0;   // 0 the shared colour; n: the nth kind of the legend
    uint16_t depth = 0;   // 0 for the map's own folder
};

struct MapStyle {
    // Windows' high-contrast mode: the system's colours and a frame round every
    // rectangle instead of colours and shading.
    bool highContrast = false;
    uint32_t background = 0xFFFFFF;  // 0xRRGGBB
    uint32_t frame = 0x000000;
};

struct MapPicture {
    uint32_t folder = FoundFiles::noFolder;
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBB, the top row first
    BlockArray<MapTile, 7> tiles;  // each folder before what lies in it; grown without copies
};

// The kinds that get a colour of their own, the largest first; the rest share one.
constexpr int mapColouredKinds = 8;
// The colour (0xRRGGBB) of the legend's nth kind (1..mapColouredKinds), or the shared one (0).
uint32_t mapKindColour(int colour);
// Its name, so that colour is never the only cue ("blue"; "grey" for the shared one).
const wchar_t* mapKindColourName(int colour);

// Where the map takes a folder's files from: each file's name and what it takes
// on the disk, in the order listed. The disk (listMapFiles) unless a caller gives
// its own.
using MapFileVisitor = std::function<void(std::wstring_view name, long long onDisk)>;
using MapFileSource = std::function<void(uint32_t folder, const MapFileVisitor& each)>;
// The folder's files as the disk lists them; links and online-only files take nothing.
void listMapFiles(const FoundFiles& found, uint32_t folder, const MapFileVisitor& each);

// A folder's files as the map lays them out: the largest on the disk first, equal
// ones in the order listed, so that the picture's files can be found again.
struct MapFile {
    std::wstring name;
    long long onDisk = 0;
};
std::vector<MapFile> mapFilesOf(uint32_t folder, const MapFileSource& source);
std::vector<MapFile> mapFilesOf(const FoundFiles& found, uint32_t folder);

// Lays out and draws the map of `folder` at width × height pixels. `legend`
// names the coloured kinds in their order. False when `stop` came first (the
// picture is then incomplete).
bool drawSpaceMap(const SpaceTotals& totals, const FoundFiles& found, uint32_t folder,
                  const std::vector<std::wstring>& legend, const MapStyle& style, int width, int height,
                  const std::atomic<bool>& stop, MapPicture& picture, const MapFileSource& files = {});

// A frame `rings` pixels wide just inside the tile's rectangle, in a picture `width` pixels wide.
void frameMapTile(std::vector<uint32_t>& pixels, int width, const MapTile& tile, uint32_t colour, int rings = 1);

// The deepest tile under the point; nullptr outside every tile.
const MapTile* mapTileAt(const MapPicture& picture, int x, int y);
