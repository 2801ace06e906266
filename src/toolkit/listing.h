#pragma once
// Directory listings, each addressed by a number the caller chooses.
#include "toolkit/paths.h"

#include <string>
#include <string_view>

enum ListingKind { listingNone = 0, listingFile = 1, listingDirectory = 2 };

// Nonzero when the folder could be listed, also when nothing in it matches the pattern.
int ListingStart(int number, const std::wstring& folder, const std::wstring& pattern);
// Nonzero while an entry is available; the first call hands out the first entry.
int ListingNext(int number);
std::wstring ListingEntryName(int number);
// The same name without a copy, valid until the listing moves on or finishes.
std::wstring_view ListingEntryNameView(int number);
int ListingEntryKind(int number);
long long ListingEntrySize(int number);
// The entry's index on its volume where the listing gives it (batched reads); 0 otherwise.
unsigned long long ListingEntryFileIndex(int number);
// The time of the entry's last write, in 100-ns ticks since 1601.
long long ListingEntryLastWrite(int number);
// True when the entry is a junction, a symbolic link or another reparse point.
bool ListingEntryIsLink(int number);
// The entry's attributes as the system gives them (FILE_ATTRIBUTE_...).
unsigned long ListingEntryAttributes(int number);
// The index on its volume of the folder being listed, where the listing holds it
// open (batched reads); 0 otherwise.
unsigned long long ListingFolderIndex(int number);
void ListingFinish(int number);
void ListingFinishAll();
// Batched reads are used where the system offers them; false keeps to the find
// calls (for tests of that path).
void ListingUseBatches(bool use);
