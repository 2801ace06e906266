#include "window/found_files.h"

#include "toolkit/text.h"

FoundFiles& foundFiles() {
    static FoundFiles files;
    return files;
}

std::wstring expectedFinalPath(const FoundOrigin& origin, const std::wstring& listedPath) {
    const size_t prefix = origin.listedPrefix.size();
    if (origin.finalPrefix.empty() || listedPath.size() < prefix ||
        TextLower(listedPath.substr(0, prefix)) != TextLower(origin.listedPrefix))
        return {};
    return origin.finalPrefix + listedPath.substr(prefix);
}
