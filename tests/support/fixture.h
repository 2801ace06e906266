#pragma once
// Files and folders for tests, on the fixture drives of the private Wine prefix
// (D:, E: and F: are fixture folders; X: is a drive that is not ready).
#include <string>
#include <vector>

// A new empty folder on the drive, named after the running test; ends in "\".
std::wstring makeFixtureFolder(const std::wstring& drive = L"D:");

// A file of exactly `size` bytes; large sizes cost no disk space (sparse).
void makeSizedFile(const std::wstring& path, long long size);
void makeTextFile(const std::wstring& path, const std::string& bytes);
std::string readBytes(const std::wstring& path);
void makeFolder(const std::wstring& path);
bool exists(const std::wstring& path);

// While alive, Escape reads as held from the n-th key-state query on (1-based).
class EscapeHeldFrom {
public:
    explicit EscapeHeldFrom(int query);
    ~EscapeHeldFrom();
    static int queries();
};
