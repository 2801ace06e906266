#include "purge/purge_engine.h"

#include "purge/copy_job.h"
#include "toolkit/file_ops.h"
#include "toolkit/paths.h"
#include "toolkit/text.h"

namespace {

constexpr int copyAttempts = 3;

enum class Outcome { removed, kept, stop };

class Purge {
public:
    Purge(const PurgeJob& job, PurgeObserver& observer) : job_(job), observer_(observer) {}

    long long run() {
        for (size_t index = 0; index < job_.paths.size(); ++index) {
            if (observer_.stopRequested()) break;
            const std::wstring& path = job_.paths[index];
            const Outcome outcome = job_.moving ? moveFile(path) : deleteFile(path);
            if (outcome == Outcome::stop) break;
            if (outcome == Outcome::removed) observer_.fileRemoved(index);
        }
        return freed_;
    }

private:
    Outcome deleteFile(const std::wstring& path) {
        const long long size = PathSize(path);
        // FileRemove counts only a file that is really gone.
        if (!FileRemove(path, job_.deleteFlags)) return Outcome::kept;
        freed_ += size;
        return Outcome::removed;
    }

    void waitForCopy(const CopyJob& copy) {
        // Not merely until 100 %: the copy call must have closed both files before
        // anything is compared or deleted.
        while (!copy.done) {
            observer_.waitBriefly();
            observer_.progress(copy.percent);
        }
        observer_.progress(0);
    }

    // One copy into the target under a free name. The result: the copy's path when it
    // holds the whole file, else empty (nothing this copy made is left behind).
    std::wstring copyIntoTarget(const std::wstring& source, bool& cancelled) {
        const std::wstring name = PathNamePart(source);
        const long long size = PathSize(source);
        if (size < 0) return {};
        for (int attempt = 0; attempt < copyAttempts; ++attempt) {
            // The name is claimed with a new empty file first, so that the copy only
            // ever writes over its own file, and only its own file is removed again.
            const std::wstring destination = freeNameIn(job_.moveTarget, name);
            const PathIdentity claimed = FileCreateEmpty(destination);
            if (!claimed.known) continue;
            CopyJob copy;
            copy.source = source;
            copy.destination = destination;
            copy.stopRequested = [this] { return observer_.copyStopRequested(); };
            startCopy(copy);
            waitForCopy(copy);
            // Compared with the size before the copy: a source that another program
            // removed meanwhile leaves this copy as the only one, and it stays.
            if (copy.succeeded && PathSize(destination) == size) return destination;
            if (PathIdentityOf(destination) == claimed) FileRemove(destination, removeForce);
            if (copy.cancelled) {
                cancelled = true;
                return {};
            }
        }
        return {};
    }

    Outcome moveFile(const std::wstring& source) {
        observer_.status(L"Moving: " + PathNamePart(source));
        bool cancelled = false;
        const std::wstring copy = copyIntoTarget(source, cancelled);
        if (cancelled) return Outcome::stop;
        if (copy.empty()) return Outcome::kept;
        const long long size = PathSize(copy);
        switch (FileDelete(source, removeForce)) {
            case RemoveResult::done:
                freed_ += size;
                return Outcome::removed;
            case RemoveResult::unconfirmed:
                // The system accepted the delete: whatever becomes of the source, the
                // copy may be the only one left.
                return Outcome::kept;
            case RemoveResult::refused:
                break;
        }
        // Gone from under us: the copy is all there is, so it stays, and the space was
        // not freed by this move.
        if (PathSize(source) == sizeMissing) return Outcome::removed;
        FileRemove(copy, removeForce);  // the source stays, so the copy is taken back
        return Outcome::kept;
    }

    const PurgeJob& job_;
    PurgeObserver& observer_;
    long long freed_ = 0;
};

}  // namespace

long long purgeFiles(const PurgeJob& job, PurgeObserver& observer) { return Purge(job, observer).run(); }

std::wstring freeNameIn(const std::wstring& folder, const std::wstring& fileName) {
    std::wstring candidate = folder + fileName;
    const std::wstring extension = PathExtensionPart(fileName);
    const std::wstring stem =
        extension.empty() ? fileName : TextLeft(fileName, TextLength(fileName) - TextLength(extension) - 1);
    for (int copy = 2; PathSize(candidate) != sizeMissing; ++copy)
        candidate = folder + stem + L" (" + TextFromInteger(copy) + L")" + (extension.empty() ? L"" : L"." + extension);
    return candidate;
}
