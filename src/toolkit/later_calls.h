#pragma once
// System calls looked up when first asked for: those Windows XP lacks, each null
// where the system does not have it (callers then take another way), and the
// one native call the toolkit makes.
#include "toolkit/paths.h"

#include <windows.h>

using GetInfoByHandleExCall = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
using FinalPathNameCall = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);

GetInfoByHandleExCall getFileInformationByHandleEx();
FinalPathNameCall getFinalPathNameByHandle();

// The native information classes of a file handle, which every NT system has
// (the Win32 calls for most of them came with Vista). True on success.
constexpr int nativeBasicInformation = 4;        // times and attributes
constexpr int nativeStandardInformation = 5;     // sizes, link count
constexpr int nativeDispositionInformation = 13;  // delete when the last handle closes
bool NativeQueryFile(HANDLE file, int informationClass, void* buffer, unsigned long size);
bool NativeSetFile(HANDLE file, int informationClass, void* buffer, unsigned long size);
// Opens the file `name` inside the folder held by `folder`, wherever that folder
// lies now (a link at the end taken as itself); INVALID_HANDLE_VALUE when it cannot.
HANDLE NativeOpenIn(HANDLE folder, const std::wstring& name, ACCESS_MASK access);

struct NativeBasicInformation {
    LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime;  // 0 leaves a time as it is
    DWORD attributes;
};
struct NativeStandardInformation {
    LARGE_INTEGER allocationSize, endOfFile;
    DWORD numberOfLinks;
    BOOLEAN deletePending, directory;
};

// Where the file behind a handle really lies ("D:\Temp\x"); empty where the
// system cannot tell (before Vista).
std::wstring FinalPathOfHandle(HANDLE file);

// A file's index on its volume (the number a folder is told apart by), 0 when
// unknown. Asked of the native layer: the Win32 call that also gives the volume
// serial is a trip to the mount manager under Wine (3 ms), this one is not (5 us).
unsigned long long FileIndexOfHandle(HANDLE file);
// Which file the handle is open on, volume and index; unknown when the system cannot tell.
PathIdentity IdentityOfHandle(HANDLE file);
