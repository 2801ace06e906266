#include "search/match_rules.h"

#include "toolkit/paths.h"
#include "toolkit/text.h"

#include <iterator>

bool nameMatches(std::wstring_view original, const std::wstring& searchText) {
    if (searchText.empty()) return false;
    // Every name on the drive is tested: a name of plain letters is lowered here,
    // on the stack, and only a longer one or one with other letters asks the
    // system, whose mapping gives the same for A to Z.
    wchar_t lowered[256];
    if (original.size() <= std::size(lowered)) {
        bool plain = true;
        for (size_t i = 0; i < original.size() && plain; ++i) {
            const wchar_t c = original[i];
            plain = c < 0x80;
            lowered[i] = c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
        }
        if (plain) return std::wstring_view(lowered, original.size()).find(searchText) != std::wstring_view::npos;
    }
    return TextLower(std::wstring(original)).find(searchText) != std::wstring::npos;
}

bool isInFolder(const std::wstring& folderPath, const std::wstring& lowerPrefix) {
    // An empty prefix would hold everything: without a known folder nothing is in it.
    if (lowerPrefix.empty() || folderPath.size() < lowerPrefix.size()) return false;
    return TextLower(folderPath.substr(0, lowerPrefix.size())) == lowerPrefix;
}

std::wstring folderPrefixOf(const std::wstring& folder) { return folder.empty() ? folder : TextLower(PathAsFolder(folder)); }
