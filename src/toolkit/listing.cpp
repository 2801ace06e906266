#include "toolkit/listing.h"

#include "toolkit/handles.h"
#include "toolkit/paths.h"

#include <memory>
#include <vector>

namespace {

struct Listing {
    FindHandle find;
    bool firstHandedOut = false;
    WIN32_FIND_DATAW entry{};
};

std::vector<std::unique_ptr<Listing>> listings(16);

Listing* findListing(int number) {
    if (number < 0 || static_cast<size_t>(number) >= listings.size()) return nullptr;
    return listings[static_cast<size_t>(number)].get();
}

HANDLE findFirst(const std::wstring& query, WIN32_FIND_DATAW& entry) {
    // The basic-information, large-fetch form is much faster on big folders;
    // systems before Windows 7 reject it, and then the plain call is used.
    HANDLE h = FindFirstFileExW(query.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                FIND_FIRST_EX_LARGE_FETCH);
    if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
        h = FindFirstFileW(query.c_str(), &entry);
    return h;
}

}  // namespace

int ListingStart(int number, const std::wstring& folder, const std::wstring& pattern) {
    if (number < 0) return 0;
    ListingFinish(number);

    // Listed by its exact name: "dir." would otherwise list "dir".
    std::wstring query = PathExactForm(folder);
    if (query.empty() || query.back() != L'\\') query += L'\\';
    query += PathExactPattern(pattern);

    auto listing = std::make_unique<Listing>();
    listing->find.reset(findFirst(query, listing->entry));
    if (!listing->find.valid()) {
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES) return 0;
        listing->firstHandedOut = true;  // nothing matched: the listing is empty
    }
    if (static_cast<size_t>(number) >= listings.size()) listings.resize(static_cast<size_t>(number) + 16);
    listings[static_cast<size_t>(number)] = std::move(listing);
    return 1;
}

int ListingNext(int number) {
    Listing* listing = findListing(number);
    if (!listing || !listing->find.valid()) return 0;
    if (!listing->firstHandedOut) {
        listing->firstHandedOut = true;
        return 1;
    }
    return FindNextFileW(listing->find.get(), &listing->entry) ? 1 : 0;
}

std::wstring ListingEntryName(int number) {
    Listing* listing = findListing(number);
    return listing ? std::wstring(listing->entry.cFileName) : std::wstring();
}

int ListingEntryKind(int number) {
    Listing* listing = findListing(number);
    if (!listing) return listingNone;
    return (listing->entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? listingDirectory : listingFile;
}

long long ListingEntrySize(int number) {
    Listing* listing = findListing(number);
    if (!listing) return 0;
    return static_cast<long long>((static_cast<unsigned long long>(listing->entry.nFileSizeHigh) << 32) |
                                  listing->entry.nFileSizeLow);
}

bool ListingEntryIsLink(int number) {
    Listing* listing = findListing(number);
    return listing && (listing->entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void ListingFinish(int number) {
    if (findListing(number)) listings[static_cast<size_t>(number)].reset();
}

void ListingFinishAll() {
    for (auto& listing : listings) listing.reset();
}
