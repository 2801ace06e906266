#include "toolkit/listing.h"

#include "toolkit/handles.h"
#include "toolkit/later_calls.h"
#include "toolkit/paths.h"
#include "toolkit/native.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr DWORD batchBytes = 256 * 1024;

// FILE_INFO_BY_HANDLE_CLASS values of the batched directory reads (Vista and
// later): the classes that also carry each entry's index on its volume.
constexpr auto idDirectoryInfo = static_cast<FILE_INFO_BY_HANDLE_CLASS>(10);
constexpr auto idDirectoryRestartInfo = static_cast<FILE_INFO_BY_HANDLE_CLASS>(11);

// The layout the system fills for those two classes.
struct IdDirectoryEntry {
    DWORD nextEntryOffset;
    DWORD fileIndex;
    LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime;
    LARGE_INTEGER endOfFile, allocationSize;
    DWORD fileAttributes;
    DWORD fileNameLength;  // bytes
    DWORD eaSize;
    CCHAR shortNameLength;
    WCHAR shortName[12];
    LARGE_INTEGER fileId;
    WCHAR fileName[1];
};

uint64_t nameHash(const wchar_t* name, size_t length) {
    uint64_t hash = 14695981039346656037ULL;
    for (size_t i = 0; i < length; ++i) hash = (hash ^ static_cast<uint16_t>(name[i])) * 1099511628211ULL;
    return hash;
}

}  // namespace

// The entry handed out last is described by name, attributes and size whichever
// way it came.
struct FolderListing::State {
    std::wstring query;  // folder in its exact form plus the pattern, for the find calls
    bool root = false;   // a drive root

    FileHandle folder;  // batched reads
    std::byte* buffer = nullptr;
    std::unique_ptr<ListingBuffer> ownBuffer;  // where the caller gave none
    const IdDirectoryEntry* batchEntry = nullptr;
    bool batchFresh = false;  // batchEntry is the first of a batch just read, not handed out yet
    std::vector<uint64_t> handedOut;  // names given so far, should the batches fail mid-way

    FindHandle find;  // find calls
    bool findPending = false;  // the find's first entry is not handed out yet
    WIN32_FIND_DATAW found{};

    const wchar_t* name = nullptr;
    size_t nameLength = 0;
    DWORD attributes = 0;
    long long size = 0;
    long long allocation = -1;         // -1 where the find calls gave the entry
    unsigned long long fileIndex = 0;  // 0 where the find calls gave the entry
    long long lastWrite = 0;
};

namespace {

using Listing = FolderListing::State;
bool batchesAllowed = true;

HANDLE findFirst(const std::wstring& query, WIN32_FIND_DATAW& entry) {
    // The basic-information, large-fetch form is much faster on big folders;
    // systems before Windows 7 reject it, and then the plain call is used.
    HANDLE h = FindFirstFileExW(query.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                FIND_FIRST_EX_LARGE_FETCH);
    if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
        h = FindFirstFileW(query.c_str(), &entry);
    return h;
}

// Starts the find calls; false when the folder cannot be listed.
bool startFind(Listing& listing) {
    listing.find.reset(findFirst(listing.query, listing.found));
    if (listing.find.valid()) {
        listing.findPending = true;
        return true;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES;  // nothing matched: empty
}

bool nextFound(Listing& listing) {
    if (!listing.find.valid()) return false;
    if (listing.findPending) {
        listing.findPending = false;
        return true;
    }
    return FindNextFileW(listing.find.get(), &listing.found) != FALSE;
}

// The next entry by the find calls; after a batched read failed mid-way, the
// names already handed out are passed over, so no entry comes twice.
bool nextByFind(Listing& listing) {
    while (nextFound(listing)) {
        const size_t length = wcslen(listing.found.cFileName);
        if (!listing.handedOut.empty()) {
            const uint64_t hash = nameHash(listing.found.cFileName, length);
            if (std::binary_search(listing.handedOut.begin(), listing.handedOut.end(), hash)) continue;
        }
        listing.name = listing.found.cFileName;
        listing.nameLength = length;
        listing.attributes = listing.found.dwFileAttributes;
        listing.size = static_cast<long long>((static_cast<unsigned long long>(listing.found.nFileSizeHigh) << 32) |
                                              listing.found.nFileSizeLow);
        listing.fileIndex = 0;
        listing.allocation = -1;
        listing.lastWrite = static_cast<long long>(
            (static_cast<unsigned long long>(listing.found.ftLastWriteTime.dwHighDateTime) << 32) |
            listing.found.ftLastWriteTime.dwLowDateTime);
        return true;
    }
    return false;
}

enum class Batch { read, end, failed };

Batch readBatch(Listing& listing, FILE_INFO_BY_HANDLE_CLASS kind) {
    if (batchReadCall()(listing.folder.get(), kind, listing.buffer, batchBytes)) {
        listing.batchEntry = reinterpret_cast<const IdDirectoryEntry*>(listing.buffer);
        listing.batchFresh = true;
        return Batch::read;
    }
    listing.batchEntry = nullptr;
    const DWORD error = GetLastError();
    return error == ERROR_NO_MORE_FILES || error == ERROR_FILE_NOT_FOUND ? Batch::end : Batch::failed;
}

// Opens the folder and reads its first batch; false when this way is not to be had.
bool startBatches(Listing& listing, const std::wstring& folder, ListingBuffer* buffer) {
    if (!batchesAllowed || !batchReadCall()) return false;
    listing.folder.reset(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!listing.folder.valid()) return false;
    if (!buffer) buffer = (listing.ownBuffer = std::make_unique<ListingBuffer>()).get();
    listing.buffer = buffer->data();
    if (readBatch(listing, idDirectoryRestartInfo) == Batch::failed) {
        listing.folder.reset();
        return false;
    }
    return true;
}

bool stepInBatches(Listing& listing) {
    const IdDirectoryEntry* entry = listing.batchEntry;
    if (!entry) return false;  // the folder was empty
    if (listing.batchFresh) {
        listing.batchFresh = false;
    } else if (entry->nextEntryOffset) {
        entry = reinterpret_cast<const IdDirectoryEntry*>(reinterpret_cast<const std::byte*>(entry) +
                                                            entry->nextEntryOffset);
        listing.batchEntry = entry;
    } else {
        switch (readBatch(listing, idDirectoryInfo)) {
            case Batch::read: break;
            case Batch::end: return false;
            case Batch::failed:
                // Go on with the find calls, passing over what the batches gave.
                listing.folder.reset();
                std::sort(listing.handedOut.begin(), listing.handedOut.end());
                return startFind(listing) && nextByFind(listing);
        }
        entry = listing.batchEntry;
        listing.batchFresh = false;
    }
    listing.name = entry->fileName;
    listing.nameLength = entry->fileNameLength / sizeof(WCHAR);
    listing.attributes = entry->fileAttributes;
    listing.size = entry->endOfFile.QuadPart;
    listing.allocation = entry->allocationSize.QuadPart;
    listing.fileIndex = static_cast<unsigned long long>(entry->fileId.QuadPart);
    listing.lastWrite = entry->lastWriteTime.QuadPart;
    return true;
}

bool isDots(const wchar_t* name, size_t length) {
    return (length == 1 && name[0] == L'.') || (length == 2 && name[0] == L'.' && name[1] == L'.');
}

bool nextInBatches(Listing& listing) {
    // A drive root has no "." and ".." (some systems report them all the same).
    while (stepInBatches(listing)) {
        if (!listing.folder.valid()) return true;  // gone over to the find calls
        if (listing.root && isDots(listing.name, listing.nameLength)) continue;
        listing.handedOut.push_back(nameHash(listing.name, listing.nameLength));
        return true;
    }
    return false;
}

}  // namespace

BatchReadFunction& batchReadCall() {
    static BatchReadFunction call = getFileInformationByHandleEx();
    return call;
}

ListingBuffer::ListingBuffer() : bytes_(new std::byte[batchBytes]) {}

FolderListing::FolderListing(const std::wstring& folder, const std::wstring& pattern, ListingBuffer* buffer) {
    // Listed by its exact name: "dir." would otherwise list "dir".
    const std::wstring exactFolder = PathAsFolder(PathExactForm(folder));
    const std::wstring exactPattern = PathExactPattern(pattern);

    auto listing = std::make_unique<State>();
    listing->query = exactFolder + exactPattern;
    const size_t plain = exactFolder.compare(0, 4, L"\\\\?\\") == 0 ? 4 : 0;
    listing->root = exactFolder.size() == plain + 3 && exactFolder[plain + 1] == L':';
    // Batches list everything, so they serve only a listing of every entry.
    const bool batched = exactPattern == L"*" && startBatches(*listing, exactFolder, buffer);
    if (!batched && !startFind(*listing)) return;
    state_ = std::move(listing);
}

FolderListing::~FolderListing() = default;
FolderListing::FolderListing(FolderListing&&) noexcept = default;
FolderListing& FolderListing::operator=(FolderListing&&) noexcept = default;

bool FolderListing::next() {
    if (!state_) return false;
    if (state_->folder.valid()) return nextInBatches(*state_);
    return nextByFind(*state_);
}

std::wstring_view FolderListing::name() const {
    return state_ && state_->name ? std::wstring_view(state_->name, state_->nameLength) : std::wstring_view();
}

EntryKind FolderListing::kind() const {
    return state_ && (state_->attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::folder : EntryKind::file;
}

long long FolderListing::size() const { return state_ ? state_->size : 0; }
long long FolderListing::allocation() const { return state_ ? state_->allocation : -1; }

unsigned long long FolderListing::fileIndex() const { return state_ ? state_->fileIndex : 0; }

long long FolderListing::lastWrite() const { return state_ ? state_->lastWrite : 0; }

bool FolderListing::isLink() const { return state_ && (state_->attributes & FILE_ATTRIBUTE_REPARSE_POINT); }

unsigned long FolderListing::attributes() const { return state_ ? state_->attributes : 0; }

unsigned long long FolderListing::folderIndex() const {
    return state_ && state_->folder.valid() ? FileIndexOfHandle(state_->folder.get()) : 0;
}

void ListingUseBatches(bool use) { batchesAllowed = use; }
