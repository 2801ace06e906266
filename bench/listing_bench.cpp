// Measures how fast the results list fills, and what share of a whole text search
// the listing takes.
//   listing_bench [FOLDER [ROWS]]   (FOLDER: the tree walk_bench made, default D:\ravlek-bench\;
//                                    ROWS: entries to list, default 100000)
#include "bench_window.h"
#include "window/control_ids.h"
#include "window/main_window.h"
#include "search/search_command.h"
#include "search/walk.h"
#include "toolkit/controls.h"
#include "toolkit/native.h"  // native: to draw the window at once and time the drawing
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

SearchResults results;

double timedListing() {
    ControlClearItems(idResultsList);
    auto start = Clock::now();
    listFoundFiles(results, benchApp().window);
    UpdateWindow(WindowNativeHandle(mainWindowNumber));
    return secondsSince(start);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring root = argc > 1 ? argv[1] : L"D:\\ravlek-bench\\";
    if (root.back() != L'\\') root += L'\\';
    if (!openMainWindow()) return 1;

    // 100,000 entries of the walk's shape, listed as a size search lists them.
    const int entries = argc > 2 ? _wtoi(argv[2]) : 100000;
    results.found.clear();
    const uint32_t origin = results.found.addOrigin(originAt(L"D:\\", L""));
    uint32_t folder = 0;
    for (int i = 1; i <= entries; ++i) {
        if (i == 1 || i % 100 == 0) {
            wchar_t path[200];
            swprintf(path, 200, L"D:\\ravlek-bench\\group%d\\folder %d\\", i / 5000, i / 100);
            folder = results.found.addFolder(path);
        }
        results.found.add(folder, L"document " + std::to_wstring(i % 100) + L".dat",
                          FileIdentity{0, 5000000000LL - i * 1000LL, 0}, origin);
    }
    double listing = timedListing();
    std::fflush(stdout);
    std::printf("listing %d rows: %.2f s, %.0f rows/s\n", ControlItemCount(idResultsList), listing,
                ControlItemCount(idResultsList) / listing);

    // A whole text search over the tree: the walk, then the listing.
    WalkRequest byName;
    byName.rootPath = root;
    for (const wchar_t* text : {L"document 7", L"document"}) {
        auto start = Clock::now();
        byName.nameTest = true;
        byName.nameText = text;
        collectFiles(byName, results);
        double walk = secondsSince(start);
        double list = timedListing();
        std::printf("text search \"%ls\": walk %.2f s (%d files), listing %.2f s (%d rows): listing is %.0f%% of the "
                    "search, %.2fx the walk\n",
                    text, walk, static_cast<int>(results.found.count()), list, ControlItemCount(idResultsList),
                    100 * list / (walk + list), list / walk);
    }
    ToolkitShutdown();
    return 0;
}
