#include "search/walk.h"

#include "search/match_rules.h"
#include "toolkit/listing.h"
#include "toolkit/paths.h"
#include "toolkit/text_compare.h"
#include "window/size_text.h"

#include <algorithm>
#include <cwchar>
#include <deque>
#include <set>
#include <string_view>
#include <vector>

namespace {

constexpr size_t sizeFieldWidth = 20;

void storeEntryText(std::wstring& entry, const std::wstring& folderPath, std::wstring_view name, long long size) {
    wchar_t digits[24];
    int digitCount = swprintf(digits, 24, L"%lld", size);
    std::wstring sizeWords = sizeText(static_cast<double>(size));
    entry.clear();
    entry.reserve(sizeFieldWidth + 2 + sizeWords.size() + folderPath.size() + name.size());
    entry.append(sizeFieldWidth - static_cast<size_t>(digitCount), L' ');
    entry.append(digits, static_cast<size_t>(digitCount));
    entry += L'\n';
    entry += sizeWords;
    entry += L'\n';
    entry += folderPath;
    entry += name;
}

}  // namespace

void collectFile(std::vector<CollectedEntry>& collection, int& count, const std::wstring& folderPath,
                 std::wstring_view name, const FileIdentity& identity, unsigned origin) {
    const size_t slot = static_cast<size_t>(++count);
    if (collection.size() <= slot) collection.resize(slot + 1);
    CollectedEntry& entry = collection[slot];
    storeEntryText(entry.text, folderPath, name, identity.size);
    entry.identity = identity;
    entry.origin = origin;
}

void sortCollected(std::vector<CollectedEntry>& collection, int count) {
    std::sort(collection.begin() + 1, collection.begin() + 1 + count,
              [](const CollectedEntry& a, const CollectedEntry& b) { return TextCompareUnits(a.text, b.text) > 0; });
}

namespace {

class Walker {
public:
    Walker(const WalkRequest& request, WalkObserver& observer, std::vector<CollectedEntry>& collection, int& count,
           std::vector<FoundOrigin>& origins)
        : request_(request), observer_(observer), collection_(collection), count_(count), origins_(origins) {}

    bool run() {
        count_ = 0;
        if (request_.counts) {
            request_.counts->lookedAt = 0;
            request_.counts->found = 0;
        }
        origins_.clear();
        walkDirectory(request_.rootPath, addOrigin(request_.rootPath, PathFinal(request_.rootPath)));
        followLinkedFolders();
        sortCollected(collection_, count_);
        return !stopped_;
    }

private:
    // A folder's listing ends before its subfolders are walked, so one listing is
    // open at any time, however deep the tree.
    static constexpr int listing = 1;

    // The root and each followed link: where it really leads and its volume, so
    // that a purge can tell when either has changed since.
    unsigned addOrigin(const std::wstring& folderPath, const std::wstring& finalPath) {
        origins_.push_back(originAt(folderPath, finalPath));
        return static_cast<unsigned>(origins_.size() - 1);
    }

    void collectEntry(const std::wstring& folderPath, std::wstring_view name, long long size, unsigned origin) {
        collectFile(collection_, count_, folderPath, name,
                    FileIdentity{ListingEntryFileIndex(listing), size, ListingEntryLastWrite(listing)}, origin);
        if (request_.counts) request_.counts->found.store(count_, std::memory_order_relaxed);
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

    void walkDirectory(const std::wstring& folderPath, unsigned origin) {
        const unsigned long volume = origins_[origin].volume;
        if (leftOut(folderPath)) return;
        if (!ListingStart(listing, folderPath, L"*.*")) return;
        if (!firstVisit(folderPath, volume)) {
            ListingFinish(listing);
            return;
        }
        std::vector<std::wstring> subfolders;
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
                if (!request_.nameTest || nameMatches(name, request_.nameText)) collectEntry(folderPath, name, size, origin);
            } else {
                const std::wstring_view name = ListingEntryNameView(listing);
                if (name == L"." || name == L"..") continue;
                std::wstring subfolder = folderPath + std::wstring(name) + L"\\";
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
            if (!target.empty() && leftOut(target + L"\\")) continue;
            walkDirectory(link, addOrigin(link, target));
        }
    }

    const WalkRequest& request_;
    WalkObserver& observer_;
    std::vector<CollectedEntry>& collection_;
    int& count_;
    std::vector<FoundOrigin>& origins_;
    bool stopped_ = false;
    long long lookedAt_ = 0;
    std::set<PathIdentity> walkedFolders_;
    std::deque<std::wstring> linkedFolders_;
};

}  // namespace

bool walkDrive(const WalkRequest& request, WalkObserver& observer, std::vector<CollectedEntry>& collection,
               int& collectedCount, std::vector<FoundOrigin>& origins) {
    return Walker(request, observer, collection, collectedCount, origins).run();
}
