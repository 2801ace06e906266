#pragma once
// A file held open by its exact name, a link at the end of the path taken as
// itself, so that what is checked is what is deleted: nothing can take its place
// between the two.
#include "toolkit/file_attributes.h"
#include "toolkit/file_ops.h"
#include "toolkit/owned_handle.h"

#include <string>

// What tells a file apart from another that takes its name later.
struct FileIdentity {
    unsigned long long index = 0;  // on its volume; 0 where the listing did not give it
    long long size = -1;
    long long lastWrite = 0;  // 100-ns ticks since 1601
};

// What a file of `size` bytes takes on the disk: its allocation where that is
// less (sparse, compressed), else its size; the allocation -1 where unknown.
inline long long spaceOnDisk(long long size, long long allocation) {
    return allocation >= 0 && allocation < size ? allocation : size;
}

class HeldFile {
public:
    explicit HeldFile(const std::wstring& path);
    HeldFile(HeldFile&&) = default;
    HeldFile& operator=(HeldFile&&) = default;

    bool isOpen() const { return static_cast<bool>(handle_); }
    bool isFolder() const;
    // A junction, a symbolic link or another reparse point, held as itself.
    bool isLink() const;
    // True when the data goes with this name: no other hard link keeps it.
    bool isOnlyName() const;
    // A cloud file's placeholder whose data is not on this PC (told by its
    // attributes alone: nothing of it is downloaded).
    bool isOnlineOnly() const;
    // What the file takes on the disk, where that is less than its size: a sparse,
    // compressed or online-only file. Otherwise its size.
    long long spaceHeld() const;
    // True when the same file as the one found: the index where both know it,
    // the size and the time of the last write.
    bool matches(const FileIdentity& found) const;
    // Where the held file really lies; empty where the system cannot tell.
    std::wstring finalPath() const;
    // False when the file really lies elsewhere than `expected` says (some systems,
    // Wine among them, open what a link leads to even when asked for the link).
    // Letter case is ignored; an empty expectation or final path says nothing.
    bool liesAt(const std::wstring& expected) const;
    // Deletes the held file through its handle and lets it go. With removeForce a
    // read-only file is made normal first, and gets its attributes back if it stays.
    RemoveResult remove(int flags);

private:
    std::wstring exact_;
    OwnedHandle handle_;
    // Read once when opened: nothing can change them that would not also make the
    // file fail its checks.
    bool folder_ = false, link_ = false;
    unsigned long links_ = 0, attributes_ = 0;
    long long allocation_ = -1;  // -1 where the system did not say
    FileIdentity identity_;
};

// Holds a folder open so that no program can rename, move or remove it while
// held: a file made in it stays at the path it was made under. (Wine cannot stop
// a Linux program doing so.)
class FolderHold {
public:
    explicit FolderHold(const std::wstring& folder);
    FolderHold(FolderHold&&) = default;
    FolderHold& operator=(FolderHold&&) = default;

    // Removes the file `name` from the held folder, wherever the folder went
    // meanwhile, when it is still the file `made`. Without a hold, by its path
    // `folder` + `name`, on the same condition.
    bool removeOwnFile(const std::wstring& name, const PathIdentity& made);

private:
    std::wstring folder_;
    OwnedHandle handle_;
};

// Where a file in `folder` should lie when nothing on the way is a link: the
// folder's final path and the name.
std::wstring FinalPathOfEntry(const std::wstring& folder, const std::wstring& name);
