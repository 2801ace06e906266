#include "app/space_map_view.h"

#include "app/menu_entries.h"
#include "results/size_text.h"
#include "results/space_page.h"
#include "toolkit/events.h"
#include "toolkit/system.h"
#include "toolkit/text.h"
#include "window/main_window.h"

#include <algorithm>

namespace {

bool holds(const FoundFiles& found, uint32_t outer, uint32_t inner) {
    for (uint32_t at = inner; at != FoundFiles::noFolder; at = found.parentOf(at))
        if (at == outer) return true;
    return false;
}

// The tree's keys from its top row (the drive) down to the folder.
std::vector<int> treeKeysDownTo(const SearchResults& results, uint32_t folder) {
    std::vector<int> keys;
    for (uint32_t at = folder; at != FoundFiles::noFolder; at = results.found.parentOf(at)) {
        keys.push_back(static_cast<int>(at));
        if (at == results.totals.root()) break;
    }
    std::reverse(keys.begin(), keys.end());
    return keys;
}

std::wstring pathIn(const std::wstring& folderPath, const std::wstring& name) {
    return folderPath + (!folderPath.empty() && folderPath.back() == L'\\' ? L"" : L"\\") + name;
}

}  // namespace

void SpaceMapView::stopDrawing() {
    if (!worker_) return;
    stop_.store(true);
    worker_.reset();  // waits for the drawing, which looks at stop_ between folders
    stop_.store(false);
    if (drawing_) spare_ = std::move(*drawing_);
    drawing_.reset();
}

void SpaceMapView::showDrive(const SearchResults& results, MainWindow& window) {
    stopDrawing();
    if (shown_.pixels.capacity() > spare_.pixels.capacity()) spare_ = std::move(shown_);
    shown_ = MapPicture{};
    pointed_ = nullptr;
    listedFolder_ = FoundFiles::noFolder;
    framed_ = FoundFiles::noFolder;
    legend_.clear();
    for (const std::wstring& kind : results.kindOrder)
        if (legend_.size() < static_cast<size_t>(mapColouredKinds)) legend_.push_back(kind);
    folder_ = results.totals.isGathered() ? results.totals.root() : FoundFiles::noFolder;
    window.showSpaceMap({}, 0, 0);
    if (folder_ != FoundFiles::noFolder) draw(results, folder_, window);
}

void SpaceMapView::redraw(const SearchResults& results, MainWindow& window) {
    listedFolder_ = FoundFiles::noFolder;
    if (folder_ != FoundFiles::noFolder && results.totals.isCounted(folder_)) draw(results, folder_, window);
}

void SpaceMapView::draw(const SearchResults& results, uint32_t folder, MainWindow& window) {
    stopDrawing();
    const PicturePoint size = window.spaceMapSize();
    folder_ = folder;
    if (size.x <= 0 || size.y <= 0 || !results.totals.isGathered()) return;
    const SystemColours colours = SystemColoursNow();
    MapStyle style;
    style.highContrast = colours.highContrast;
    style.background = colours.window;
    style.frame = colours.windowText;
    drawing_ = std::make_unique<MapPicture>(std::move(spare_));
    drawnWhole_ = false;
    worker_.emplace([this, totals = &results.totals, found = &results.found, legend = legend_, style, folder, size,
                     picture = drawing_.get()] {
        drawnWhole_ = drawSpaceMap(*totals, *found, folder, legend, style, size.x, size.y, stop_, *picture);
        EventRaiseWorkEnded();
    });
}

void SpaceMapView::tend(const SearchResults& results, MainWindow& window) {
    if (worker_) {
        if (!worker_->hasEnded()) return;
        worker_->wait();
        worker_.reset();
        if (drawnWhole_ && drawing_) {
            spare_ = std::move(shown_);
            shown_ = std::move(*drawing_);
            pointed_ = nullptr;
            showPicture(window);
        }
        else if (drawing_)
            spare_ = std::move(*drawing_);
        drawing_.reset();
        return;
    }
    // The map was sized anew (another monitor's scale): drawn again at its size.
    const PicturePoint size = window.spaceMapSize();
    if (folder_ != FoundFiles::noFolder && results.totals.isCounted(folder_) && size.x > 0 && size.y > 0 &&
        (size.x != shown_.width || size.y != shown_.height))
        draw(results, folder_, window);
}

void SpaceMapView::showPicture(MainWindow& window) {
    std::vector<uint32_t> pixels = shown_.pixels;
    if (framed_ != FoundFiles::noFolder)
        for (size_t i = 0; i < shown_.tiles.size(); ++i)
            if (const MapTile& tile = shown_.tiles[i]; tile.kind == TileKind::folder && tile.folder == framed_) {
                frameMapTile(pixels, shown_.width, tile, SystemColoursNow().highlight, 2);
                break;
            }
    window.showSpaceMap(std::move(pixels), shown_.width, shown_.height);
}

const MapTile* SpaceMapView::tileUnderPointer(const MainWindow& window) const {
    const PicturePoint at = window.spaceMapPointer();
    return at.inside() ? mapTileAt(shown_, at.x, at.y) : nullptr;
}

std::optional<MapFile> SpaceMapView::fileOf(const SearchResults& results, const MapTile& tile) {
    if (tile.kind != TileKind::file) return std::nullopt;
    if (listedFolder_ != tile.folder) {
        listed_ = mapFilesOf(results.found, tile.folder);
        listedFolder_ = tile.folder;
    }
    if (tile.item >= listed_.size()) return std::nullopt;
    MapFile file = listed_[tile.item];
    file.name = pathIn(shownFolderPath(results, tile.folder), file.name);
    return file;
}

void SpaceMapView::pointerMoved(const SearchResults& results, MainWindow& window) {
    const MapTile* tile = tileUnderPointer(window);
    if (tile == pointed_) return;
    pointed_ = tile;
    if (!tile || !results.totals.isCounted(tile->folder)) return;
    const std::wstring folderPath = shownFolderPath(results, tile->folder);
    switch (tile->kind) {
        case TileKind::file:
            if (const std::optional<MapFile> file = fileOf(results, *tile)) {
                const std::wstring kind = kindOfName(file->name);
                window.setStatus(file->name + L": " + sizeText(static_cast<double>(file->onDisk)) + L" on the disk (" +
                                 (kind.empty() ? L"no extension" : L"." + kind) + L", " +
                                 mapKindColourName(tile->colour) + L")");
            }
            break;
        case TileKind::files: {
            const FolderFigures files = results.totals.filesDirectlyIn(tile->folder);
            window.setStatus(L"Files in " + folderPath + L": " + countText(files.files) + L", " +
                             sizeText(static_cast<double>(files.onDisk)) + L" on the disk");
            break;
        }
        case TileKind::folder: {
            const FolderFigures& figures = results.totals.figures(tile->folder);
            window.setStatus(folderPath + L": " + sizeText(static_cast<double>(figures.onDisk)) + L" on the disk in " +
                             countText(figures.files) + (figures.files == 1 ? L" file" : L" files"));
            break;
        }
    }
}

void SpaceMapView::choose(const SearchResults& results, uint32_t folder, MainWindow& window) {
    framed_ = folder;
    window.revealFolderRow(treeKeysDownTo(results, folder));
    showPicture(window);
}

void SpaceMapView::clicked(const SearchResults& results, MainWindow& window) {
    if (const MapTile* tile = tileUnderPointer(window)) choose(results, tile->folder, window);
}

void SpaceMapView::doubleClicked(const SearchResults& results, MainWindow& window) {
    const MapTile* tile = tileUnderPointer(window);
    if (!tile || tile->folder == folder_) return;
    const uint32_t folder = tile->folder;
    choose(results, folder, window);
    draw(results, folder, window);
}

void SpaceMapView::upOneFolder(const SearchResults& results, MainWindow& window) {
    if (folder_ == FoundFiles::noFolder || folder_ == results.totals.root()) return;
    const uint32_t from = folder_;
    choose(results, from, window);  // the folder it came from stays framed
    draw(results, results.found.parentOf(from), window);
}

void SpaceMapView::treeSelectionChanged(const SearchResults& results, MainWindow& window) {
    const std::optional<int> key = window.selectedFolderKey();
    const std::optional<uint32_t> folder = key ? folderOfTreeKey(results, *key) : std::nullopt;
    if (!folder || *folder == framed_) return;
    framed_ = *folder;
    // A folder outside the map becomes the map's; one inside it is framed there.
    if (folder_ != FoundFiles::noFolder && holds(results.found, folder_, *folder))
        showPicture(window);
    else
        draw(results, *folder, window);
}

void SpaceMapView::showMenu(const SearchResults& results, MainWindow& window) {
    const MapTile* tile = tileUnderPointer(window);
    std::optional<int> listedRow;
    std::wstring path;
    if (tile)
        if (const std::optional<MapFile> file = fileOf(results, *tile)) {
            path = file->name;
            for (int row = 0, rows = window.rowCount(); row < rows && !listedRow; ++row)
                if (results.pathOfRow(window.rowKey(row)) == path) listedRow = row;
        }
    std::vector<MenuEntry> entries;
    if (listedRow)
        entries.push_back({L"&Tick in the file results",
                           [&] {
                               window.setTicked(*listedRow, true);
                               window.updateActionButtons();
                               window.setStatus(L"Ticked " + path + L" in the file results.");
                           },
                           false});
    if (folder_ != FoundFiles::noFolder && folder_ != results.totals.root())
        entries.push_back({L"&Up one folder", [&] { upOneFolder(results, window); }, false});
    if (entries.empty()) return;
    offerMenu(true, entries, [&](const std::vector<std::wstring>& texts) { return window.chooseFromMapMenu(texts); });
}
