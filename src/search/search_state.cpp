#include "search/search_state.h"

#include "toolkit/text.h"

SearchState& searchState() {
    static SearchState state;
    return state;
}

void setWindowsFolder(const std::wstring& windowsFolder) {
    std::wstring prefix = windowsFolder;
    if (prefix.empty() || prefix.back() != L'\\') prefix += L'\\';
    searchState().windowsFolderPrefix = TextLower(prefix);
    searchState().windowsFolderPrefixLength = TextLength(prefix);
}
