#pragma once
// The native handles behind the toolkit's numbers, and the calls that take them.
// Code above the toolkit includes this only where it must meet the system itself
// (a test that inspects a real window, a seam that stands in for a system call),
// and says why beside the include.
#include "toolkit/person.h"

#include <windows.h>

#include <cstdint>
#include <string>

HWND WindowNativeHandle(int number);
HWND ControlNativeHandle(int number);
HFONT FontNativeHandle(int number);
HANDLE ImageNativeHandle(int number);
HANDLE ThreadNativeHandle(int number);  // null for a thread not (or no longer) started

// Controls with a picture given by its native handle.
std::intptr_t ImageButtonCreate(int number, int x, int y, int width, int height, HANDLE image);
std::intptr_t ImageViewCreate(int number, int x, int y, int width, int height, HANDLE image);
void ControlAddItem(int number, int position, const std::wstring& text, HANDLE image);
std::intptr_t StatusBarCreate(int number, HWND window);

// The calls that read the physical keyboard or wait on a person. The program
// uses the system's own; tests put scripted ones in their place.
struct PersonCalls {
    SHORT(WINAPI* keyState)(int virtualKey) = recentKeyState;
    int(WINAPI* messageBox)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) = MessageBoxW;
    std::wstring (*chooseFolder)(const std::wstring& title, const std::wstring& initialPath) = chooseFolderDialog;
    bool (*shellOpen)(const wchar_t* verb, const std::wstring& file, const std::wstring& directory, int show,
                      bool quiet) = shellExecute;
    int (*chooseFromMenu)(void* owner, const std::vector<std::wstring>& entries, long x, long y) = chooseFromMenuDialog;
    bool (*showInFolder)(const std::wstring& path) = showInFileManager;
    std::optional<SaveChoice> (*chooseSaveFile)(const std::wstring& title, const std::wstring& suggestedName,
                                                const std::vector<FileKind>& kinds,
                                                const std::wstring& extension) = chooseSaveFileDialog;
};
PersonCalls& personCalls();

// The copy call behind FileCopy, CopyFileExW unless a test scripts it.
using CopyFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, LPPROGRESS_ROUTINE, LPVOID, LPBOOL, DWORD);
CopyFunction& copyFileCall();

// The batched directory read behind the listings: GetFileInformationByHandleEx
// where the system has it (none before Vista), unless a test scripts it.
using BatchReadFunction = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
BatchReadFunction& batchReadCall();
