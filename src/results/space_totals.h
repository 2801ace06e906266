#pragma once
// Where a drive's space went: every folder's total (what its files take on the
// disk, their sizes, how many files and folders lie below it, the latest change)
// and every kind of file, gathered by the same walk or scan that finds the
// matches. Folders are the found files' own folders, told by the same numbers.
// A file with several names is counted once; a folder link adds nothing.
#include "results/block_array.h"
#include "results/found_files.h"
#include "toolkit/held_file.h"

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct FolderFigures {
    long long onDisk = 0;        // what its files take on the disk
    long long size = 0;          // their sizes in bytes
    long long latestChange = 0;  // the latest last write below, 100-ns ticks since 1601; 0 for none
    uint32_t files = 0;
    uint32_t folders = 0;
};

struct KindFigures {
    std::wstring kind;  // the extension in lower case; empty for files without one
    long long onDisk = 0;
    long long size = 0;
    uint32_t files = 0;
};

// The extension a file's kind is told by: what follows the name's last dot, in
// lower case; empty where there is none.
std::wstring kindOfName(std::wstring_view name);

// Kinds are told apart without regard to case, the common letters without a call.
inline wchar_t kindUnit(wchar_t c) {
    if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c - L'A' + L'a');
    return c > 0x7F ? static_cast<wchar_t>(std::towlower(c)) : c;
}
// An extension as it stands against a kind (lower case), compared without a copy.
inline bool sameKind(std::wstring_view extension, const std::wstring& kind) {
    if (extension.size() != kind.size()) return false;
    for (size_t i = 0; i < extension.size(); ++i)
        if (kindUnit(extension[i]) != kind[i]) return false;
    return true;
}
// Whether a name's extension is `kind`, which is not empty, read from its end.
inline bool endsInKind(std::wstring_view name, const std::wstring& kind) {
    const size_t length = kind.size();
    return length != 0 && name.size() > length && name[name.size() - length - 1] == L'.' &&
           sameKind(name.substr(name.size() - length), kind);
}

class SpaceTotals {
public:
    // Empties it for a new search.
    void clear();

    // While a search looks: the drive's root, each folder of its own tree (a
    // folder reached through a link is not), the folders that are links or
    // could not be opened, and every file.
    void countFolder(uint32_t folder);
    void markLink(uint32_t folder);
    void markUnopened(uint32_t folder);
    // `allocation` -1 where the listing does not say; `index` 0 where it does not
    // give one (then the file is taken to have this one name).
    void addFile(uint32_t folder, std::wstring_view name, long long size, long long allocation, long long lastWrite,
                 unsigned long long index, bool onlineOnly) {
        // Most files go on the run of the one before: asked of every file on the
        // drive, this is answered without a call.
        if (folder == run_.folder && run_.kind == lastKindNumber_ && index == 0 && !onlineOnly &&
            endsInKind(name, lastKind_))
            return addToRun(size, allocation, lastWrite);
        addFileAfresh(folder, name, size, allocation, lastWrite, index, onlineOnly);
    }
    // After the search: each file with several names counted under one, and
    // every folder's figures summed into the folders above it.
    void finish(const FoundFiles& found, uint32_t root, bool partial);

    bool isGathered() const { return gathered_; }
    bool isPartial() const { return partial_; }
    uint32_t root() const { return root_; }
    bool isCounted(uint32_t folder) const { return hasMark(folder, counted); }
    bool isLink(uint32_t folder) const { return hasMark(folder, link); }
    bool isUnopened(uint32_t folder) const { return hasMark(folder, unopened); }
    // Everything below the folder.
    const FolderFigures& figures(uint32_t folder) const { return figures_[folder]; }
    // The files that lie directly in it (folders counted 0).
    FolderFigures filesDirectlyIn(uint32_t folder) const;
    // No file directly in the folder took more than 2 to this power bytes on the
    // disk (0 where none took any): the map lists a folder's files only where one
    // of them could be large enough to see.
    int largestFileBits(uint32_t folder) const { return folder < direct_.size() ? direct_[folder].largestBits : 0; }
    // Its counted subfolders, largest on the disk first, equal ones by name.
    std::vector<uint32_t> subfolders(uint32_t folder, const FoundFiles& found) const;
    // Every counted folder, each before the folders inside it.
    std::vector<uint32_t> countedFolders() const;
    // Every kind, largest on the disk first.
    std::vector<KindFigures> kinds() const;
    // A kind's figures as they are now; nullptr for a kind no file had.
    const KindFigures* kind(const std::wstring& kind) const;
    // Online-only files: counted apart, as nothing on the disk.
    uint32_t onlineOnlyFiles() const { return onlineOnlyFiles_; }
    long long onlineOnlyBytes() const { return onlineOnlyBytes_; }

    // A listed file went from the drive (deleted or moved) and freed `spaceHeld`:
    // the folders above it and its kind lose it. A file reached through a link,
    // or in no counted folder, was never counted.
    void removeFile(const FoundFiles& found, const FoundFile& file, long long spaceHeld);

private:
    static constexpr uint8_t counted = 1, link = 2, unopened = 4;
    // A file that may have other names, held until the search ends.
    struct Named {
        unsigned long long index;
        long long size, onDisk, lastWrite;
        uint32_t folder, kind;
        bool onlineOnly;
    };

    void ensure(uint32_t folder);
    uint32_t kindOf(std::wstring_view name);
    uint32_t lookUpKind(std::wstring_view name);
    void count(uint32_t folder, uint32_t kind, long long size, long long onDisk, long long lastWrite, bool onlineOnly);
    struct Run;
    void addRun(const Run& run);
    void endRun();
    void addToRun(long long size, long long allocation, long long lastWrite) {
        if (size < 0) size = 0;
        const long long onDisk = std::max(0LL, spaceOnDisk(size, allocation));
        run_.onDisk += onDisk;
        run_.size += size;
        run_.latestChange = std::max(run_.latestChange, lastWrite);
        run_.largest = std::max(run_.largest, onDisk);
        run_.files += 1;
    }
    void addFileAfresh(uint32_t folder, std::wstring_view name, long long size, long long allocation, long long lastWrite,
                       unsigned long long index, bool onlineOnly);

    std::vector<FolderFigures> figures_;
    // The files directly in a folder, and the folder's marks and the bound on its
    // largest file where FolderFigures keeps its count of folders: 64 bytes a folder
    // with its figures.
    struct DirectFigures {
        long long onDisk = 0, size = 0, latestChange = 0;
        uint32_t files = 0;
        uint8_t largestBits = 0;
        uint8_t marks = 0;
    };
    static_assert(sizeof(DirectFigures) == 32 && sizeof(FolderFigures) == 32);
    bool hasMark(uint32_t folder, uint8_t mark) const { return folder < direct_.size() && (direct_[folder].marks & mark); }
    std::vector<DirectFigures> direct_;
    std::vector<KindFigures> kinds_;
    std::unordered_map<std::wstring, uint32_t> kindNumbers_;
    std::wstring kindKey_;                  // reused for each lookup
    std::wstring lastKind_;                 // the kind asked last, and its number
    uint32_t lastKindNumber_ = ~uint32_t{0};
    // Every file the walk sees may have other names (its listing does not say),
    // so they are many: grown a block at a time, never copied to grow.
    using NamedFiles = BlockArray<Named, 12>;
    NamedFiles named_;
    // A search hands in the files of a folder one after another, mostly of one
    // kind: such a run is summed here, and added to its folder and kind once it ends.
    struct Run {
        uint32_t folder = FoundFiles::noFolder, kind = ~uint32_t{0};  // no kind: no file goes on it
        long long onDisk = 0, size = 0, latestChange = 0, largest = 0;
        uint32_t files = 0;
    };
    Run run_;
    uint32_t onlineOnlyFiles_ = 0;
    long long onlineOnlyBytes_ = 0;
    uint32_t root_ = FoundFiles::noFolder;
    bool gathered_ = false, partial_ = false;
};
