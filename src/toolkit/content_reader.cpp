#include "toolkit/content_reader.h"

#include "toolkit/file_attributes.h"
#include "toolkit/later_calls.h"
#include "toolkit/paths.h"

namespace {

HANDLE native(const OwnedHandle& handle) { return static_cast<HANDLE>(handle.get()); }

HANDLE openForReading(const std::wstring& exact, DWORD extraAccess) {
    // No recall: a file the system would fetch from elsewhere first stays where it is.
    // No write sharing: a file another program has open for writing could change
    // in place while it is compared, with neither its size nor its time moving, so
    // it cannot be opened; and while it is compared, nobody can open it to write.
    return CreateFileW(exact.c_str(), GENERIC_READ | FILE_READ_ATTRIBUTES | extraAccess,
                       FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_NO_RECALL, nullptr);
}

}  // namespace

ContentReader::ContentReader(const std::wstring& path) {
    if (path.empty()) return;
    const std::wstring exact = PathExactForm(path);
    const DWORD attributes = GetFileAttributesW(exact.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & onlineOnlyAttributes) {
        onlineOnly_ = true;
        return;
    }
    // The right to write attributes only to tell the system not to move the last
    // access time; where it is refused (a read-only file under Wine, a file the
    // person may only read), the file is read all the same.
    HANDLE opened = openForReading(exact, FILE_WRITE_ATTRIBUTES);
    const bool mayKeepAccessTime = opened != INVALID_HANDLE_VALUE;
    if (!mayKeepAccessTime) opened = openForReading(exact, 0);
    handle_ = OwnedHandle(opened);
    if (!handle_) return;
    if (mayKeepAccessTime) {
        FILETIME leaveAlone{0xFFFFFFFF, 0xFFFFFFFF};
        SetFileTime(native(handle_), nullptr, &leaveAlone, nullptr);
    }
    // Asked once here: a comparison opens thousands of files, and each question is
    // a trip to the system (to Wine's server, under Wine).
    NativeStandardInformation standard{};
    NativeBasicInformation basic{};
    if (!NativeQueryFile(native(handle_), nativeStandardInformation, &standard, sizeof standard) ||
        !NativeQueryFile(native(handle_), nativeBasicInformation, &basic, sizeof basic))
        return;
    links_ = standard.numberOfLinks;
    allocation_ = standard.allocationSize.QuadPart;
    created_ = basic.creationTime.QuadPart;
    opened_.size = standard.endOfFile.QuadPart;
    opened_.lastWrite = basic.lastWriteTime.QuadPart;
    opened_.index = FileIndexOfHandle(native(handle_));
}

FileIdentity ContentReader::identity() const {
    FileIdentity now;
    if (!handle_) return now;
    NativeStandardInformation standard{};
    NativeBasicInformation basic{};
    if (!NativeQueryFile(native(handle_), nativeStandardInformation, &standard, sizeof standard) ||
        !NativeQueryFile(native(handle_), nativeBasicInformation, &basic, sizeof basic))
        return now;
    now.size = standard.endOfFile.QuadPart;
    now.lastWrite = basic.lastWriteTime.QuadPart;
    now.index = FileIndexOfHandle(native(handle_));
    return now;
}

bool ContentReader::readAt(long long offset, void* into, size_t length) {
    if (!handle_ || offset < 0) return false;
    auto* at = static_cast<char*>(into);
    while (length > 0) {
        // From the handle's own position, moved only where the read starts elsewhere:
        // Wine takes a read at a given offset the slow way, at three times the cost
        // of the whole comparison.
        if (offset != position_) {
            LARGE_INTEGER where;
            where.QuadPart = offset;
            if (!SetFilePointerEx(native(handle_), where, nullptr, FILE_BEGIN)) return false;
            position_ = offset;
        }
        const DWORD asked = length > 0x40000000 ? 0x40000000 : static_cast<DWORD>(length);
        DWORD got = 0;
        const bool read = ReadFile(native(handle_), at, asked, &got, nullptr) != FALSE;
        position_ = read ? position_ + got : -1;
        if (!read || got == 0) return false;
        at += got;
        offset += got;
        length -= got;
    }
    return true;
}
