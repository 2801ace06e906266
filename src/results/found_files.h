#pragma once
// What a search found, one record a file: its size and identity as numbers, its
// folder as an index into folders held once each (a folder is its parent and its
// name, so it costs its own name however deep it lies), its name in a shared pool.
// The walk and the fast scan fill it through add(); the results list and the
// purge read it. The texts a person sees are made when they are asked for.
#include "results/block_array.h"
#include "toolkit/held_file.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where a search reached files from: the drive's root, or a folder link it followed.
struct FoundOrigin {
    std::wstring listedPrefix;  // as the listed paths begin: "D:\", "D:\link\"
    std::wstring finalPrefix;   // where that folder really lay, ending in "\"; empty if unknown
    unsigned long volume = 0;   // its volume serial at the search; 0 if unknown
};

// The origin of files listed under listedPrefix, whose folder really lies at
// finalPath (empty if unknown), with the volume it is on now.
FoundOrigin originAt(const std::wstring& listedPrefix, const std::wstring& finalPath);

// Where a listed file should really lie if nothing on its way became a link since
// the search; empty where that cannot be told.
std::wstring expectedFinalPath(const FoundOrigin& origin, const std::wstring& listedPath);

// What a search noted of a file besides its identity.
enum FoundMarks : uint16_t {
    foundOnlineOnly = 1,  // a cloud placeholder: its data lies only online
    foundReadOnly = 2,    // marked read-only when the search saw it
};

struct FoundFile {
    FileIdentity identity;  // its size among it
    uint32_t folder = 0;    // into the folders
    uint32_t name = 0;      // where its name starts in the name pool
    uint32_t origin = 0;    // into the origins
    uint16_t nameLength = 0;
    uint16_t marks = 0;     // FoundMarks
};

class FoundFiles {
public:
    // The longest name kept: longer is no Windows name.
    static constexpr size_t longestName = 32767;

    // Empties it, keeping its room for the next search.
    void clear();
    size_t count() const { return files_.size(); }
    const FoundFile& operator[](size_t i) const { return files_[i]; }

    // The root or a followed link the files that follow are reached through.
    uint32_t addOrigin(const FoundOrigin& origin);
    // A folder given by its whole path ("D:\"), as a search's root is; its
    // path ends in "\".
    uint32_t addFolder(const std::wstring& path);
    // A folder inside another one added before, by its name. Nothing (noFolder)
    // when the name cannot be kept.
    uint32_t addFolder(uint32_t parent, std::wstring_view name);
    static constexpr uint32_t noFolder = ~uint32_t{0};
    // False when the file cannot be kept (a name no file system gives).
    bool add(uint32_t folder, std::wstring_view name, const FileIdentity& identity, uint32_t origin,
             uint16_t marks = 0);
    // Largest first; equal sizes by full path, last first, in 16-bit code units.
    void sortLargestFirst();

    size_t folderCount() const { return folders_.size(); }
    // The folder a folder lies in; noFolder for one given whole.
    uint32_t parentOf(uint32_t folder) const { return folders_[folder].parent; }
    // A folder's own name; for one given whole, its whole path.
    std::wstring_view folderName(uint32_t folder) const;

    const std::vector<FoundOrigin>& origins() const { return origins_; }
    const FoundOrigin& originOf(const FoundFile& file) const { return origins_[file.origin]; }
    std::wstring_view nameOf(const FoundFile& file) const;
    // A folder's whole path, ending in "\", joined from its parents' names.
    std::wstring folderPath(uint32_t folder) const;
    std::wstring pathOf(const FoundFile& file) const;

private:
    // Names lie whole within a block of 32,768 characters; a name's place is its
    // block and where in it it starts.
    static constexpr uint32_t nameBlockShift = 15;
    static constexpr size_t nameBlockSize = size_t{1} << nameBlockShift;
    static constexpr size_t nameBlocksAtMost = size_t{1} << (32 - nameBlockShift);

    struct Folder {
        uint32_t parent;   // noFolder for a folder given whole
        uint32_t name;     // in the name pool; for a folder given whole, into wholeFolders_
        uint16_t nameLength;
    };
    // Where each folder stands in the order of all folder paths, and the folders
    // inside each one in that order: made for a sort and dropped after it.
    struct FolderOrder;

    // Keeps a name in the pool: its place, or nothing where it cannot be kept.
    std::optional<uint32_t> keepName(std::wstring_view name);
    std::wstring_view textAt(uint32_t place, size_t length) const;
    int comparePaths(const FoundFile& a, const FoundFile& b, const FolderOrder& order) const;

    BlockArray<FoundFile, 10> files_;  // 1,024 records (40 KB) a block
    std::vector<std::unique_ptr<wchar_t[]>> nameBlocks_;
    size_t nameBlock_ = 0;  // the block names go to now
    size_t nameUsed_ = 0;   // of it
    std::vector<Folder> folders_;
    std::vector<std::wstring> wholeFolders_;
    std::vector<FoundOrigin> origins_;
};
