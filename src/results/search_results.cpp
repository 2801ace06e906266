#include "results/search_results.h"

const FoundFile* SearchResults::fileOfRow(int key) const {
    if (key < 0 || static_cast<size_t>(key) >= rows.size()) return nullptr;
    const size_t file = rows[static_cast<size_t>(key)];
    return file < found.count() ? &found[file] : nullptr;
}

std::wstring SearchResults::pathOfRow(int key) const {
    const FoundFile* file = fileOfRow(key);
    return file ? found.pathOf(*file) : std::wstring();
}
