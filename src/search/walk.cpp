#include "search/walk.h"

#include "search/match_rules.h"
#include "search/search_state.h"
#include "search/size_text.h"
#include "toolkit/listing.h"
#include "toolkit/person.h"
#include "toolkit/sort_texts.h"

#include <windows.h>

#include <cwchar>

namespace {

constexpr size_t sizeFieldWidth = 20;

// The collected entry: size right-aligned in 20 characters, size text, full path,
// joined by line feeds. The fixed-width size field makes a descending text sort
// put the largest file first.
void storeEntry(std::wstring& entry, const std::wstring& folderPath, const std::wstring& name, long long size) {
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

void collectEntry(const std::wstring& folderPath, const std::wstring& name, long long size) {
    SearchState& state = searchState();
    size_t slot = static_cast<size_t>(++state.collectedCount);
    // Slot 0 is never used; slots past collectedCount keep old texts whose
    // buffers are reused here.
    if (state.collection.size() <= slot) state.collection.resize(slot + 1);
    storeEntry(state.collection[slot], folderPath, name, size);
}

// Each folder is walked once however many links lead to it, so a link loop ends
// and a linked sibling's files are not collected twice.
bool firstVisit(const std::wstring& folderPath, int listing) {
    // A batched listing holds the folder open already; the find calls do not.
    PathIdentity folder = ListingFolderIdentity(listing);
    if (!folder.known) folder = PathIdentityOf(folderPath);
    return !folder.known || searchState().walkedFolders.insert(folder).second;
}

void followLinkedFolders() {
    SearchState& state = searchState();
    while (!state.linkedFolders.empty() && !state.walkStopped) {
        const std::wstring link = state.linkedFolders.front();
        state.linkedFolders.pop_front();
        // The Windows folder stays out however it is reached.
        const std::wstring target = PathFinal(link);
        if (!state.searchWindowsFolder && !target.empty() && isInWindowsFolder(target + L"\\")) continue;
        walkDirectory(link, 0);
    }
}

}  // namespace

void walkDirectory(const std::wstring& folderPath, int level) {
    SearchState& state = searchState();
    if (!state.searchWindowsFolder && isInWindowsFolder(folderPath)) return;
    const int listing = level + 1;
    if (!ListingStart(listing, folderPath, L"*.*")) return;
    if (!firstVisit(folderPath, listing)) {
        ListingFinish(listing);
        return;
    }
    while (ListingNext(listing)) {
        if (KeyHeld(VK_ESCAPE)) {
            state.walkStopped = true;
            break;
        }
        if (ListingEntryKind(listing) == listingFile) {
            const long long size = ListingEntrySize(listing);
            if (size <= state.sizeThreshold) continue;
            const std::wstring name = ListingEntryName(listing);
            if (!state.nameTest || nameMatches(name, state.nameText)) collectEntry(folderPath, name, size);
        } else {
            std::wstring name = ListingEntryName(listing);
            if (name == L"." || name == L"..") continue;
            if (ListingEntryIsLink(listing)) {
                state.linkedFolders.push_back(folderPath + name + L"\\");
            } else {
                walkDirectory(folderPath + name + L"\\", level + 1);
            }
        }
    }
    ListingFinish(listing);
}

void collectFiles(const std::wstring& rootPath) {
    SearchState& state = searchState();
    state.collectedCount = 0;
    state.walkStopped = false;
    state.walkedFolders.clear();
    state.linkedFolders.clear();
    walkDirectory(rootPath, 0);
    followLinkedFolders();
    SortTexts(state.collection, 1, 1, state.collectedCount);
}
