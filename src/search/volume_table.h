#pragma once
// The fast scan: an NTFS volume's files read from its own file table instead of
// walking its folders, where the system lets Ravlek open the volume (Windows: as
// administrator). It gives the walk's collection, entry for entry. Whatever it
// cannot open, read or understand makes it give nothing, and the walk runs.
#include "search/walk.h"

#include <string>

enum class TableScan {
    done,         // every file of the volume looked at
    stopped,      // the observer stopped it; what was found is collected
    unavailable,  // not an NTFS volume Ravlek may read, or a table it does not trust: walk instead
};

// Fills `found` as walkDrive does, for a request whose root is a drive root.
TableScan scanVolumeTable(const WalkRequest& request, WalkObserver& observer, FoundFiles& found);
