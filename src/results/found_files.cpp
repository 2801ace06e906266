#include "results/found_files.h"

#include "toolkit/paths.h"
#include "toolkit/text.h"

#include <algorithm>

FoundOrigin originAt(const std::wstring& listedPrefix, const std::wstring& finalPath) {
    FoundOrigin origin;
    origin.listedPrefix = listedPrefix;
    if (!finalPath.empty()) origin.finalPrefix = PathAsFolder(finalPath);
    origin.volume = PathVolumeSerial(listedPrefix);
    return origin;
}

std::wstring expectedFinalPath(const FoundOrigin& origin, const std::wstring& listedPath) {
    const size_t prefix = origin.listedPrefix.size();
    if (origin.finalPrefix.empty() || listedPath.size() < prefix ||
        TextLower(listedPath.substr(0, prefix)) != TextLower(origin.listedPrefix))
        return {};
    return origin.finalPrefix + listedPath.substr(prefix);
}

void FoundFiles::clear() {
    files_.clear();
    nameBlock_ = 0;
    nameUsed_ = 0;
    folders_.clear();
    wholeFolders_.clear();
    origins_.clear();
}

uint32_t FoundFiles::addOrigin(const FoundOrigin& origin) {
    origins_.push_back(origin);
    return static_cast<uint32_t>(origins_.size() - 1);
}

std::optional<uint32_t> FoundFiles::keepName(std::wstring_view name) {
    if (name.size() > longestName) return std::nullopt;
    if (nameBlock_ < nameBlocks_.size() && nameUsed_ + name.size() > nameBlockSize) {
        ++nameBlock_;
        nameUsed_ = 0;
    }
    if (nameBlock_ == nameBlocks_.size()) {
        // Past 2^32 characters a name has no place to be told by.
        if (nameBlocks_.size() == nameBlocksAtMost) return std::nullopt;
        nameBlocks_.push_back(std::make_unique<wchar_t[]>(nameBlockSize));
    }
    std::copy(name.begin(), name.end(), nameBlocks_[nameBlock_].get() + nameUsed_);
    const auto place = static_cast<uint32_t>((nameBlock_ << nameBlockShift) | nameUsed_);
    nameUsed_ += name.size();
    return place;
}

std::wstring_view FoundFiles::textAt(uint32_t place, size_t length) const {
    return {nameBlocks_[place >> nameBlockShift].get() + (place & (nameBlockSize - 1)), length};
}

uint32_t FoundFiles::addFolder(const std::wstring& path) {
    wholeFolders_.push_back(PathAsFolder(path));
    folders_.push_back(Folder{noFolder, static_cast<uint32_t>(wholeFolders_.size() - 1), 0});
    return static_cast<uint32_t>(folders_.size() - 1);
}

uint32_t FoundFiles::addFolder(uint32_t parent, std::wstring_view name) {
    if (parent >= folders_.size() || name.empty()) return noFolder;
    const std::optional<uint32_t> place = keepName(name);
    if (!place) return noFolder;
    folders_.push_back(Folder{parent, *place, static_cast<uint16_t>(name.size())});
    return static_cast<uint32_t>(folders_.size() - 1);
}

std::wstring_view FoundFiles::folderName(uint32_t folder) const {
    const Folder& entry = folders_[folder];
    return entry.parent == noFolder ? std::wstring_view(wholeFolders_[entry.name]) : textAt(entry.name, entry.nameLength);
}

std::wstring FoundFiles::folderPath(uint32_t folder) const {
    // Climbed in a loop, however deep: each folder's parent was added before it.
    std::vector<uint32_t> chain;
    size_t length = 0;
    for (uint32_t at = folder; at != noFolder; at = folders_[at].parent) {
        chain.push_back(at);
        length += folderName(at).size() + (folders_[at].parent == noFolder ? 0 : 1);
    }
    std::wstring path;
    path.reserve(length);
    for (size_t i = chain.size(); i-- > 0;) {
        path += folderName(chain[i]);
        if (folders_[chain[i]].parent != noFolder) path += L'\\';
    }
    return path;
}

bool FoundFiles::add(uint32_t folder, std::wstring_view name, const FileIdentity& identity, uint32_t origin,
                     uint16_t marks) {
    if (folder >= folders_.size() || origin >= origins_.size()) return false;
    const std::optional<uint32_t> place = keepName(name);
    if (!place) return false;
    FoundFile file;
    file.identity = identity;
    file.folder = folder;
    file.origin = origin;
    file.name = *place;
    file.nameLength = static_cast<uint16_t>(name.size());
    file.marks = marks;
    files_.push_back(file);
    return true;
}

std::wstring_view FoundFiles::nameOf(const FoundFile& file) const { return textAt(file.name, file.nameLength); }

std::wstring FoundFiles::pathOf(const FoundFile& file) const {
    std::wstring path = folderPath(file.folder);
    path += nameOf(file);
    return path;
}

namespace {

// Two steps of a path compared as the units of the whole paths compare: a
// folder's name is followed by "\", a file's name ends its path.
int compareSteps(std::wstring_view a, bool aIsFolder, std::wstring_view b, bool bIsFolder) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i)
        if (a[i] != b[i]) return static_cast<uint16_t>(a[i]) < static_cast<uint16_t>(b[i]) ? -1 : 1;
    auto unitAfter = [common](std::wstring_view text, bool isFolder) -> int {
        if (common < text.size()) return static_cast<uint16_t>(text[common]);
        return common == text.size() && isFolder ? L'\\' : -1;
    };
    const int x = unitAfter(a, aIsFolder), y = unitAfter(b, bIsFolder);
    return x == y ? 0 : (x < y ? -1 : 1);
}

}  // namespace

// Every folder numbered in the order its path sorts in (each folder before the
// folders inside it), with the last number inside it: one folder lies inside
// another when its number falls in the other's range.
struct FoundFiles::FolderOrder {
    std::vector<uint32_t> number, lastInside;
    std::vector<uint32_t> childrenStart, children;  // each folder's own, in path order

    explicit FolderOrder(const FoundFiles& found) {
        const std::vector<Folder>& folders = found.folders_;
        const auto count = static_cast<uint32_t>(folders.size());
        number.assign(count, 0);
        lastInside.assign(count, 0);
        childrenStart.assign(count + 3, 0);  // counted two places on, then filled one place on
        // The folders given whole sit under one made-up top, at index `count`.
        auto parentOf = [&](uint32_t folder) { return folders[folder].parent == noFolder ? count : folders[folder].parent; };
        for (uint32_t folder = 0; folder < count; ++folder) ++childrenStart[parentOf(folder) + 2];
        for (uint32_t i = 2; i < childrenStart.size(); ++i) childrenStart[i] += childrenStart[i - 1];
        children.resize(count);
        for (uint32_t folder = 0; folder < count; ++folder) children[childrenStart[parentOf(folder) + 1]++] = folder;
        for (uint32_t parent = 0; parent <= count; ++parent)
            std::sort(children.begin() + childrenStart[parent], children.begin() + childrenStart[parent + 1],
                      [&](uint32_t a, uint32_t b) {
                          return compareSteps(found.folderName(a), true, found.folderName(b), true) < 0;
                      });
        // Numbered depth first without recursion: a path may be thousands of folders deep.
        uint32_t next = 0;
        std::vector<std::pair<uint32_t, uint32_t>> open{{count, childrenStart[count]}};  // folder, next child
        while (!open.empty()) {
            auto& [folder, child] = open.back();
            if (child == childrenStart[folder + 1]) {
                if (folder != count) lastInside[folder] = next - 1;
                open.pop_back();
                continue;
            }
            const uint32_t inside = children[child++];
            number[inside] = next++;
            open.emplace_back(inside, childrenStart[inside]);
        }
    }

    // The folder inside `outer` (one step down) that holds `inner`.
    uint32_t stepToward(uint32_t outer, uint32_t inner) const {
        auto first = children.begin() + childrenStart[outer], last = children.begin() + childrenStart[outer + 1];
        auto after = std::upper_bound(first, last, number[inner], [&](uint32_t value, uint32_t child) { return value < number[child]; });
        return *(after - 1);
    }
    bool holds(uint32_t outer, uint32_t inner) const {
        return number[outer] < number[inner] && number[inner] <= lastInside[outer];
    }
};

// The two full paths compared as texts, in 16-bit units, without joining them.
int FoundFiles::comparePaths(const FoundFile& a, const FoundFile& b, const FolderOrder& order) const {
    // In one folder only the names differ (a wide character is 16-bit and unsigned).
    if (a.folder == b.folder) return nameOf(a).compare(nameOf(b));
    // A file beside the folder that holds the other: its name against that folder's.
    if (order.holds(a.folder, b.folder))
        return compareSteps(nameOf(a), false, folderName(order.stepToward(a.folder, b.folder)), true);
    if (order.holds(b.folder, a.folder))
        return -compareSteps(nameOf(b), false, folderName(order.stepToward(b.folder, a.folder)), true);
    return order.number[a.folder] < order.number[b.folder] ? -1 : 1;
}

void FoundFiles::sortLargestFirst() {
    const FolderOrder order(*this);
    std::sort(files_.begin(), files_.end(), [&](const FoundFile& a, const FoundFile& b) {
        if (a.identity.size != b.identity.size) return a.identity.size > b.identity.size;
        return comparePaths(a, b, order) > 0;
    });
}
