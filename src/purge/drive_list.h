#pragma once
// The window's drive list.
#include <string>

// Empties the drive list and fills it with every drive whose label can be read, A to Z.
void rebuildDriveList();
// Selects the drive's entry again (after a rebuild), when it is still listed.
void reselectDrive(const std::wstring& drive);
