#include "toolkit/raw_volume.h"

#include <windows.h>
#include <winioctl.h>

RawVolume::RawVolume(wchar_t letter) {
    const wchar_t device[] = {L'\\', L'\\', L'.', L'\\', letter, L':', L'\0'};
    // Sharing as the file system itself has the volume open.
    handle_ = OwnedHandle(
        CreateFileW(device, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
}

std::optional<unsigned long long> RawVolume::length() const {
    if (!handle_) return std::nullopt;
    GET_LENGTH_INFORMATION information{};
    DWORD returned = 0;
    if (DeviceIoControl(static_cast<HANDLE>(handle_.get()), IOCTL_DISK_GET_LENGTH_INFO, nullptr, 0, &information,
                        sizeof information, &returned, nullptr) &&
        returned >= sizeof information)
        return static_cast<unsigned long long>(information.Length.QuadPart);
    // A device that is a file (an image mounted as a drive) has a file's size.
    LARGE_INTEGER size;
    if (GetFileSizeEx(static_cast<HANDLE>(handle_.get()), &size) && size.QuadPart > 0)
        return static_cast<unsigned long long>(size.QuadPart);
    return std::nullopt;
}

bool RawVolume::read(unsigned long long offset, void* buffer, std::size_t bytes) {
    if (!handle_) return false;
    auto* at = static_cast<unsigned char*>(buffer);
    while (bytes > 0) {
        // Each read says where it starts instead of moving the handle's position:
        // threads read different parts of the volume through one handle at once.
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(offset);
        where.OffsetHigh = static_cast<DWORD>(offset >> 32);
        const DWORD ask = bytes > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes);
        DWORD got = 0;
        if (!ReadFile(static_cast<HANDLE>(handle_.get()), at, ask, &got, &where) || got == 0) return false;
        at += got;
        offset += got;
        bytes -= got;
    }
    return true;
}

SectorBuffer::SectorBuffer(std::size_t bytes) {
    data_ = static_cast<unsigned char*>(VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (data_) size_ = bytes;
}

SectorBuffer::~SectorBuffer() {
    if (data_) VirtualFree(data_, 0, MEM_RELEASE);
}
