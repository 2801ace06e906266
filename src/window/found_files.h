#pragma once
// What the last search found, row for row as the results list shows it. The
// search fills it as it lists; the purge acts on these files and on no other
// that has taken one's name since. It belongs beside the list it describes.
#include "toolkit/held_file.h"

#include <string>
#include <vector>

// Where a walk reached files from: the drive's root, or a folder link it followed.
struct FoundOrigin {
    std::wstring listedPrefix;  // as the listed paths begin: "D:\", "D:\link\"
    std::wstring finalPrefix;   // where that folder really lay, ending in "\"; empty if unknown
    unsigned long volume = 0;   // its volume serial at the search; 0 if unknown
};

struct FoundFile {
    FileIdentity identity;
    unsigned origin = 0;
    int entry = 0;  // its entry in the search's collection, which holds its texts
};

struct FoundFiles {
    std::vector<FoundOrigin> origins;
    // By the key each row of the results list was shown under (ControlItemKey):
    // rows that go leave the keys of the others as they were.
    std::vector<FoundFile> rows;
};

FoundFiles& foundFiles();

// Where a listed file should really lie if nothing on its way became a link since
// the search; empty where that cannot be told.
std::wstring expectedFinalPath(const FoundOrigin& origin, const std::wstring& listedPath);
