// Times the fast scan of an NTFS volume's file table against walks of the same
// tree: the bare find loop and Ravlek's walk over the tree on the native file
// system, in rounds taken in turn, and once the walk over the ntfs-3g mount; and
// the scan's peak memory per file on the volume.
//   table_bench VOLUME NATIVE_TREE [ROUNDS]   (e.g. N:\ D:\tree\; bench/table-scan.sh sets them up)
#include "bench_window.h"
#include "app/event_loop.h"
#include "bench_support.h"
#include "search/search_command.h"
#include "search/volume_table.h"
#include "search/walk.h"
#include "toolkit/kept_blocks.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/toolkit.h"
#include "window/control_ids.h"
#include "window/main_window.h"

#include <cstdio>

namespace {

struct NeverStop final : WalkObserver {
    bool stopRequested() override { return false; }
};

struct Timed {
    double seconds = 0;
    int collected = 0;
    bool ok = false;
};

WalkRequest requestFor(const std::wstring& root, bool textMode) {
    WalkRequest request;
    request.rootPath = root;
    request.sizeThreshold = textMode ? -1 : 104857600;
    request.nameTest = textMode;
    request.nameText = L"3.dat";  // about one name in ten
    return request;
}

// Times one run of the scan or the walk over a fresh collection.
template <typename Run>
Timed timed(Run run) {
    NeverStop never;
    FoundFiles found;
    Timed result;
    const auto start = Clock::now();
    result.ok = run(never, found);
    result.collected = static_cast<int>(found.count());
    result.seconds = secondsSince(start);
    return result;
}

// With `totals`, the scan also totals every folder and kind, as a search does.
Timed timeScan(const std::wstring& volume, bool textMode, bool totals = false) {
    SpaceTotals gathered;
    return timed([&](WalkObserver& never, FoundFiles& found) {
        WalkRequest request = requestFor(volume, textMode);
        request.totals = totals ? &gathered : nullptr;
        return scanVolumeTable(request, never, found) == TableScan::done;
    });
}

Timed timeWalk(const std::wstring& root, bool textMode) {
    return timed([&](WalkObserver& never, FoundFiles& found) {
        return walkDrive(requestFor(root, textMode), never, found) == WalkEnd::reachedTheEnd;
    });
}

double timeBare(const std::wstring& root) {
    const auto start = Clock::now();
    bareWalk(root);
    return secondsSince(start);
}

// A whole search in Ravlek's window, from the click to the summary, of the drive
// the drive list shows.
double timeWindowSearch() {
    const auto start = Clock::now();
    dispatchControlEvent(benchApp(), idSearchButton, kindClick);
    return secondsSince(start);
}

void windowFigures(const std::wstring& volume, const std::wstring& tree, int rounds) {
    if (!openMainWindow(volume.substr(0, 2))) {
        std::printf("%ls is not in the window's drive list: no figures through the window\n", volume.c_str());
        return;
    }
    for (bool textMode : {false, true}) {
        ControlSetState(idCriterionSelector, textMode ? 6 : 0);
        dispatchControlEvent(benchApp(), idCriterionSelector, kindChange);
        ControlSetText(idTextField, L"3.dat");
        std::vector<double> search, ratio;
        for (int round = 0; round < rounds; ++round) {
            search.push_back(timeWindowSearch());
            ratio.push_back(timeBare(tree) / search.back());
        }
        std::printf("whole search in the window, %s mode: %.3f s, the bare loop %.1fx that (median of %d rounds; %d rows)\n",
                    textMode ? "text" : "size", median(search), median(ratio), rounds, ControlItemCount(idResultsList));
        // Where that time goes: the engine as the window runs it, the listing of
        // the rows, and the rest (greying the window, its notice, bringing it back).
        SearchResults& results = benchApp().loop.results;
        ControlClearItems(idResultsList);
        results.rows.clear();
        std::vector<double> engine, listing;
        for (int round = 0; round < rounds; ++round) {
            auto start = Clock::now();
            collectFiles(requestFor(volume, textMode), results);
            engine.push_back(secondsSince(start));
            start = Clock::now();
            listFoundFiles(results, benchApp().window);
            listing.push_back(secondsSince(start));
        }
        std::printf("  of which: the engine %.3f s, listing the rows %.3f s, the rest %.3f s\n", median(engine),
                    median(listing), median(search) - median(engine) - median(listing));
        std::fflush(stdout);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::wstring volume = argv[1], tree = argv[2];
    const int rounds = argc > 3 ? _wtoi(argv[3]) : 5;
    const long long files = bareWalk(tree);
    std::printf("tree: %lld files\n", files);

    const long long before = liveBytes;
    peakBytes = before;
    const Timed first = timeScan(volume, false);
    if (!first.ok) {
        std::printf("the volume's table could not be read\n");
        return 1;
    }
    std::printf("scan memory: peak %.0f bytes per file on the volume (%.1f MB)\n",
                double(peakBytes - before) / files, (peakBytes - before) / 1048576.0);
    std::printf("kept for the next scan once it ended: %.0f bytes per file (%.1f MB)\n",
                double(KeptBlockBytes()) / files, KeptBlockBytes() / 1048576.0);

    // What the folders' and kinds' totals cost the scan: with and without, in turns.
    for (bool textMode : {false, true}) {
        std::vector<double> totalledToPlain;
        // In turns, each first every other round: the one that runs second finds
        // more of what the first left in the caches.
        for (int round = 0; round < 2 * rounds; ++round) {
            const bool totalledFirst = round % 2;
            const double first = timeScan(volume, textMode, totalledFirst).seconds;
            const double second = timeScan(volume, textMode, !totalledFirst).seconds;
            totalledToPlain.push_back(totalledFirst ? first / second : second / first);
        }
        std::printf("%s mode: a scan that also totals takes %.3fx the time of one without (median of %d rounds)\n",
                    textMode ? "text" : "size", median(totalledToPlain), 2 * rounds);
        std::fflush(stdout);
    }

    for (bool textMode : {false, true}) {
        std::vector<double> scan, bare, walk, bareRatio, walkRatio;
        int collected = 0;
        for (int round = 0; round < rounds; ++round) {
            const Timed scanned = timeScan(volume, textMode);
            bare.push_back(timeBare(tree));
            const Timed walked = timeWalk(tree, textMode);
            scan.push_back(scanned.seconds);
            walk.push_back(walked.seconds);
            bareRatio.push_back(bare.back() / scan.back());
            walkRatio.push_back(walk.back() / scan.back());
            collected = scanned.collected;
            if (scanned.collected != walked.collected)
                std::printf("  round %d: the scan collected %d, the walk %d\n", round + 1, scanned.collected,
                            walked.collected);
        }
        std::printf("%s mode, median of %d rounds (ratios within each round): fast scan %.3f s (%d collected), "
                    "bare loop %.3f s (%.1fx), walk %.3f s (%.1fx)\n",
                    textMode ? "text" : "size", rounds, median(scan), collected, median(bare), median(bareRatio),
                    median(walk), median(walkRatio));
        std::fflush(stdout);
    }
    windowFigures(volume, tree, rounds);
    const Timed mounted = timeWalk(volume, false);
    std::printf("walk over the ntfs-3g mount, once: %.3f s (%.1fx the scan's first run)\n", mounted.seconds,
                mounted.seconds / first.seconds);
    return 0;
}
