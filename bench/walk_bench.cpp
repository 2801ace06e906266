// Measures the search core on a synthetic tree: walk throughput in size and text
// mode against a bare FindFirstFileW loop and against a batched walker written
// here as the anchor, the sort of a full collection, and the memory a text-mode
// collection takes.
//   walk_bench [FOLDER]   (default D:\ravlek-bench\; the tree is made on first use)
#include "bench_support.h"
#include "search/search_command.h"
#include "toolkit/handles.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr int folderCount = 2000;
constexpr int filesPerFolder = 100;

void makeFile(const std::wstring& path, long long size) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || size == 0) return;
    LARGE_INTEGER end;
    end.QuadPart = size;
    SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN);
    SetEndOfFile(file.get());
}

void buildTree(const std::wstring& root) {
    std::wstring marker = root + L"complete";
    if (GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    std::printf("building %d files in %d folders...\n", folderCount * filesPerFolder, folderCount);
    CreateDirectoryW(root.c_str(), nullptr);
    for (int f = 0; f < folderCount; ++f) {
        // Two levels, like a real drive: 40 groups of 50 folders.
        std::wstring group = root + L"group" + std::to_wstring(f / 50) + L"\\";
        CreateDirectoryW(group.c_str(), nullptr);
        std::wstring folder = group + L"folder " + std::to_wstring(f) + L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        for (int i = 0; i < filesPerFolder; ++i) {
            long long size = (f * 7919LL + i * 104729LL) % 5000000;
            if (f % 250 == 0 && i == 0) size = 1200000000LL + f * 1000003LL;  // a few large sparse files
            makeFile(folder + L"document " + std::to_wstring(i) + L".dat", size);
        }
    }
    CreateDirectoryW(marker.c_str(), nullptr);
}

// The anchor: each folder read through its own handle in 256 KB batches, its
// subfolders walked after the folder's batches are read.
long long batchedWalk(const std::wstring& folder, std::vector<std::byte>& buffer) {
    FileHandle handle(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.valid()) return 0;
    long long files = 0;
    std::vector<std::wstring> subfolders;
    for (auto kind = FileFullDirectoryRestartInfo;
         GetFileInformationByHandleEx(handle.get(), kind, buffer.data(), static_cast<DWORD>(buffer.size()));
         kind = FileFullDirectoryInfo) {
        for (auto* entry = reinterpret_cast<const FILE_FULL_DIR_INFO*>(buffer.data());;
             entry = reinterpret_cast<const FILE_FULL_DIR_INFO*>(reinterpret_cast<const std::byte*>(entry) +
                                                                 entry->NextEntryOffset)) {
            std::wstring name(entry->FileName, entry->FileNameLength / sizeof(WCHAR));
            if (!(entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                ++files;
            } else if (name != L"." && name != L"..") {
                subfolders.push_back(folder + name + L"\\");
            }
            if (!entry->NextEntryOffset) break;
        }
    }
    handle.reset();
    for (const auto& subfolder : subfolders) files += batchedWalk(subfolder, buffer);
    return files;
}

double timeBare(const std::wstring& root) {
    auto start = Clock::now();
    bareWalk(root);
    return secondsSince(start);
}

double timeBatched(const std::wstring& root) {
    std::vector<std::byte> buffer(256 * 1024);
    auto start = Clock::now();
    batchedWalk(root, buffer);
    return secondsSince(start);
}

SearchResults results;

// A collection as the window's search makes it: text mode for names ending in
// "3.dat", else size mode over 100 MB.
double timeCollect(const std::wstring& root, bool textMode) {
    WalkRequest request;
    request.rootPath = root;
    request.sizeThreshold = textMode ? -1 : 104857600;
    request.nameTest = textMode;
    request.nameText = L"3.dat";
    auto start = Clock::now();
    collectFiles(request, results);
    return secondsSince(start);
}

struct NeverStop final : WalkObserver {
    bool stopRequested() override { return false; }
};

// A size-mode walk with the progress counts a window reads, or without them, and
// with the folders' and kinds' totals a search gathers, or without them.
double timeWalk(const std::wstring& root, bool counted, bool totalled = false) {
    WalkRequest request;
    request.rootPath = root;
    request.sizeThreshold = 104857600;
    WalkCounts counts;
    request.counts = counted ? &counts : nullptr;
    SpaceTotals totals;
    request.totals = totalled ? &totals : nullptr;
    NeverStop never;
    FoundFiles found;
    auto start = Clock::now();
    walkDrive(request, never, found);
    return secondsSince(start);
}

// Walks with and without the totals, in turns, and the memory the totals keep.
void totalsFigures(const std::wstring& root) {
    std::vector<double> totalledToPlain;
    for (int round = 0; round < 7; ++round) {
        const double plain = timeWalk(root, true), totalled = timeWalk(root, true, true);
        totalledToPlain.push_back(totalled / plain);
    }
    WalkRequest request;
    request.rootPath = root;
    request.sizeThreshold = 104857600;
    SpaceTotals totals;
    request.totals = &totals;
    NeverStop never;
    FoundFiles found;
    const long long before = liveBytes;
    walkDrive(request, never, found);
    const size_t folders = totals.countedFolders().size();
    std::printf("totals: a walk that also totals takes %.3fx the time of one without (median of 7 rounds); "
                "%zu folders and %zu kinds kept in %.0f bytes past the walk's own, %.1f bytes a folder\n",
                median(totalledToPlain), folders, totals.kinds().size(), double(liveBytes - before),
                double(liveBytes - before) / double(folders));

    // Opening a folder of 10,000 subfolders in a tree of 100,000: what the page asks
    // for its rows (the subfolders, largest first).
    FoundFiles many;
    SpaceTotals manyTotals;
    const uint32_t top = many.addFolder(L"C:\\");
    manyTotals.countFolder(top);
    std::vector<uint32_t> tenThousand;
    for (int i = 0; i < 10000; ++i) {
        tenThousand.push_back(many.addFolder(top, L"folder " + std::to_wstring(i)));
        manyTotals.countFolder(tenThousand.back());
    }
    for (int i = 0; i < 90000; ++i) {
        const uint32_t below = many.addFolder(tenThousand[static_cast<size_t>(i) % 10000], L"inner " + std::to_wstring(i));
        manyTotals.addFile(below, L"f.dat", (i * 7919LL) % 100000, -1, 0, 0, false);
    }
    manyTotals.finish(many, top, false);
    std::vector<double> opening;
    for (int round = 0; round < 7; ++round) {
        const auto start = Clock::now();
        const std::vector<uint32_t> rows = manyTotals.subfolders(top, many);
        opening.push_back(secondsSince(start));
        if (rows.size() != 10000) std::printf("  %zu subfolders, not 10,000\n", rows.size());
    }
    std::printf("opening a folder of 10,000 subfolders among 100,000 folders: %.1f ms (median of 7)\n",
                median(opening) * 1000.0);
    std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring root = argc > 1 ? argv[1] : L"D:\\ravlek-bench\\";
    if (root.back() != L'\\') root += L'\\';
    buildTree(root);
    const long long fileCount = bareWalk(root);
    std::printf("tree: %lld files\n", fileCount);
    if (argc > 2 && std::wstring(argv[2]) == L"totals") {
        totalsFigures(root);
        return 0;
    }

    // Text mode first, on a fresh collection, to see its memory. The text ends
    // about one name in ten ("document 13.dat", "document 23.dat", ...).
    long long before = liveBytes;
    peakBytes = before;
    timeCollect(root, true);
    const int matches = static_cast<int>(results.found.count());
    std::printf("text-mode collection: %d matches (%.1f %% of the files), peak %.0f bytes per match (%.1f MB at the peak)\n",
                matches, 100.0 * matches / fileCount, double(peakBytes - before) / matches,
                (peakBytes - before) / 1048576.0);

    // The walks take turns, round after round, and each ratio is read within its
    // round: a virtual machine's speed drifts by more than the differences
    // measured here, and walks side by side see the same drift.
    constexpr int rounds = 5;
    std::vector<double> bare, batched, size, text, batchedToBare, sizeToBare, sizeToBatched, textToBare, textToBatched;
    for (int round = 0; round < rounds; ++round) {
        bare.push_back(timeBare(root));
        batched.push_back(timeBatched(root));
        text.push_back(timeCollect(root, true));
        size.push_back(timeCollect(root, false));
        batchedToBare.push_back(bare.back() / batched.back());
        sizeToBare.push_back(bare.back() / size.back());
        sizeToBatched.push_back(batched.back() / size.back());
        textToBare.push_back(bare.back() / text.back());
        textToBatched.push_back(batched.back() / text.back());
    }
    std::printf("median of %d rounds, each ratio taken within its round:\n", rounds);
    std::printf("bare FindFirstFileW loop:    %.0f files/s\n", fileCount / median(bare));
    std::printf("batched anchor walker:       %.0f files/s (%.2fx the bare loop)\n", fileCount / median(batched),
                median(batchedToBare));
    std::printf("collectFiles size mode:      %.0f files/s (%.2fx the bare loop, %.2fx the anchor, %d collected)\n",
                fileCount / median(size), median(sizeToBare), median(sizeToBatched), static_cast<int>(results.found.count()));
    std::printf("collectFiles text mode:      %.0f files/s (%.2fx the bare loop, %.2fx the anchor)\n",
                fileCount / median(text), median(textToBare), median(textToBatched));
    std::printf("seconds: bare=%.3f size=%.3f text=%.3f files=%lld batched=%.3f\n", median(bare), median(size),
                median(text), fileCount, median(batched));
    std::fflush(stdout);

    // What the progress counts cost: walks with and without them, in turns.
    std::vector<double> countedToPlain;
    for (int round = 0; round < 9; ++round) {
        const double plain = timeWalk(root, false), counted = timeWalk(root, true);
        countedToPlain.push_back(counted / plain);
    }
    std::printf("progress counts: a counted walk takes %.3fx the time of one without (median of 9 rounds)\n",
                median(countedToPlain));
    std::fflush(stdout);

    // A full collection: 1,048,576 entries of the walk's shape, sorted as a walk sorts them.
    // (Sizes in whole kilobytes: about one in four shares its size with another,
    // so that equal sizes are ordered by their paths.)
    constexpr int fullCollection = 1048576;
    FoundFiles full;
    const uint32_t origin = full.addOrigin(originAt(L"C:\\", L""));
    std::vector<uint32_t> folders;
    for (unsigned folder = 0; folder < 5000; ++folder)
        folders.push_back(full.addFolder(L"C:\\Users\\someone\\Documents\\folder " + std::to_wstring(folder) + L"\\"));
    unsigned seed = 12345;
    for (int i = 1; i <= fullCollection; ++i) {
        seed = seed * 1103515245u + 12345u;
        const long long bytes = (seed % 4000000000u) / 1024 * 1024;
        full.add(folders[seed % 5000], L"file " + std::to_wstring(i) + L".dat", FileIdentity{0, bytes, 0}, origin);
    }
    auto start = Clock::now();
    full.sortLargestFirst();
    std::printf("sort of %d records: %.3f s\n", fullCollection, secondsSince(start));
    return 0;
}
