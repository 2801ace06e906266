#include "search/search_state.h"

#include "toolkit/paths.h"
#include "toolkit/text.h"

SearchState& searchState() {
    static SearchState state;
    return state;
}

void setWindowsFolder(const std::wstring& windowsFolder) {
    const std::wstring prefix = PathAsFolder(windowsFolder);
    searchState().windowsFolderPrefix = TextLower(prefix);
    searchState().windowsFolderPrefixLength = TextLength(prefix);
}
