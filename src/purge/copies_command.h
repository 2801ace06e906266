#pragma once
// "Tick extra copies": the listed files compared, and in each group of identical
// files every copy but the one made first ticked, that one unticked. Nothing is
// written to any file.
#include "results/search_results.h"

class MainWindow;

void tickExtraCopies(const SearchResults& results, MainWindow& window);
