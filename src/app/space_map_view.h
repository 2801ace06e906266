#pragma once
// The map of the "Folder sizes" page: which folder it shows and which one is
// framed, the picture on show, and the next one drawn on a thread of its own, so
// that the window never waits for it; the last complete picture stays meanwhile.
#include "results/search_results.h"
#include "results/space_map.h"
#include "window/work_aside.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class MainWindow;

class SpaceMapView {
public:
    ~SpaceMapView() { stopDrawing(); }

    // A search's new totals: the map of the drive, nothing framed.
    void showDrive(const SearchResults& results, MainWindow& window);
    // Before anything changes the results (a search, a delete, a move): a drawing
    // under way ends first, so that nothing reads them meanwhile.
    void stopDrawing();
    // The totals changed: the same folder drawn again.
    void redraw(const SearchResults& results, MainWindow& window);
    // After every event: a drawing that ended goes on show, and a map whose
    // size changed (a DPI change) is drawn again.
    void tend(const SearchResults& results, MainWindow& window);

    // What the person does to the map, and to the tree beside it.
    void pointerMoved(const SearchResults& results, MainWindow& window);
    void clicked(const SearchResults& results, MainWindow& window);
    void doubleClicked(const SearchResults& results, MainWindow& window);
    void upOneFolder(const SearchResults& results, MainWindow& window);
    void showMenu(const SearchResults& results, MainWindow& window);
    void treeSelectionChanged(const SearchResults& results, MainWindow& window);

private:
    void draw(const SearchResults& results, uint32_t folder, MainWindow& window);
    void showPicture(MainWindow& window);
    const MapTile* tileUnderPointer(const MainWindow& window) const;
    // The tile's file where it is one: its full path and what it takes on the disk.
    std::optional<MapFile> fileOf(const SearchResults& results, const MapTile& tile);
    void choose(const SearchResults& results, uint32_t folder, MainWindow& window);

    uint32_t folder_ = FoundFiles::noFolder;  // the map's folder
    uint32_t framed_ = FoundFiles::noFolder;  // chosen in the tree, framed on the map
    MapPicture shown_;                         // the last complete picture
    std::unique_ptr<MapPicture> drawing_;      // the one under way
    // The picture before the last, whose memory the next drawing takes over: new
    // pages cost more than the drawing into them.
    MapPicture spare_;
    std::optional<WorkAside> worker_;
    std::atomic<bool> stop_{false};
    bool drawnWhole_ = false;
    bool again_ = false;                       // drawn again once the one under way ends
    std::vector<std::wstring> legend_;
    const MapTile* pointed_ = nullptr;         // the tile the status names
    // The files of the folder asked last, so that moving over it lists it once.
    uint32_t listedFolder_ = FoundFiles::noFolder;
    std::vector<MapFile> listed_;
};
