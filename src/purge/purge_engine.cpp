#include "purge/purge_engine.h"

#include "purge/copy_job.h"
#include "toolkit/held_file.h"
#include "toolkit/file_ops.h"
#include "toolkit/paths.h"
#include "toolkit/text.h"

namespace {

constexpr int copyAttempts = 3;

enum class Outcome { removed, kept, changed, link, stop };

class Purge {
public:
    Purge(const PurgeJob& job, PurgeObserver& observer) : job_(job), observer_(observer) {}

    PurgeOutcome run() {
        for (size_t index = 0; index < job_.files.size(); ++index) {
            if (observer_.stopRequested()) break;
            const PurgeFile& file = job_.files[index];
            freedNow_ = -1;
            const Outcome outcome = job_.moving ? moveFile(file) : deleteFile(file);
            if (outcome == Outcome::stop) break;
            switch (outcome) {
                case Outcome::removed: observer_.fileRemoved(index, freedNow_); break;
                case Outcome::changed: ++outcome_.changed; observer_.fileLeft(index); break;
                case Outcome::link: ++outcome_.links; observer_.fileLeft(index); break;
                default: ++outcome_.failed; break;
            }
        }
        return outcome_;
    }

private:
    // Whether the held file is still the one that was found, where it was found.
    static Outcome verdict(const HeldFile& held, const PurgeFile& file) {
        if (!held.isOpen()) return Outcome::kept;
        if (!file.sameVolume || held.isFolder() || !held.matches(file.identity)) return Outcome::changed;
        // A link held as itself is what was found, and goes as a link. Some
        // systems (Wine) hold what a link leads to instead: that would be deleted.
        if (!held.isLink() && !held.liesAt(file.finalPath)) return Outcome::link;
        return Outcome::removed;
    }

    void countFreed(bool onlyName, long long spaceHeld) {
        // Another name of the same data keeps its space taken.
        if (onlyName) outcome_.freed += spaceHeld;
        freedNow_ = onlyName ? spaceHeld : -1;
    }

    Outcome deleteFile(const PurgeFile& file) {
        HeldFile held(file.path);
        const Outcome checked = verdict(held, file);
        if (checked != Outcome::removed) return checked;
        const bool onlyName = held.isOnlyName(), onlineOnly = held.isOnlineOnly();
        const long long spaceHeld = held.spaceHeld();
        // Deleted through the handle that was checked: nothing can come between.
        if (held.remove(job_.deleteFlags) != RemoveResult::done) return Outcome::kept;
        countFreed(onlyName, spaceHeld);
        if (onlineOnly) ++outcome_.onlineOnly;
        return Outcome::removed;
    }

    void runCopy(CopyJob& copy) {
        // Not merely until 100 %: the copy call must have closed both files before
        // anything is compared or deleted.
        observer_.runAside([&copy] { copyFile(copy); }, [this, &copy] { observer_.progress(copy.percent); });
        observer_.progress(0);
    }

    // One copy into the target under a free name. The result: the copy's path when it
    // holds the whole file, else empty (nothing this copy made is left behind).
    std::wstring copyIntoTarget(const std::wstring& source, bool& cancelled) {
        const std::wstring name = PathNamePart(source);
        const long long size = PathSize(source);
        if (size < 0) return {};
        for (int attempt = 0; attempt < copyAttempts; ++attempt) {
            // The target stays where it is until this copy is whole or taken back:
            // a folder renamed mid-copy would carry a partial copy away from its name.
            FolderHold target(job_.moveTarget);
            // The name is claimed with a new empty file first, so that the copy only
            // ever writes over its own file, and only its own file is removed again.
            const std::wstring destination = freeNameIn(job_.moveTarget, name);
            const PathIdentity claimed = FileCreateEmpty(destination);
            if (!claimed.known) continue;
            CopyJob copy;
            copy.source = source;
            copy.destination = destination;
            copy.stopRequested = [this] { return observer_.copyStopRequested(); };
            runCopy(copy);
            // Compared with the size before the copy: a source that another program
            // removed meanwhile leaves this copy as the only one, and it stays.
            if (copy.succeeded && PathSize(destination) == size) return destination;
            // Taken back from the held folder, wherever it went: by its old path a
            // renamed folder's copy could no longer be reached.
            target.removeOwnFile(PathNamePart(destination), claimed);
            if (copy.cancelled) {
                cancelled = true;
                return {};
            }
        }
        return {};
    }

    Outcome moveFile(const PurgeFile& file) {
        {
            // Let go during the copy: copy calls may refuse to share the file with
            // a handle that has the right to delete it.
            HeldFile before(file.path);
            Outcome checked = verdict(before, file);
            // A link moved would be a copy of what it leads to: it stays.
            if (checked == Outcome::removed && before.isLink()) checked = Outcome::link;
            if (checked != Outcome::removed) return checked;
        }
        observer_.status(L"Moving: " + PathNamePart(file.path));
        bool cancelled = false;
        const std::wstring copy = copyIntoTarget(file.path, cancelled);
        if (cancelled) return Outcome::stop;
        if (copy.empty()) return Outcome::kept;
        // The copy was made by name: what is deleted must still be the file found.
        HeldFile held(file.path);
        // Gone from under us: the copy is all there is, so it stays, and the space
        // was not freed by this move.
        if (!held.isOpen() && PathSize(file.path) == sizeMissing) return Outcome::removed;
        const Outcome afterCopy = verdict(held, file);
        if (afterCopy != Outcome::removed) {
            FileRemove(copy, removeForce);
            return afterCopy;
        }
        const bool onlyName = held.isOnlyName();
        const long long spaceHeld = held.spaceHeld();
        switch (held.remove(removeForce)) {
            case RemoveResult::done:
                countFreed(onlyName, spaceHeld);
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
        if (PathSize(file.path) == sizeMissing) return Outcome::removed;
        FileRemove(copy, removeForce);  // the source stays, so the copy is taken back
        return Outcome::kept;
    }

    PurgeOutcome outcome_;
    long long freedNow_ = -1;  // what the file acted on now freed; -1 where nothing was
    const PurgeJob& job_;
    PurgeObserver& observer_;
};

}  // namespace

PurgeOutcome purgeFiles(const PurgeJob& job, PurgeObserver& observer) { return Purge(job, observer).run(); }

std::wstring freeNameIn(const std::wstring& folder, const std::wstring& fileName) {
    std::wstring candidate = folder + fileName;
    const std::wstring extension = PathExtensionPart(fileName);
    const std::wstring stem =
        extension.empty() ? fileName : TextLeft(fileName, TextLength(fileName) - TextLength(extension) - 1);
    for (int copy = 2; PathSize(candidate) != sizeMissing; ++copy)
        candidate = folder + stem + L" (" + TextFromInteger(copy) + L")" + (extension.empty() ? L"" : L"." + extension);
    return candidate;
}
