#pragma once
// System calls that Windows XP lacks, looked up when first asked for: each is
// null where the system does not have it, and callers then take another way.
#include <windows.h>

using GetInfoByHandleExCall = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
using SetInfoByHandleCall = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
using FinalPathNameCall = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);

GetInfoByHandleExCall getFileInformationByHandleEx();
SetInfoByHandleCall setFileInformationByHandle();
FinalPathNameCall getFinalPathNameByHandle();
