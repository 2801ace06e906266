#pragma once
// The window's drive list.
#include <functional>
#include <string>

// Empties the drive list and fills it with every drive whose label can be read, A to
// Z. `betweenDrives` is called after each letter: each reading probes the drive's
// root, and twenty-six of them take long enough that a busy window must be tended.
void rebuildDriveList(const std::function<void()>& betweenDrives = {});
// The drive the list shows, such as "C:": its entries begin with the letter and
// colon ("C:  (System, 37% free)").
std::wstring listedDrive();
// Selects the drive's entry again (after a rebuild), when it is still listed.
void reselectDrive(const std::wstring& drive);
