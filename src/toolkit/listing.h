#pragma once
// A folder's entries, one at a time: read in large batches through the folder's
// own handle where the system offers it, else with the find calls.
#include "toolkit/paths.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

enum class EntryKind { file, folder };

// Memory for batched reads, for a caller that lists many folders one after
// another (a walk lists thousands): kept across its listings instead of being
// taken anew for each.
class ListingBuffer {
public:
    ListingBuffer();
    std::byte* data() const { return bytes_.get(); }

private:
    std::unique_ptr<std::byte[]> bytes_;
};

class FolderListing {
public:
    // Lists the entries of `folder` that match `pattern`. `buffer`, where given,
    // must outlive the listing and serve no other listing meanwhile.
    FolderListing(const std::wstring& folder, const std::wstring& pattern, ListingBuffer* buffer = nullptr);
    ~FolderListing();
    FolderListing(FolderListing&&) noexcept;
    FolderListing& operator=(FolderListing&&) noexcept;

    // True when the folder could be listed, also when nothing in it matches.
    bool isOpen() const { return state_ != nullptr; }
    // Moves on to the next entry; false at the end. The first call gives the first.
    bool next();

    // The entry `next` moved to. Its name is valid until the listing moves on.
    std::wstring_view name() const;
    EntryKind kind() const;
    long long size() const;
    // What the entry takes on the disk where the listing says (batched reads); -1 otherwise.
    long long allocation() const;
    // The entry's index on its volume where the listing gives it (batched reads); 0 otherwise.
    unsigned long long fileIndex() const;
    // The time of the entry's last write, in 100-ns ticks since 1601.
    long long lastWrite() const;
    // A junction, a symbolic link or another reparse point.
    bool isLink() const;
    // The entry's attributes as the system gives them (FILE_ATTRIBUTE_...).
    unsigned long attributes() const;
    // The index on its volume of the folder listed, where the listing holds the
    // folder open (batched reads); 0 otherwise.
    unsigned long long folderIndex() const;

    struct State;

private:
    std::unique_ptr<State> state_;
};

// Batched reads are used where the system offers them; false keeps to the find
// calls (for tests of that path).
void ListingUseBatches(bool use);
