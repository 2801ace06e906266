#include "search/walk.h"

#include "search/match_rules.h"
#include "toolkit/listing.h"
#include "toolkit/paths.h"

#include <deque>
#include <set>
#include <string_view>
#include <vector>

namespace {

class Walker {
public:
    Walker(const WalkRequest& request, WalkObserver& observer, FoundFiles& found)
        : request_(request), observer_(observer), found_(found) {}

    bool run() {
        if (request_.counts) {
            request_.counts->lookedAt = 0;
            request_.counts->found = 0;
        }
        walkDirectory(request_.rootPath, addOrigin(request_.rootPath, PathFinal(request_.rootPath)));
        followLinkedFolders();
        return !stopped_;
    }

private:
    // A folder's listing ends before its subfolders are walked, so one listing is
    // open at any time, however deep the tree.
    static constexpr int listing = 1;
    static constexpr uint32_t noFolder = ~uint32_t{0};

    // The root and each followed link: where it really leads and its volume, so
    // that a purge can tell when either has changed since.
    uint32_t addOrigin(const std::wstring& folderPath, const std::wstring& finalPath) {
        return found_.addOrigin(originAt(folderPath, finalPath));
    }

    // A folder's path is kept once, with its first collected file.
    void collectEntry(const std::wstring& folderPath, uint32_t& folder, std::wstring_view name, long long size,
                      uint32_t origin) {
        if (folder == noFolder) folder = found_.addFolder(folderPath);
        const uint16_t marks = (ListingEntryAttributes(listing) & onlineOnlyAttributes) ? foundOnlineOnly : 0;
        found_.add(folder, name, FileIdentity{ListingEntryFileIndex(listing), size, ListingEntryLastWrite(listing)},
                   origin, marks);
        if (request_.counts) request_.counts->found.store(static_cast<int>(found_.count()), std::memory_order_relaxed);
    }

    bool leftOut(const std::wstring& folderPath) const { return isInFolder(folderPath, request_.windowsFolderPrefix); }

    // Each folder is walked once however many links lead to it, so a link loop ends
    // and a linked sibling's files are not collected twice. A folder reached
    // without a link lies on the volume of the folder above it (a mount point is
    // a link too), so the volume is asked once per root and link, and the folder
    // itself only for its index.
    bool firstVisit(const std::wstring& folderPath, unsigned long volume) {
        // A batched listing holds the folder open already; the find calls do not.
        unsigned long long index = ListingFolderIndex(listing);
        if (!index) index = PathFileIndex(folderPath);
        return !index || walkedFolders_.insert(PathIdentity{volume, index, true}).second;
    }

    void walkDirectory(const std::wstring& folderPath, uint32_t origin) {
        const unsigned long volume = found_.origins()[origin].volume;
        if (leftOut(folderPath)) return;
        if (!ListingStart(listing, folderPath, L"*.*")) return;
        if (!firstVisit(folderPath, volume)) {
            ListingFinish(listing);
            return;
        }
        std::vector<std::wstring> subfolders;
        uint32_t folder = noFolder;
        while (ListingNext(listing)) {
            if (observer_.stopRequested()) {
                stopped_ = true;
                break;
            }
            // Only this thread writes it: a plain store, no locked increment.
            if (request_.counts) request_.counts->lookedAt.store(++lookedAt_, std::memory_order_relaxed);
            if (ListingEntryKind(listing) == listingFile) {
                const long long size = ListingEntrySize(listing);
                if (size <= request_.sizeThreshold) continue;
                const std::wstring_view name = ListingEntryNameView(listing);
                if (!request_.nameTest || nameMatches(name, request_.nameText)) collectEntry(folderPath, folder, name, size, origin);
            } else {
                const std::wstring_view name = ListingEntryNameView(listing);
                if (name == L"." || name == L"..") continue;
                std::wstring subfolder = PathAsFolder(folderPath + std::wstring(name));
                if (ListingEntryIsLink(listing)) {
                    linkedFolders_.push_back(std::move(subfolder));
                } else {
                    subfolders.push_back(std::move(subfolder));
                }
            }
        }
        ListingFinish(listing);
        for (const std::wstring& subfolder : subfolders) {
            if (stopped_) break;
            walkDirectory(subfolder, origin);
        }
    }

    // Links are followed after the folders themselves, so that a file is listed
    // under its own folder's path when a link also leads to it.
    void followLinkedFolders() {
        while (!linkedFolders_.empty() && !stopped_) {
            const std::wstring link = linkedFolders_.front();
            linkedFolders_.pop_front();
            // The Windows folder stays out however it is reached.
            const std::wstring target = PathFinal(link);
            if (!target.empty() && leftOut(PathAsFolder(target))) continue;
            walkDirectory(link, addOrigin(link, target));
        }
    }

    const WalkRequest& request_;
    WalkObserver& observer_;
    FoundFiles& found_;
    bool stopped_ = false;
    long long lookedAt_ = 0;
    std::set<PathIdentity> walkedFolders_;
    std::deque<std::wstring> linkedFolders_;
};

}  // namespace

bool walkInto(const WalkRequest& request, WalkObserver& observer, FoundFiles& found) {
    return Walker(request, observer, found).run();
}

bool walkDrive(const WalkRequest& request, WalkObserver& observer, FoundFiles& found) {
    found.clear();
    const bool ended = walkInto(request, observer, found);
    found.sortLargestFirst();
    return ended;
}
