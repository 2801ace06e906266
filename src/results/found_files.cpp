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
    origins_.clear();
}

uint32_t FoundFiles::addOrigin(const FoundOrigin& origin) {
    origins_.push_back(origin);
    return static_cast<uint32_t>(origins_.size() - 1);
}

uint32_t FoundFiles::addFolder(const std::wstring& path) {
    folders_.push_back(PathAsFolder(path));
    return static_cast<uint32_t>(folders_.size() - 1);
}

bool FoundFiles::add(uint32_t folder, std::wstring_view name, const FileIdentity& identity, uint32_t origin,
                     uint16_t marks) {
    if (name.size() > longestName || folder >= folders_.size() || origin >= origins_.size()) return false;
    if (nameBlock_ < nameBlocks_.size() && nameUsed_ + name.size() > nameBlockSize) {
        ++nameBlock_;
        nameUsed_ = 0;
    }
    if (nameBlock_ == nameBlocks_.size()) {
        // Past 2^32 characters a name has no place to be told by.
        if (nameBlocks_.size() == nameBlocksAtMost) return false;
        nameBlocks_.push_back(std::make_unique<wchar_t[]>(nameBlockSize));
    }
    std::copy(name.begin(), name.end(), nameBlocks_[nameBlock_].get() + nameUsed_);
    FoundFile file;
    file.identity = identity;
    file.folder = folder;
    file.origin = origin;
    file.name = static_cast<uint32_t>((nameBlock_ << nameBlockShift) | nameUsed_);
    file.nameLength = static_cast<uint16_t>(name.size());
    file.marks = marks;
    nameUsed_ += name.size();
    files_.push_back(file);
    return true;
}

std::wstring_view FoundFiles::nameOf(const FoundFile& file) const {
    return {nameBlocks_[file.name >> nameBlockShift].get() + (file.name & (nameBlockSize - 1)), file.nameLength};
}

std::wstring FoundFiles::pathOf(const FoundFile& file) const {
    const std::wstring& folder = folderOf(file);
    const std::wstring_view name = nameOf(file);
    std::wstring path;
    path.reserve(folder.size() + name.size());
    path += folder;
    path += name;
    return path;
}

// The two full paths compared as one text each, folder then name, without joining them.
int FoundFiles::comparePaths(const FoundFile& a, const FoundFile& b) const {
    if (a.folder != b.folder) {
        const std::wstring& folderA = folderOf(a);
        const std::wstring& folderB = folderOf(b);
        const std::wstring_view nameA = nameOf(a), nameB = nameOf(b);
        const size_t lengthA = folderA.size() + nameA.size(), lengthB = folderB.size() + nameB.size();
        auto unitA = [&](size_t i) { return i < folderA.size() ? folderA[i] : nameA[i - folderA.size()]; };
        auto unitB = [&](size_t i) { return i < folderB.size() ? folderB[i] : nameB[i - folderB.size()]; };
        for (size_t i = 0; i < lengthA && i < lengthB; ++i) {
            const auto x = static_cast<uint16_t>(unitA(i)), y = static_cast<uint16_t>(unitB(i));
            if (x != y) return x < y ? -1 : 1;
        }
        return lengthA == lengthB ? 0 : (lengthA < lengthB ? -1 : 1);
    }
    // In one folder only the names differ (a wide character is 16-bit and unsigned).
    return nameOf(a).compare(nameOf(b));
}

void FoundFiles::sortLargestFirst() {
    std::sort(files_.begin(), files_.end(), [this](const FoundFile& a, const FoundFile& b) {
        if (a.identity.size != b.identity.size) return a.identity.size > b.identity.size;
        return comparePaths(a, b) > 0;
    });
}
