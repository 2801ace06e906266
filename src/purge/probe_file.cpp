#include "purge/probe_file.h"

#include "toolkit/file_ops.h"
#include "toolkit/handles.h"
#include "toolkit/numbers.h"
#include "toolkit/paths.h"
#include "toolkit/text.h"

bool probeWritable(const std::wstring& folder) {
    // A name taken by someone else between the check and the creation is
    // refused by CREATE_NEW; a few more draws settle it.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring probe;
        do {
            probe = folder + TextFromInteger(RandomUpTo(99999999));
        } while (PathSize(probe) != sizeMissing);
        FileHandle file(CreateFileW(PathExactForm(probe).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid()) {
            file.reset();
            // A place where files can be made but not removed again is no place to
            // write: every start would leave another probe behind.
            return FileRemove(probe) != 0;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}
