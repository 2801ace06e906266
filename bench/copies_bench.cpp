// Measures "Tick extra copies" against the plainest reading there is: the same
// files read once each with ReadFile in the same block size, from the page cache,
// in rounds taken in turn; and the memory a comparison holds at its peak.
//   copies_bench [FOLDER [BLOCK_KB [large]]]   (default D:\ravlek-copies\ and the comparison's own
//   block size; the files are made on first use)
//   copies_bench bare FOLDER [large]   the bare read alone, in milliseconds (bench/copies-outside.sh);
//   large: five files of 1 GiB (three copies, a pair unlike in its last byte) and two
//   sparse copies of 600 MiB, 6.6 GB in all
//   copies_bench one-size [COUNT]   COUNT files (5,000) of one size that all differ in
//   their first block, against a bare read of the first block of each
#include "bench_support.h"
#include "purge/identical_files.h"
#include "toolkit/held_file.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

size_t block = CompareRequest{}.blockBytes;
constexpr long long fileBytes = 48LL << 20;
constexpr long long chunkBytes = 1LL << 20;
constexpr int rounds = 15;

// Four groups of three identical files, and four files of one size in two pairs
// that differ only in their last byte: every byte of every file has to be read.
struct Made {
    std::wstring path;
    char seed;
    bool lastByteOff;
    long long bytes = fileBytes;
    bool sparse = false;  // a megabyte at each end, a hole between
};

std::vector<Made> layout(const std::wstring& root) {
    std::vector<Made> files;
    for (int group = 0; group < 4; ++group)
        for (int copy = 0; copy < 3; ++copy)
            files.push_back({root + L"group " + std::to_wstring(group) + L" copy " + std::to_wstring(copy) + L".bin",
                             static_cast<char>('a' + group), false});
    for (int pair = 0; pair < 2; ++pair)
        for (int copy = 0; copy < 2; ++copy)
            files.push_back({root + L"pair " + std::to_wstring(pair) + L" copy " + std::to_wstring(copy) + L".bin", 'p',
                             pair == 1});
    return files;
}

std::vector<Made> largeLayout(const std::wstring& root) {
    std::vector<Made> files;
    for (int copy = 0; copy < 3; ++copy)
        files.push_back({root + L"disk copy " + std::to_wstring(copy) + L".bin", 'a', false, 1LL << 30});
    for (int copy = 0; copy < 2; ++copy)
        files.push_back({root + L"disk pair " + std::to_wstring(copy) + L".bin", 'p', copy == 1, 1LL << 30});
    for (int copy = 0; copy < 2; ++copy)
        files.push_back({root + L"sparse copy " + std::to_wstring(copy) + L".bin", 's', false, 600LL << 20, true});
    return files;
}

void makeFiles(const std::wstring& root, const std::vector<Made>& files) {
    const std::wstring marker = root + L"complete";
    if (GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    std::printf("making %zu files...\n", files.size());
    CreateDirectoryW(root.c_str(), nullptr);
    std::vector<char> bytes(static_cast<size_t>(chunkBytes));
    for (const Made& made : files) {
        FileHandle file(CreateFileW(made.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        for (long long at = 0; at < made.bytes; at += chunkBytes) {
            if (made.sparse && at == chunkBytes) {
                at = made.bytes - chunkBytes;  // the hole: the file system keeps no clusters for it
                SetFilePointerEx(file.get(), LARGE_INTEGER{{static_cast<DWORD>(at), static_cast<LONG>(at >> 32)}}, nullptr,
                                 FILE_BEGIN);
            }
            for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(made.seed + ((at + static_cast<long long>(i)) * 131 >> 7) % 97);
            if (made.lastByteOff && at + chunkBytes >= made.bytes) bytes.back() ^= 1;
            DWORD written = 0;
            WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        }
    }
    CreateDirectoryW(marker.c_str(), nullptr);
}

// Every file read whole, once, a block at a time: the bytes read.
long long bareRead(const std::vector<Made>& files, std::vector<char>& buffer) {
    long long total = 0;
    for (const Made& made : files) {
        FileHandle file(CreateFileW(made.path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        DWORD got = 0;
        while (ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) total += got;
    }
    return total;
}

struct NeverStop final : CompareObserver {
    bool stopRequested() override { return false; }
};

CompareRequest requestFor(const std::vector<Made>& files) {
    CompareRequest request;
    request.blockBytes = block;
    for (const Made& made : files) {
        CopyCandidate candidate;
        candidate.path = made.path;
        candidate.identity.size = made.bytes;
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(made.path.c_str(), GetFileExInfoStandard, &data);
        candidate.identity.lastWrite =
            static_cast<long long>((static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                   data.ftLastWriteTime.dwLowDateTime);
        request.files.push_back(candidate);
    }
    return request;
}

// Files of one size (a camera's RAW photos, fixed-size logs) that differ in their
// first block: the comparison should read that block of each once. Each is 1 MB,
// its first 4 KB its own and the rest a hole, so that they take little disk.
int oneSize(int count) {
    const std::wstring root = L"D:\\ravlek-one-size-numbered-" + std::to_wstring(count) + L"\\";
    constexpr long long size = 1LL << 20;
    std::vector<std::wstring> paths;
    for (int i = 0; i < count; ++i) paths.push_back(root + L"photo " + std::to_wstring(i) + L".raw");
    if (GetFileAttributesW((root + L"complete").c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("making %d files of 1 MB...\n", count);
        CreateDirectoryW(root.c_str(), nullptr);
        static char head[4096];
        for (int i = 0; i < count; ++i) {
            FileHandle file(CreateFileW(paths[static_cast<size_t>(i)].c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
            for (size_t b = 0; b < sizeof head; ++b) head[b] = static_cast<char>((i * 7919 + static_cast<int>(b) * 31) >> 3);
            std::memcpy(head, &i, sizeof i);  // its own number first: no two alike
            DWORD written = 0;
            WriteFile(file.get(), head, static_cast<DWORD>(sizeof head), &written, nullptr);
            LARGE_INTEGER end;
            end.QuadPart = size;
            SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN);
            SetEndOfFile(file.get());
        }
        CreateDirectoryW((root + L"complete").c_str(), nullptr);
    }
    CompareRequest request;
    for (const std::wstring& path : paths) {
        CopyCandidate candidate;
        candidate.path = path;
        candidate.identity.size = size;
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
        candidate.identity.lastWrite =
            static_cast<long long>((static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                   data.ftLastWriteTime.dwLowDateTime);
        request.files.push_back(candidate);
    }
    std::vector<char> buffer(request.blockBytes);
    auto firstBlocks = [&] {
        for (const std::wstring& path : paths) {
            FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
            DWORD got = 0;
            ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr);
        }
    };
    firstBlocks();  // into the page cache
    std::vector<double> ratio, bare, compared;
    size_t groups = 0;
    for (int round = 0; round < 5; ++round) {
        auto start = Clock::now();
        firstBlocks();
        bare.push_back(secondsSince(start));
        NeverStop never;
        start = Clock::now();
        groups = findIdenticalFiles(request, never).groups.size();
        compared.push_back(secondsSince(start));
        ratio.push_back(compared.back() / bare.back());
    }
    std::printf("%d files of one size, each unlike the others in its first block: bare read of the first blocks %.3f s, "
                "comparison %.3f s, ratio %.2f (median of 5, within each round); %zu groups\n",
                count, median(bare), median(compared), median(ratio), groups);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wstring(argv[1]) == L"one-size") return oneSize(argc > 2 ? _wtoi(argv[2]) : 5000);
    if (argc > 2 && std::wstring(argv[1]) == L"bare") {
        // The bare loop alone, for a comparison timed from outside the program.
        std::wstring root = argv[2];
        if (root.back() != L'\\') root += L'\\';
        const bool large = argc > 3 && std::wstring(argv[3]) == L"large";
        const std::vector<Made> files = large ? largeLayout(root) : layout(root);
        makeFiles(root, files);
        std::vector<char> buffer(block);
        const auto start = Clock::now();
        bareRead(files, buffer);
        std::printf("%.0f\n", secondsSince(start) * 1000);
        return 0;
    }
    std::wstring root = argc > 1 ? argv[1] : L"D:\\ravlek-copies\\";
    if (root.back() != L'\\') root += L'\\';
    if (argc > 2) block = static_cast<size_t>(_wtoi(argv[2])) << 10;
    const bool large = argc > 3 && std::wstring(argv[3]) == L"large";
    const std::vector<Made> files = large ? largeLayout(root) : layout(root);
    makeFiles(root, files);
    std::vector<char> buffer(block);
    const long long bytes = bareRead(files, buffer);  // into the page cache
    CompareRequest request = requestFor(files);

    std::vector<double> bare, compared;
    long long peak = 0, comparedBytes = 0;
    size_t groups = 0, extras = 0;
    for (int round = 0; round < rounds; ++round) {
        auto start = Clock::now();
        bareRead(files, buffer);
        bare.push_back(secondsSince(start));

        CompareCounts counts;
        request.counts = &counts;
        NeverStop never;
        const long long before = liveBytes;
        peakBytes = before;
        start = Clock::now();
        const CopiesFound found = findIdenticalFiles(request, never);
        compared.push_back(secondsSince(start));
        peak = std::max(peak, peakBytes - before);
        comparedBytes = counts.bytesCompared;
        groups = found.groups.size();
        extras = 0;
        for (const CopyGroup& group : found.groups) extras += group.extra.size();
    }
    std::printf("files: %zu, %lld MB read by the bare loop, %lld MB compared; %zu groups, %zu extra copies\n",
                files.size(), bytes >> 20, comparedBytes >> 20, groups, extras);
    std::printf("seconds (median of %d): bare=%.3f compare=%.3f ratio=%.2f\n", rounds, median(bare), median(compared),
                median(compared) / median(bare));
    std::printf("peak memory of a comparison: %.2f MB (blocks of %zu KB)\n", static_cast<double>(peak) / (1 << 20),
                block >> 10);
    return 0;
}
