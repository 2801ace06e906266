#pragma once
// The folder sizes and the file kinds of a search as CSV files, written as the
// saved list is (UTF-8 with its mark, a header line, Windows line ends).
#include "results/list_csv.h"
#include "results/search_results.h"

// Every folder the search counted, each before the folders inside it:
// Folder,On disk in bytes,Size in bytes,Files,Folders,Latest change
CsvText folderSizesCsv(const SearchResults& results);
// Every kind, largest on the disk first: Kind,On disk in bytes,Size in bytes,Files
CsvText fileKindsCsv(const SpaceTotals& totals);
