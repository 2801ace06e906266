#pragma once
// Found files as the texts the collection once held for each: the size
// right-aligned in 20 characters, the size text and the full path, one a line.
// Tests compare with these, so that what a row shows stays as it was.
#include "results/found_files.h"
#include "results/size_text.h"

#include <cwchar>
#include <string>
#include <vector>

inline std::wstring foundText(const FoundFiles& found, const FoundFile& file) {
    wchar_t size[24];
    std::swprintf(size, 24, L"%20lld", file.identity.size);
    return std::wstring(size) + L"\n" + sizeText(static_cast<double>(file.identity.size)) + L"\n" + found.pathOf(file);
}

inline std::vector<std::wstring> foundTexts(const FoundFiles& found) {
    std::vector<std::wstring> texts;
    for (size_t i = 0; i < found.count(); ++i) texts.push_back(foundText(found, found[i]));
    return texts;
}
