#pragma once
// Size and attribute queries, and the parts of a path.
#include <string>

constexpr long long sizeMissing = -1;
constexpr long long sizeFolder = -2;

// Bytes of a file; sizeMissing when nothing is there, sizeFolder for a folder or drive root.
long long PathSize(const std::wstring& path);
// Read-only 1, hidden 2, system 4, archive 0x20, normal 0x80, compressed 0x800; -1 on failure.
int PathAttributes(const std::wstring& path);
int PathSetAttributes(const std::wstring& path, int attributes);

std::wstring PathNamePart(const std::wstring& path);
std::wstring PathFolderPart(const std::wstring& path);
std::wstring PathExtensionPart(const std::wstring& path);
