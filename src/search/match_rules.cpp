#include "search/match_rules.h"

#include "search/search_state.h"
#include "toolkit/paths.h"
#include "toolkit/text.h"

#include <windows.h>

namespace {

struct Criterion {
    const wchar_t* text;
    long long threshold;
};

constexpr long long megabyte = 1048576;

constexpr Criterion sizeCriteria[] = {
    {L"For files 100 MB or larger", 100 * megabyte},
    {L"For files 256 MB or larger (quarter GB)", 256 * megabyte},
    {L"For files 512 MB or larger (half GB)", 512 * megabyte},
    {L"For files 650 MB or larger (CD images)", 650 * megabyte},
    {L"For files 1 GB or larger", 1024 * megabyte},
    {L"For files 4 GB or larger (DVD images)", 4096 * megabyte},
};

}  // namespace

long long thresholdForCriterion(const std::wstring& criterionText) {
    for (const Criterion& criterion : sizeCriteria)
        if (criterionText == criterion.text) return criterion.threshold;
    return -1;
}

bool nameMatches(std::wstring name, const std::wstring& searchText) {
    if (searchText.empty()) return false;
    // Letters A to Z are lowered here; only a name with other letters asks the
    // system, whose mapping gives the same for these (the walk tests every name).
    bool plain = true;
    for (wchar_t& c : name) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + (L'a' - L'A'));
        else if (c >= 0x80) plain = false;
    }
    if (!plain) CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
    return name.find(searchText) != std::wstring::npos;
}

bool entryMatchesName(const std::wstring& entryText, const std::wstring& searchText) {
    return nameMatches(PathNamePart(entryText), searchText);
}

bool isInWindowsFolder(const std::wstring& folderPath) {
    const SearchState& state = searchState();
    // Without a known Windows folder nothing is excluded; an empty prefix would exclude everything.
    if (state.windowsFolderPrefixLength <= 0 || folderPath.size() < static_cast<size_t>(state.windowsFolderPrefixLength))
        return false;
    std::wstring head = folderPath.substr(0, static_cast<size_t>(state.windowsFolderPrefixLength));
    CharLowerBuffW(head.data(), static_cast<DWORD>(head.size()));
    return head == state.windowsFolderPrefix;
}
