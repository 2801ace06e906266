#pragma once
// What the last search found: the files it collected, the rows it listed, the
// drive they came from. The search fills it; the purge receives it and acts on
// these files and on no other that has taken one's name since. The loop owns the
// one instance (loopState().results) and hands it to both; it is defined here,
// beside the list it describes, because both commands read it.
#include "toolkit/held_file.h"

#include <string>
#include <vector>

// Where a walk reached files from: the drive's root, or a folder link it followed.
struct FoundOrigin {
    std::wstring listedPrefix;  // as the listed paths begin: "D:\", "D:\link\"
    std::wstring finalPrefix;   // where that folder really lay, ending in "\"; empty if unknown
    unsigned long volume = 0;   // its volume serial at the search; 0 if unknown
};

// The origin of files listed under listedPrefix, whose folder really lies at
// finalPath (empty if unknown), with the volume it is on now.
FoundOrigin originAt(const std::wstring& listedPrefix, const std::wstring& finalPath);

// One collected file: its entry text (size right-aligned in 20 characters, size
// text, full path, joined by line feeds), what tells it apart, and the origin
// (the root or a followed folder link) its path begins with.
struct CollectedEntry {
    std::wstring text;
    FileIdentity identity;
    unsigned origin = 0;
};

struct SearchResults {
    std::wstring drive;  // such as "C:"; empty before the first search
    // Entries 1..collectedCount, largest first; slot 0 is unused. It keeps its
    // room for later searches, and past that room it grows rather than drop a file.
    std::vector<CollectedEntry> collection;
    int collectedCount = 0;
    // The root and the folder links the entries were reached through.
    std::vector<FoundOrigin> origins;
    // The walk was ended by Escape rather than by reaching its end.
    bool walkStopped = false;
    // By the key each row of the results list was shown under (ControlItemKey),
    // the entry it shows: rows that go leave the keys of the others as they were.
    std::vector<int> rows;

    // The entry a row key shows; nullptr for a key no search listed.
    const CollectedEntry* entryOfRow(int key) const;
    // The listed file's full path; empty for a key no search listed.
    std::wstring pathOfRow(int key) const;
};

// A line of a collected entry's text: 0 the padded size, 1 the size text, 2 the path.
std::wstring entryLine(const std::wstring& entry, int line);

// Where a listed file should really lie if nothing on its way became a link since
// the search; empty where that cannot be told.
std::wstring expectedFinalPath(const FoundOrigin& origin, const std::wstring& listedPath);
