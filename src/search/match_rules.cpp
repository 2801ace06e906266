#include "search/match_rules.h"

#include "search/search_state.h"
#include "toolkit/paths.h"
#include "toolkit/text.h"

bool nameMatches(std::wstring_view original, const std::wstring& searchText) {
    if (searchText.empty()) return false;
    // The walk tests every name on the drive: the lowered copy reuses its room,
    // letters A to Z are lowered here, and only a name with other letters asks
    // the system, whose mapping gives the same for these.
    thread_local std::wstring name;
    name.assign(original);
    bool plain = true;
    for (wchar_t& c : name) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + (L'a' - L'A'));
        else if (c >= 0x80) plain = false;
    }
    if (!plain) name = TextLower(name);
    return name.find(searchText) != std::wstring::npos;
}

bool isInFolder(const std::wstring& folderPath, const std::wstring& lowerPrefix) {
    // An empty prefix would hold everything: without a known folder nothing is in it.
    if (lowerPrefix.empty() || folderPath.size() < lowerPrefix.size()) return false;
    return TextLower(folderPath.substr(0, lowerPrefix.size())) == lowerPrefix;
}

bool isInWindowsFolder(const std::wstring& folderPath) {
    return isInFolder(folderPath, searchState().windowsFolderPrefix);
}
