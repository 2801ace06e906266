#include "search/walk.h"

#include "search/match_rules.h"
#include "toolkit/listing.h"
#include "toolkit/paths.h"

#include <algorithm>
#include <deque>
#include <set>
#include <string_view>
#include <vector>

namespace {

class Walker {
public:
    Walker(const WalkRequest& request, WalkObserver& observer, FoundFiles& found)
        : request_(request), observer_(observer), found_(found) {}

    bool run(uint32_t rootFolder) {
        if (request_.counts) {
            request_.counts->lookedAt = 0;
            request_.counts->found = 0;
        }
        const std::wstring root = PathAsFolder(request_.rootPath);
        const uint32_t origin = addOrigin(root, PathFinal(root));
        counting_ = request_.totals != nullptr;
        walkFrom(root, origin, rootFolder);
        rootFolder_ = chain_.empty() ? rootFolder : chain_.front().found;
        // What links lead to is counted where it really lies, never through them.
        counting_ = false;
        followLinkedFolders();
        return !stopped_;
    }

    // The found folder the walk's root is; noFolder before anything was listed.
    uint32_t rootFolder() const { return rootFolder_; }

private:
    static constexpr uint32_t noFolder = FoundFiles::noFolder;

    // A folder still to walk: its name in the folder above, and how deep it lies.
    struct Pending {
        std::wstring name;
        size_t depth;
    };
    // A folder on the way from the walk's root to the one listed now: where its
    // path ends in path_, and the found folder it is once a file in or under it
    // was collected.
    struct Step {
        size_t pathEnd;
        uint32_t found;
    };

    // The root and each followed link: where it really leads and its volume, so
    // that a purge can tell when either has changed since.
    uint32_t addOrigin(const std::wstring& folderPath, const std::wstring& finalPath) {
        return found_.addOrigin(originAt(folderPath, finalPath));
    }

    // The found folder of the folder listed now, its parents added as far as they
    // were not: a folder is kept only when a file in or under it is collected.
    uint32_t foundFolder() {
        size_t known = chain_.size();
        while (known > 0 && chain_[known - 1].found == noFolder) --known;
        if (known == 0) {
            chain_[0].found = found_.addFolder(path_.substr(0, chain_[0].pathEnd));
            known = 1;
        }
        for (size_t i = known; i < chain_.size(); ++i) {
            const size_t start = chain_[i - 1].pathEnd;
            const std::wstring_view name = std::wstring_view(path_).substr(start, chain_[i].pathEnd - start - 1);
            chain_[i].found = found_.addFolder(chain_[i - 1].found, name);
            if (chain_[i].found == noFolder) return noFolder;
        }
        return chain_.back().found;
    }

    void collectEntry(const FolderListing& listing, std::wstring_view name, long long size, uint32_t origin) {
        const uint32_t folder = foundFolder();
        if (folder == noFolder) return;
        const uint16_t marks = static_cast<uint16_t>(((listing.attributes() & onlineOnlyAttributes) ? foundOnlineOnly : 0) |
                                                     ((listing.attributes() & attributeReadOnly) ? foundReadOnly : 0));
        found_.add(folder, name, FileIdentity{listing.fileIndex(), size, listing.lastWrite()}, origin, marks);
        if (request_.counts) request_.counts->found.store(static_cast<int>(found_.count()), std::memory_order_relaxed);
    }

    bool leftOut(const std::wstring& folderPath) const { return isInFolder(folderPath, request_.windowsFolderPrefix); }

    // Each folder is walked once however many links lead to it, so a link loop ends
    // and a linked sibling's files are not collected twice. A folder reached
    // without a link lies on the volume of the folder above it (a mount point is
    // a link too), so the volume is asked once per root and link, and the folder
    // itself only for its index.
    bool firstVisit(const FolderListing& listing, const std::wstring& folderPath, unsigned long volume) {
        // A batched listing holds the folder open already; the find calls do not.
        unsigned long long index = listing.folderIndex();
        if (!index) index = PathFileIndex(folderPath);
        return !index || walkedFolders_.insert(PathIdentity{volume, index, true}).second;
    }

    // Walks the tree under `root` depth first, in a loop rather than by recursion:
    // a tree may be as deep as the longest path. A folder waiting to be walked
    // costs its name, not its path.
    void walkFrom(const std::wstring& root, uint32_t origin, uint32_t rootFolder) {
        path_ = root;
        chain_.assign(1, Step{root.size(), rootFolder});
        std::vector<Pending> pending;
        listFolder(origin, 0, pending);
        while (!pending.empty() && !stopped_) {
            const Pending next = std::move(pending.back());
            pending.pop_back();
            // The folder above it is the last of the chain at its depth: its
            // siblings and their trees were walked in between.
            chain_.resize(next.depth);
            path_.resize(chain_.back().pathEnd);
            path_ += next.name;
            path_ += L'\\';
            chain_.push_back(Step{path_.size(), noFolder});
            listFolder(origin, next.depth, pending);
        }
    }

    void listFolder(uint32_t origin, size_t depth, std::vector<Pending>& pending) {
        const unsigned long volume = found_.origins()[origin].volume;
        if (leftOut(path_)) return;
        SpaceTotals* const totals = counting_ ? request_.totals : nullptr;
        const uint32_t here = totals ? foundFolder() : noFolder;
        if (totals) totals->countFolder(here);
        FolderListing listing(path_, L"*.*", &buffer_);
        if (!listing.isOpen()) {
            if (totals) totals->markUnopened(here);
            return;
        }
        if (!firstVisit(listing, path_, volume)) return;
        const size_t firstSubfolder = pending.size();
        while (listing.next()) {
            if (observer_.stopRequested()) {
                stopped_ = true;
                break;
            }
            // Only this thread writes it: a plain store, no locked increment.
            if (request_.counts) request_.counts->lookedAt.store(++lookedAt_, std::memory_order_relaxed);
            const std::wstring_view name = listing.name();
            if (listing.kind() == EntryKind::file) {
                const long long size = listing.size();
                if (totals)
                    totals->addFile(here, name, size, listing.allocation(), listing.lastWrite(), listing.fileIndex(),
                                    (listing.attributes() & onlineOnlyAttributes) != 0);
                if (size <= request_.sizeThreshold) continue;
                if (!request_.nameTest || nameMatches(name, request_.nameText)) collectEntry(listing, name, size, origin);
            } else {
                if (name == L"." || name == L"..") continue;
                if (listing.isLink()) {
                    const uint32_t folder = foundFolder();
                    const uint32_t linked = folder == noFolder ? noFolder : found_.addFolder(folder, name);
                    if (linked == noFolder) continue;
                    if (totals) totals->markLink(linked);
                    linkedFolders_.push_back(linked);
                } else {
                    pending.push_back(Pending{std::wstring(name), depth + 1});
                }
            }
        }
        // Walked in the order listed.
        std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(firstSubfolder), pending.end());
    }

    // Links are followed after the folders themselves, so that a file is listed
    // under its own folder's path when a link also leads to it.
    void followLinkedFolders() {
        while (!linkedFolders_.empty() && !stopped_) {
            const uint32_t link = linkedFolders_.front();
            linkedFolders_.pop_front();
            const std::wstring path = found_.folderPath(link);
            // The Windows folder stays out however it is reached.
            const std::wstring target = PathFinal(path);
            if (!target.empty() && leftOut(PathAsFolder(target))) continue;
            walkFrom(path, addOrigin(path, target), link);
        }
    }

    const WalkRequest& request_;
    WalkObserver& observer_;
    FoundFiles& found_;
    bool stopped_ = false;
    bool counting_ = false;  // the root's own tree is walked: its files go into the totals
    uint32_t rootFolder_ = noFolder;
    long long lookedAt_ = 0;
    std::set<PathIdentity> walkedFolders_;
    std::deque<uint32_t> linkedFolders_;  // the found folders that are links, in the order met
    std::wstring path_;         // of the folder listed now, ending in "\"
    std::vector<Step> chain_;   // from the root to that folder
    // A folder's listing ends before its subfolders are walked: one buffer serves
    // every listing of the walk.
    ListingBuffer buffer_;
};

}  // namespace

WalkEnd walkInto(const WalkRequest& request, WalkObserver& observer, FoundFiles& found, uint32_t rootFolder) {
    return Walker(request, observer, found).run(rootFolder) ? WalkEnd::reachedTheEnd : WalkEnd::stopped;
}

WalkEnd walkDrive(const WalkRequest& request, WalkObserver& observer, FoundFiles& found) {
    found.clear();
    if (request.totals) request.totals->clear();
    Walker walker(request, observer, found);
    const WalkEnd end = walker.run(FoundFiles::noFolder) ? WalkEnd::reachedTheEnd : WalkEnd::stopped;
    found.sortLargestFirst();
    if (request.totals) request.totals->finish(found, walker.rootFolder(), end == WalkEnd::stopped);
    return end;
}
