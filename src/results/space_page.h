#pragma once
// The "Folder sizes" page made from a search's totals: the line above its lists,
// the rows of the tree of folders and of the list of kinds. The rows' texts are
// made when a row is drawn, from the figures as they are then (a delete changes them).
#include "results/search_results.h"
#include "toolkit/controls.h"

#include <cstdint>
#include <optional>
#include <string>

// A tree row's key is a folder's number; the row for the files that lie
// directly in a folder is its number with this bit.
constexpr int filesRowBit = 0x40000000;

// The whole tree under the drive's row; the kinds' keys index results.kindOrder.
// `coloured`: the kinds the map colours are written in their colours, its legend
// (not in high contrast, where the map has none).
TreeSource folderSizeRows(const SearchResults& results);
RowSource fileKindRows(const SearchResults& results, bool coloured);
// What the search saw against what the drive says it holds, and what was left out.
std::wstring spaceSummary(const SearchResults& results);
// The folder a tree row shows (for a files row, the folder they lie in).
std::optional<uint32_t> folderOfTreeKey(const SearchResults& results, int key);
// A folder's full path as the page and its saved file name it: "D:\Games\Saves"
// (the root "D:\").
std::wstring shownFolderPath(const SearchResults& results, uint32_t folder);
