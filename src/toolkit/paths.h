#pragma once
// Size and attribute queries, and the parts of a path.
#include <string>

constexpr long long sizeMissing = -1;
constexpr long long sizeFolder = -2;

// Bytes of a file; sizeMissing when nothing is there, sizeFolder for a folder or drive root.
long long PathSize(const std::wstring& path);
constexpr int attributesUnknown = -1;
// Read-only 1, hidden 2, system 4, archive 0x20, normal 0x80, compressed 0x800;
// attributesUnknown where the path cannot be asked (nothing there, or refused).
int PathAttributes(const std::wstring& path);
int PathSetAttributes(const std::wstring& path, int attributes);
// Puts attributes back as they were: hidden and system first, read-only last, as
// some file systems keep the first two where a read-only file lets nobody write.
void PathRestoreAttributes(const std::wstring& path, int attributes);

// The form of a full path that the file calls take letter for letter ("\\?\D:\x\report."):
// the ordinary form drops trailing dots and blanks, so "report." would reach
// "report", and stops at 260 characters. Paths that are not plain full paths
// (relative, forward slashes, "." or ".." parts) are returned as they are.
std::wstring PathExactForm(const std::wstring& path);
// The pattern to list a folder in its exact form with ("*.*" is then "*").
std::wstring PathExactPattern(const std::wstring& pattern);

// Which file or folder a path leads to, links followed: two paths that reach the
// same thing give equal identities. Unknown when the path cannot be opened.
struct PathIdentity {
    unsigned long volume = 0;
    unsigned long long index = 0;
    bool known = false;
    bool operator==(const PathIdentity& other) const {
        return known && other.known && volume == other.volume && index == other.index;
    }
    bool operator<(const PathIdentity& other) const {
        return volume != other.volume ? volume < other.volume : index < other.index;
    }
};
PathIdentity PathIdentityOf(const std::wstring& path);
// The index of what the path leads to on its volume (the index part of its
// identity, without the costly volume query); 0 when unknown.
unsigned long long PathFileIndex(const std::wstring& path);
// Where a path really leads, links followed ("D:\\Temp" for a link to it); empty
// where the system cannot tell (before Vista, or a path that cannot be opened).
std::wstring PathFinal(const std::wstring& path);

// The serial number of the volume a path really lies on (links followed where
// the system tells where they lead); 0 when unknown.
unsigned long PathVolumeSerial(const std::wstring& path);
// True for a junction, a symbolic link or another reparse point.
bool PathIsLink(const std::wstring& path);
// True when `inner` is the folder `outer` or lies below it; letter case is ignored.
bool PathContains(const std::wstring& outer, const std::wstring& inner);

// The path as a folder's, ending in "\" (an empty path becomes "\").
std::wstring PathAsFolder(std::wstring path);
std::wstring PathNamePart(const std::wstring& path);
std::wstring PathFolderPart(const std::wstring& path);
// The path made whole against the current folder and drive ("a.csv", ".\a.csv",
// "D:a.csv"), as the system would open it; empty when it cannot be.
std::wstring PathAbsolute(const std::wstring& path);
std::wstring PathExtensionPart(const std::wstring& path);
