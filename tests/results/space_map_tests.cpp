#include "results/space_map.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// D:\tree with folders a (three files) and a\deep (one), b (two), and empty c.
struct Drive {
    FoundFiles found;
    SpaceTotals totals;
    std::map<uint32_t, std::vector<MapFile>> files;
    uint32_t root = 0, a = 0, deep = 0, b = 0;

    Drive() {
        root = found.addFolder(L"D:\\tree");
        a = found.addFolder(root, L"a");
        deep = found.addFolder(a, L"deep");
        b = found.addFolder(root, L"b");
        const uint32_t c = found.addFolder(root, L"c");
        for (uint32_t folder : {root, a, deep, b, c}) totals.countFolder(folder);
        add(a, L"photo.jpg", 400000);
        add(a, L"notes.txt", 100000);
        add(a, L"empty.txt", 0);
        add(deep, L"movie.mp4", 300000);
        add(b, L"backup.zip", 150000);
        add(b, L"tiny.log", 10);
        totals.finish(found, root, false);
    }
    void add(uint32_t folder, const wchar_t* name, long long size) {
        totals.addFile(folder, name, size, size, 0, 0, false);
        files[folder].push_back({name, size});
    }
    MapFileSource source() const {
        return [this](uint32_t folder, const MapFileVisitor& each) {
            if (auto at = files.find(folder); at != files.end())
                for (const MapFile& file : at->second) each(file.name, file.onDisk);
        };
    }
};

bool inside(const MapTile& inner, const MapTile& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

}  // namespace

TEST(SpaceMap, EveryFileIsFoundAgainUnderThePointerInsideItsFolders) {
    const Drive drive;
    const std::atomic<bool> never{false};
    MapPicture picture;
    ASSERT_TRUE(drawSpaceMap(drive.totals, drive.found, drive.root, {L"jpg", L"mp4"}, MapStyle{}, 400, 300, never,
                             picture, drive.source()));
    std::map<std::wstring, long long> areas;
    for (size_t i = 0; i < picture.tiles.size(); ++i) {
        const MapTile& tile = picture.tiles[i];
        if (tile.kind != TileKind::file) continue;
        const MapFile file = mapFilesOf(tile.folder, drive.source())[tile.item];
        areas[file.name] = static_cast<long long>(tile.right - tile.left) * (tile.bottom - tile.top);
        // The pointer in its middle finds it, and each folder above it holds it.
        const MapTile* pointed = mapTileAt(picture, (tile.left + tile.right) / 2, (tile.top + tile.bottom) / 2);
        ASSERT_NE(pointed, nullptr);
        EXPECT_EQ(pointed->folder, tile.folder);
        EXPECT_EQ(pointed->item, tile.item) << "for " << file.name.c_str();
        for (size_t j = 0; j < i; ++j) {
            if (picture.tiles[j].kind == TileKind::folder && picture.tiles[j].folder == tile.folder) {
                EXPECT_TRUE(inside(tile, picture.tiles[j]));
            }
        }
        if (file.name == L"photo.jpg") {
            EXPECT_EQ(tile.colour, 1) << "the legend's first kind";
        }
        if (file.name == L"backup.zip") {
            EXPECT_EQ(tile.colour, 0) << "a kind outside the legend";
        }
    }
    // Four files large enough to see, each as large as its share of the drive's
    // 950,010 bytes within the rounding of its sides; no area for nothing.
    ASSERT_EQ(areas.size(), 4u);
    for (const auto& [name, area] : areas) {
        const long long size = name == L"photo.jpg" ? 400000 : name == L"movie.mp4" ? 300000 : name == L"backup.zip" ? 150000 : 100000;
        EXPECT_NEAR(static_cast<double>(area), 400.0 * 300.0 * size / 950010, 2 * (400 + 300) / 4.0) << name.c_str();
    }
}

TEST(SpaceMap, HighContrastUsesTheSystemColoursAndAStopEndsTheDrawing) {
    const Drive drive;
    const std::atomic<bool> never{false}, stopped{true};
    MapStyle style;
    style.highContrast = true;
    style.background = 0x000000;
    style.frame = 0xFFFF00;
    MapPicture picture;
    ASSERT_TRUE(drawSpaceMap(drive.totals, drive.found, drive.root, {L"jpg"}, style, 200, 100, never, picture,
                             drive.source()));
    size_t framed = 0;
    for (uint32_t pixel : picture.pixels) {
        ASSERT_TRUE(pixel == style.background || pixel == style.frame) << std::hex << pixel;
        framed += pixel == style.frame;
    }
    EXPECT_GT(framed, 200u) << "every rectangle has its frame";
    EXPECT_FALSE(drawSpaceMap(drive.totals, drive.found, drive.root, {}, style, 200, 100, stopped, picture, drive.source()));
}
