#include "purge/probe_file.h"

#include "toolkit/file_ops.h"
#include "toolkit/numbers.h"
#include "toolkit/paths.h"
#include "toolkit/text.h"

bool probeWritable(const std::wstring& folder) {
    // A name taken by someone else between the check and the creation is
    // refused by the creation, which never replaces a file; a few more draws settle it.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring probe;
        do {
            probe = folder + TextFromInteger(RandomUpTo(99999999));
        } while (PathSize(probe) != sizeMissing);
        if (FileCreateEmpty(probe).known) {
            // A place where files can be made but not removed again is no place to
            // write: every start would leave another probe behind.
            return FileRemove(probe) != 0;
        }
        if (PathSize(probe) == sizeMissing) return false;  // not taken, so it cannot be made
    }
    return false;
}
