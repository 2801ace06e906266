// Times the map of "Folder sizes": laying out and drawing a folder that holds
// 600,000 files (1,200 folders of 500, in groups of 50) at 1600 × 1000 pixels, and
// a folder of 1,000 files; and the memory a drawing takes beside its bitmap, per
// rectangle drawn. The totals are made here and the files' sizes come from a
// table, so that the figures are the layout's and the drawing's, not a disk's.
//   map_bench [FOLDER]   (with a folder: the 600,000 files' map is also saved there
//   as map.bmp, and as Windows' high-contrast mode draws it as map-high-contrast.bmp)
#include "bench_support.h"
#include "results/space_map.h"

#include <cstdio>
#include <random>

namespace {

struct Tree {
    FoundFiles found;
    SpaceTotals totals;
    std::vector<std::vector<MapFile>> files;  // by folder: what a disk would list
    uint32_t root = 0;
};

// Sizes over five orders of magnitude, most of them small, as on a real drive.
long long randomSize(std::mt19937& random) {
    std::lognormal_distribution<double> size(9.0, 2.5);
    return static_cast<long long>(std::min(size(random), 4e9)) + 1;
}

void addFiles(Tree& tree, uint32_t folder, int count, std::mt19937& random) {
    tree.totals.countFolder(folder);
    if (tree.files.size() <= folder) tree.files.resize(folder + 1);
    static const wchar_t* const kinds[] = {L".jpg", L".dll", L".log", L".mp4", L".dat", L".txt", L".cache",
                                           L".pdf", L".zip", L".iso", L".json", L""};
    for (int i = 0; i < count; ++i) {
        const long long size = randomSize(random);
        const std::wstring name = L"file " + std::to_wstring(i) + kinds[random() % 12];
        tree.totals.addFile(folder, name, size, size, 0, 0, false);
        tree.files[folder].push_back({name, size});
    }
}

void makeTree(Tree& tree, int folders, int perFolder) {
    std::mt19937 random(2026);
    tree.root = tree.found.addFolder(L"D:\\tree");
    tree.totals.countFolder(tree.root);
    uint32_t group = FoundFiles::noFolder;
    for (int f = 0; f < folders; ++f) {
        if (folders == 1) {
            addFiles(tree, tree.root, perFolder, random);
            break;
        }
        if (f % 50 == 0) {
            group = tree.found.addFolder(tree.root, L"group " + std::to_wstring(f / 50));
            tree.totals.countFolder(group);
        }
        addFiles(tree, tree.found.addFolder(group, L"folder " + std::to_wstring(f)), perFolder, random);
    }
    tree.totals.finish(tree.found, tree.root, false);
}

// The largest kinds, as the window's legend has them, and the table as a disk's listing.
std::vector<std::wstring> legendOf(const Tree& tree) {
    std::vector<std::wstring> legend;
    for (const KindFigures& kind : tree.totals.kinds())
        if (legend.size() < static_cast<size_t>(mapColouredKinds)) legend.push_back(kind.kind);
    return legend;
}

MapFileSource filesOf(const Tree& tree) {
    return [&tree](uint32_t folder, const MapFileVisitor& each) {
        for (const MapFile& file : tree.files[folder]) each(file.name, file.onDisk);
    };
}

void timeMap(const wchar_t* what, int folders, int perFolder, int rounds) {
    Tree tree;
    makeTree(tree, folders, perFolder);
    const std::vector<std::wstring> legend = legendOf(tree);
    const MapFileSource files = filesOf(tree);
    const std::atomic<bool> never{false};
    std::vector<double> seconds;
    size_t tiles = 0;
    double bytesPerTile = 0;
    MapPicture reused;
    std::vector<double> again;
    for (int round = 0; round < rounds; ++round) {
        {
            // Into the memory of an earlier picture, as the window's map draws after its first.
            const auto start = Clock::now();
            drawSpaceMap(tree.totals, tree.found, tree.root, legend, MapStyle{}, 1600, 1000, never, reused, files);
            again.push_back(secondsSince(start));
        }
        MapPicture picture;
        const long long before = liveBytes.load();
        peakBytes = before;
        const auto start = Clock::now();
        drawSpaceMap(tree.totals, tree.found, tree.root, legend, MapStyle{}, 1600, 1000, never, picture, files);
        seconds.push_back(secondsSince(start));
        tiles = picture.tiles.size();
        const double bitmap = static_cast<double>(picture.pixels.size() * sizeof(uint32_t));
        // What the table hands over for a folder is the disk's listing here: not counted.
        bytesPerTile = (static_cast<double>(peakBytes.load() - before) - bitmap) / static_cast<double>(tiles);
    }
    std::printf("%ls: %.1f ms at 1600 x 1000 (median of %d; %.1f ms into an earlier picture's memory), %zu rectangles "
                "drawn, at most %.1f bytes per rectangle beside the bitmap\n",
                what, median(seconds) * 1000, rounds, median(again) * 1000, tiles, bytesPerTile);
}

// A picture as a 32-bit bitmap file, to look at.
void saveBitmap(const MapPicture& picture, const std::wstring& path) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = picture.width;
    info.biHeight = -picture.height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD bytes = static_cast<DWORD>(picture.pixels.size() * sizeof(uint32_t));
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + bytes;
    FileHandle out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    WriteFile(out.get(), &file, sizeof file, &written, nullptr);
    WriteFile(out.get(), &info, sizeof info, &written, nullptr);
    WriteFile(out.get(), picture.pixels.data(), bytes, &written, nullptr);
}

void saveMaps(const std::wstring& folder) {
    Tree tree;
    makeTree(tree, 1200, 500);
    const std::vector<std::wstring> legend = legendOf(tree);
    const MapFileSource files = filesOf(tree);
    const std::atomic<bool> never{false};
    MapPicture picture;
    drawSpaceMap(tree.totals, tree.found, tree.root, legend, MapStyle{}, 800, 500, never, picture, files);
    saveBitmap(picture, folder + L"map.bmp");
    MapStyle contrast;
    contrast.highContrast = true;
    contrast.background = 0x000000;  // the system's "High Contrast Black"
    contrast.frame = 0xFFFFFF;
    drawSpaceMap(tree.totals, tree.found, tree.root, legend, contrast, 800, 500, never, picture, files);
    saveBitmap(picture, folder + L"map-high-contrast.bmp");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    timeMap(L"600,000 files in 1,200 folders", 1200, 500, 5);
    timeMap(L"1,000 files in one folder", 1, 1000, 21);
    if (argc > 1) saveMaps(argv[1]);
    return 0;
}
