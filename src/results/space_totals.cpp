#include "results/space_totals.h"

#include <bit>

namespace {

// What follows the last dot; nothing for a name without one or ending in one.
std::wstring_view extensionOf(std::wstring_view name) {
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring_view::npos ? std::wstring_view() : name.substr(dot + 1);
}

void lowerKind(std::wstring& kind) {
    for (wchar_t& c : kind) c = kindUnit(c);
}

}  // namespace

std::wstring kindOfName(std::wstring_view name) {
    std::wstring kind(extensionOf(name));
    lowerKind(kind);
    return kind;
}

void SpaceTotals::clear() {
    figures_.clear();
    direct_.clear();
    kinds_.clear();
    kindNumbers_.clear();
    lastKind_.clear();
    lastKindNumber_ = ~uint32_t{0};
    named_.clear();
    run_ = Run{};
    onlineOnlyFiles_ = 0;
    onlineOnlyBytes_ = 0;
    root_ = FoundFiles::noFolder;
    gathered_ = partial_ = false;
}

void SpaceTotals::ensure(uint32_t folder) {
    if (folder < direct_.size()) return;
    const size_t size = static_cast<size_t>(folder) + 1;
    figures_.resize(size);
    direct_.resize(size);
}

void SpaceTotals::countFolder(uint32_t folder) {
    if (folder == FoundFiles::noFolder) return;
    ensure(folder);
    direct_[folder].marks |= counted;
}

void SpaceTotals::markLink(uint32_t folder) {
    countFolder(folder);
    if (folder != FoundFiles::noFolder) direct_[folder].marks |= link;
}

void SpaceTotals::markUnopened(uint32_t folder) {
    countFolder(folder);
    if (folder != FoundFiles::noFolder) direct_[folder].marks |= unopened;
}

// Most files of a folder share a few kinds: the kind asked last is answered
// without a lookup, and mostly without looking for the name's last dot.
uint32_t SpaceTotals::kindOf(std::wstring_view name) {
    if (lastKindNumber_ != ~uint32_t{0} && endsInKind(name, lastKind_)) return lastKindNumber_;
    return lookUpKind(name);
}

uint32_t SpaceTotals::lookUpKind(std::wstring_view name) {
    const std::wstring_view extension = extensionOf(name);
    if (lastKindNumber_ != ~uint32_t{0} && sameKind(extension, lastKind_)) return lastKindNumber_;
    kindKey_.assign(extension);
    lowerKind(kindKey_);
    auto [at, added] = kindNumbers_.try_emplace(kindKey_, static_cast<uint32_t>(kinds_.size()));
    if (added) {
        KindFigures kind;
        kind.kind = kindKey_;
        kinds_.push_back(std::move(kind));
    }
    lastKind_ = kindKey_;
    lastKindNumber_ = at->second;
    return at->second;
}

FolderFigures SpaceTotals::filesDirectlyIn(uint32_t folder) const {
    FolderFigures figures;
    if (folder >= direct_.size()) return figures;
    const DirectFigures& direct = direct_[folder];
    figures.onDisk = direct.onDisk;
    figures.size = direct.size;
    figures.latestChange = direct.latestChange;
    figures.files = direct.files;
    return figures;
}

namespace {

// The fewest bits whose power of two holds `bytes`: at most 63.
uint8_t bitsToHold(long long bytes) {
    return static_cast<uint8_t>(bytes > 1 ? std::bit_width(static_cast<unsigned long long>(bytes - 1)) : 0);
}

}  // namespace

void SpaceTotals::addRun(const Run& run) {
    DirectFigures& direct = direct_[run.folder];
    direct.onDisk += run.onDisk;
    direct.size += run.size;
    direct.files += run.files;
    direct.latestChange = std::max(direct.latestChange, run.latestChange);
    direct.largestBits = std::max(direct.largestBits, bitsToHold(run.largest));
    KindFigures& figures = kinds_[run.kind];
    figures.onDisk += run.onDisk;
    figures.size += run.size;
    figures.files += run.files;
}

void SpaceTotals::count(uint32_t folder, uint32_t kind, long long size, long long onDisk, long long lastWrite,
                        bool onlineOnly) {
    addRun(Run{folder, kind, onDisk, size, lastWrite, onDisk, 1});
    if (onlineOnly) {
        ++onlineOnlyFiles_;
        onlineOnlyBytes_ += size;
    }
}

void SpaceTotals::endRun() {
    if (run_.files != 0) addRun(run_);
    run_ = Run{};
}

void SpaceTotals::addFileAfresh(uint32_t folder, std::wstring_view name, long long size, long long allocation,
                                long long lastWrite, unsigned long long index, bool onlineOnly) {
    if (folder == FoundFiles::noFolder) return;
    const uint32_t kind = kindOf(name);
    if (index == 0 && !onlineOnly) {
        if (folder != run_.folder || kind != run_.kind) {
            endRun();
            countFolder(folder);
            run_.folder = folder;
            run_.kind = kind;
        }
        return addToRun(size, allocation, lastWrite);
    }
    countFolder(folder);
    if (size < 0) size = 0;
    const long long onDisk = onlineOnly ? 0 : std::max(0LL, spaceOnDisk(size, allocation));
    if (index != 0) {
        named_.push_back(Named{index, size, onDisk, lastWrite, folder, kind, onlineOnly});
        return;
    }
    count(folder, kind, size, onDisk, lastWrite, onlineOnly);
}

void SpaceTotals::finish(const FoundFiles& found, uint32_t root, bool partial) {
    endRun();
    root_ = root;
    partial_ = partial;
    countFolder(root);
    // A file with several names counts under the one whose folder's path sorts
    // first (in one folder, its kind decides): the walk and the scan agree, and
    // no folder's total can exceed the drive's.
    std::sort(named_.begin(), named_.end(), [](const Named& a, const Named& b) { return a.index < b.index; });
    for (size_t first = 0; first < named_.size();) {
        size_t end = first + 1;
        while (end < named_.size() && named_[end].index == named_[first].index) ++end;
        size_t chosen = first;
        if (end - first > 1) {
            std::wstring chosenPath = found.folderPath(named_[first].folder);
            for (size_t other = first + 1; other < end; ++other) {
                const std::wstring path = found.folderPath(named_[other].folder);
                const int order = path.compare(chosenPath);
                if (order < 0 || (order == 0 && kinds_[named_[other].kind].kind < kinds_[named_[chosen].kind].kind)) {
                    chosen = other;
                    chosenPath = path;
                }
            }
        }
        const Named& file = named_[chosen];
        count(file.folder, file.kind, file.size, file.onDisk, file.lastWrite, file.onlineOnly);
        first = end;
    }
    named_ = NamedFiles();
    // Grown a folder at a time while the search looked: what it holds from now on
    // is kept without the room it grew into.
    figures_.shrink_to_fit();
    direct_.shrink_to_fit();
    // A folder's parent was added before it: summed from the last up, each
    // folder is whole before it is added to the one above.
    for (size_t folder = direct_.size(); folder-- > 0;) {
        if (!(direct_[folder].marks & counted)) continue;
        FolderFigures& figures = figures_[folder];
        const DirectFigures& direct = direct_[folder];
        figures.onDisk += direct.onDisk;
        figures.size += direct.size;
        figures.files += direct.files;
        figures.latestChange = std::max(figures.latestChange, direct.latestChange);
        const uint32_t parent = found.parentOf(static_cast<uint32_t>(folder));
        if (folder == root_ || parent == FoundFiles::noFolder || !isCounted(parent)) continue;
        FolderFigures& above = figures_[parent];
        above.onDisk += figures.onDisk;
        above.size += figures.size;
        above.files += figures.files;
        above.folders += figures.folders + 1;
        above.latestChange = std::max(above.latestChange, figures.latestChange);
    }
    gathered_ = true;
}

std::vector<uint32_t> SpaceTotals::subfolders(uint32_t folder, const FoundFiles& found) const {
    std::vector<uint32_t> inside;
    for (size_t at = static_cast<size_t>(folder) + 1; at < direct_.size(); ++at)
        if ((direct_[at].marks & counted) && found.parentOf(static_cast<uint32_t>(at)) == folder)
            inside.push_back(static_cast<uint32_t>(at));
    std::sort(inside.begin(), inside.end(), [&](uint32_t a, uint32_t b) {
        if (figures_[a].onDisk != figures_[b].onDisk) return figures_[a].onDisk > figures_[b].onDisk;
        return found.folderName(a) < found.folderName(b);
    });
    return inside;
}

std::vector<uint32_t> SpaceTotals::countedFolders() const {
    std::vector<uint32_t> folders;
    for (size_t at = 0; at < direct_.size(); ++at)
        if (direct_[at].marks & counted) folders.push_back(static_cast<uint32_t>(at));
    return folders;
}

std::vector<KindFigures> SpaceTotals::kinds() const {
    std::vector<KindFigures> sorted;
    for (const KindFigures& kind : kinds_)
        if (kind.files > 0) sorted.push_back(kind);
    std::sort(sorted.begin(), sorted.end(), [](const KindFigures& a, const KindFigures& b) {
        if (a.onDisk != b.onDisk) return a.onDisk > b.onDisk;
        return a.kind < b.kind;
    });
    return sorted;
}

const KindFigures* SpaceTotals::kind(const std::wstring& kind) const {
    const auto found = kindNumbers_.find(kind);
    return found == kindNumbers_.end() ? nullptr : &kinds_[found->second];
}

void SpaceTotals::removeFile(const FoundFiles& found, const FoundFile& file, long long spaceHeld) {
    if (!gathered_ || file.origin != 0 || !isCounted(file.folder)) return;
    // Folders under a link were not walked for the totals: a file there is not counted.
    for (uint32_t at = found.parentOf(file.folder); at != FoundFiles::noFolder && at != root_; at = found.parentOf(at))
        if (isLink(at)) return;
    const long long size = std::max(0LL, file.identity.size);
    const long long onDisk = std::max(0LL, spaceHeld);
    auto lessen = [](long long& value, long long by) { value = std::max(0LL, value - by); };
    DirectFigures& direct = direct_[file.folder];
    if (direct.files == 0) return;
    lessen(direct.onDisk, onDisk);
    lessen(direct.size, size);
    --direct.files;
    for (uint32_t at = file.folder; at != FoundFiles::noFolder && isCounted(at); at = found.parentOf(at)) {
        FolderFigures& figures = figures_[at];
        lessen(figures.onDisk, onDisk);
        lessen(figures.size, size);
        if (figures.files > 0) --figures.files;
        if (at == root_) break;
    }
    const auto kind = kindNumbers_.find(kindOfName(found.nameOf(file)));
    if (kind == kindNumbers_.end()) return;
    KindFigures& figures = kinds_[kind->second];
    lessen(figures.onDisk, onDisk);
    lessen(figures.size, size);
    if (figures.files > 0) --figures.files;
}
