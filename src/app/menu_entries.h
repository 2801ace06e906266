#pragma once
// A context menu's entries and the one way they are offered: below the rows only
// what needs no row, every entry with an access key, the chosen one carried out.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct MenuEntry {
    const wchar_t* text;  // nullptr for a separator
    std::function<void()> act;
    bool needsRow;
};

// `choose` shows the texts (an empty one a separator) and gives the index chosen.
inline void offerMenu(bool onRow, const std::vector<MenuEntry>& entries,
                      const std::function<std::optional<size_t>(const std::vector<std::wstring>&)>& choose) {
    std::vector<const MenuEntry*> offered;
    std::vector<std::wstring> texts;
    for (const MenuEntry& entry : entries) {
        if (entry.needsRow && !onRow) continue;
        offered.push_back(&entry);
        texts.push_back(entry.text ? entry.text : L"");
    }
    const std::optional<size_t> chosen = choose(texts);
    if (chosen && offered[*chosen]->act) offered[*chosen]->act();
}
