#pragma once
// System calls looked up when first asked for: those Windows XP lacks, each null
// where the system does not have it (callers then take another way), and the
// one native call the toolkit makes.
#include "toolkit/paths.h"

#include <windows.h>

using GetInfoByHandleExCall = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
using SetInfoByHandleCall = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
using FinalPathNameCall = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);

GetInfoByHandleExCall getFileInformationByHandleEx();
SetInfoByHandleCall setFileInformationByHandle();
FinalPathNameCall getFinalPathNameByHandle();

// A file's index on its volume (the number a folder is told apart by), 0 when
// unknown. Asked of the native layer: the Win32 call that also gives the volume
// serial is a trip to the mount manager under Wine (3 ms), this one is not (5 us).
unsigned long long FileIndexOfHandle(HANDLE file);
// Which file the handle is open on, volume and index; unknown when the system cannot tell.
PathIdentity IdentityOfHandle(HANDLE file);
