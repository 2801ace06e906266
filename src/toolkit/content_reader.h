#pragma once
// A file opened only to read the bytes it holds: nothing is written, and where
// the system lets a reader ask for it, the file's last access time stays as it
// was. A cloud file whose data lies only online is never opened: reading it
// would download it.
#include "toolkit/held_file.h"
#include "toolkit/owned_handle.h"

#include <cstddef>
#include <string>

class ContentReader {
public:
    explicit ContentReader(const std::wstring& path);
    ContentReader(ContentReader&&) = default;
    ContentReader& operator=(ContentReader&&) = default;

    bool isOpen() const { return static_cast<bool>(handle_); }
    // The file's data lies only online: it was not opened.
    bool isOnlineOnly() const { return onlineOnly_; }
    // Its index, size and last write as it was opened (the size -1 when it could not be asked).
    const FileIdentity& openedAs() const { return opened_; }
    // The same as it is now, asked again.
    FileIdentity identity() const;
    // When it was made, in 100-ns ticks since 1601; 0 where the system did not say.
    long long created() const { return created_; }
    // True when no other hard link keeps its data.
    bool isOnlyName() const { return links_ <= 1; }
    // What it takes on the disk, where that is less than its size (sparse, compressed).
    long long spaceHeld() const { return spaceOnDisk(opened_.size, allocation_); }
    // Reads exactly `length` bytes starting at `offset`; false where fewer came.
    bool readAt(long long offset, void* into, size_t length);

private:
    OwnedHandle handle_;
    bool onlineOnly_ = false;
    FileIdentity opened_;
    long long created_ = 0, allocation_ = -1;  // as opened
    long long position_ = 0;  // where the handle reads next; -1 when unknown
    unsigned long links_ = 0;
};
