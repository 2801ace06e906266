#include "results/space_page.h"

#include "results/size_text.h"
#include "results/space_map.h"
#include "toolkit/drives.h"
#include "toolkit/local_date.h"
#include "toolkit/text.h"

#include <algorithm>

namespace {

enum FolderColumn { nameColumn, onDiskColumn, shareColumn, filesColumn, latestColumn };

// Thousandths of the whole, for the bar; none where the whole is nothing.
int shareOf(long long part, long long whole) {
    if (whole <= 0 || part <= 0) return 0;
    return static_cast<int>(std::min<long long>(1000, static_cast<long long>(static_cast<double>(part) * 1000.0 / static_cast<double>(whole))));
}

std::wstring shareText(long long part, long long whole) {
    if (whole <= 0) return L"";
    const double percent = static_cast<double>(std::max(0LL, part)) * 100.0 / static_cast<double>(whole);
    const long long tenths = static_cast<long long>(percent * 10.0 + 0.5);
    return TextFromInteger(tenths / 10) + L"." + TextFromInteger(tenths % 10) + L" %";
}

std::wstring filesText(uint32_t files) { return countText(files) + (files == 1 ? L" file" : L" files"); }

// The minutes are enough in a row; the saved file has the seconds.
std::wstring latestText(long long latest) { return LocalTimeText(latest).substr(0, 16); }

std::optional<long long> driveUsed(const SearchResults& results) {
    if (results.drive.empty()) return std::nullopt;
    const DriveReading reading = DriveRead(results.drive[0]);
    if (!reading.present || reading.totalBytes < 0 || reading.freeBytes < 0) return std::nullopt;
    return reading.totalBytes - reading.freeBytes;
}

}  // namespace

std::wstring shownFolderPath(const SearchResults& results, uint32_t folder) {
    std::wstring path = results.found.folderPath(folder);
    if (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

std::optional<uint32_t> folderOfTreeKey(const SearchResults& results, int key) {
    if (key < 0) return std::nullopt;
    const auto folder = static_cast<uint32_t>(key & ~filesRowBit);
    if (!results.totals.isCounted(folder)) return std::nullopt;
    return folder;
}

TreeSource folderSizeRows(const SearchResults& results) {
    const SearchResults* shown = &results;
    TreeSource rows;
    // The figures of a row: a folder's, or of the files that lie directly in one.
    auto figuresOf = [shown](int key) {
        const auto folder = static_cast<uint32_t>(key & ~filesRowBit);
        return (key & filesRowBit) ? shown->totals.filesDirectlyIn(folder) : shown->totals.figures(folder);
    };
    // A row's share is of the folder above it; the drive's, of what the drive says is used.
    auto wholeOf = [shown](int key) -> long long {
        const auto folder = static_cast<uint32_t>(key & ~filesRowBit);
        const SpaceTotals& totals = shown->totals;
        if (key & filesRowBit) return totals.figures(folder).onDisk;
        if (folder == totals.root()) return driveUsed(*shown).value_or(totals.figures(folder).onDisk);
        return totals.figures(shown->found.parentOf(folder)).onDisk;
    };
    rows.text = [shown, figuresOf, wholeOf](int key, int column) -> std::wstring {
        if (!folderOfTreeKey(*shown, key)) return {};
        const auto folder = static_cast<uint32_t>(key & ~filesRowBit);
        const FolderFigures figures = figuresOf(key);
        const SpaceTotals& totals = shown->totals;
        switch (column) {
            case nameColumn: {
                if (key & filesRowBit) return L"Files in this folder";
                if (folder == totals.root()) return shownFolderPath(*shown, folder);
                std::wstring name(shown->found.folderName(folder));
                if (totals.isLink(folder)) name += L"  (link: not counted here)";
                if (totals.isUnopened(folder)) name += L"  (could not be opened)";
                return name;
            }
            case onDiskColumn: return sizeText(static_cast<double>(figures.onDisk));
            case shareColumn: return shareText(figures.onDisk, wholeOf(key));
            case filesColumn: return countText(figures.files);
            case latestColumn: return latestText(figures.latestChange);
            default: return {};
        }
    };
    rows.share = [shown, figuresOf, wholeOf](int key) {
        if (!folderOfTreeKey(*shown, key)) return -1;
        return shareOf(figuresOf(key).onDisk, wholeOf(key));
    };
    rows.shareColumn = shareColumn;
    rows.opens = [shown](int key) {
        if ((key & filesRowBit) || !folderOfTreeKey(*shown, key)) return false;
        const auto folder = static_cast<uint32_t>(key);
        const SpaceTotals& totals = shown->totals;
        return !totals.isLink(folder) && (totals.figures(folder).folders > 0 || totals.figures(folder).files > 0);
    };
    rows.children = [shown](int key) {
        std::vector<int> keys;
        const auto folder = static_cast<uint32_t>(key & ~filesRowBit);
        if ((key & filesRowBit) || !folderOfTreeKey(*shown, key)) return keys;
        const SpaceTotals& totals = shown->totals;
        const FolderFigures direct = totals.filesDirectlyIn(folder);
        std::vector<uint32_t> inside = totals.subfolders(folder, shown->found);
        // The files directly in it take their place among its folders by size.
        bool filesPlaced = direct.files == 0;
        for (uint32_t sub : inside) {
            if (!filesPlaced && totals.figures(sub).onDisk < direct.onDisk) {
                keys.push_back(static_cast<int>(folder) | filesRowBit);
                filesPlaced = true;
            }
            keys.push_back(static_cast<int>(sub));
        }
        if (!filesPlaced) keys.push_back(static_cast<int>(folder) | filesRowBit);
        return keys;
    };
    return rows;
}

RowSource fileKindRows(const SearchResults& results, bool coloured) {
    const SearchResults* shown = &results;
    RowSource rows;
    auto kindOf = [shown](int key) -> const KindFigures* {
        if (key < 0 || static_cast<size_t>(key) >= shown->kindOrder.size()) return nullptr;
        return shown->totals.kind(shown->kindOrder[static_cast<size_t>(key)]);
    };
    auto wholeOnDisk = [shown] { return shown->totals.isGathered() ? shown->totals.figures(shown->totals.root()).onDisk : 0; };
    rows.text = [kindOf, wholeOnDisk](int key, int column) -> std::wstring {
        const KindFigures* kind = kindOf(key);
        if (!kind) return {};
        switch (column) {
            case 0: {
                const std::wstring name = kind->kind.empty() ? L"(no extension)" : L"." + kind->kind;
                // The first kinds are the map's legend: each named with its colour.
                return key < mapColouredKinds ? name + L"  (" + mapKindColourName(key + 1) + L")" : name;
            }
            case 1: return sizeText(static_cast<double>(kind->onDisk));
            case 2: return shareText(kind->onDisk, wholeOnDisk());
            case 3: return countText(kind->files);
            default: return {};
        }
    };
    rows.share = [kindOf, wholeOnDisk](int key) {
        const KindFigures* kind = kindOf(key);
        return kind ? shareOf(kind->onDisk, wholeOnDisk()) : -1;
    };
    rows.shareColumn = 2;
    if (coloured) {
        rows.color = [](int key) {
            if (key < 0 || key >= mapColouredKinds) return -1;
            const uint32_t rgb = mapKindColour(key + 1);  // as the system takes a colour: blue in the high byte
            return static_cast<int>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
        };
        rows.colorColumn = 0;
    }
    return rows;
}

std::wstring spaceSummary(const SearchResults& results) {
    const SpaceTotals& totals = results.totals;
    if (!totals.isGathered()) return L"Search a drive to see where its space went.";
    const FolderFigures& all = totals.figures(totals.root());
    std::wstring text = results.drive + L" " + sizeText(static_cast<double>(all.onDisk)) + L" on the disk in " +
                        filesText(all.files) + L" and " + countText(all.folders) + L" folders";
    if (const std::optional<long long> used = driveUsed(results)) {
        text += L"; the drive says " + sizeText(static_cast<double>(*used)) + L" used, ";
        const long long unseen = *used - all.onDisk;
        text += unseen >= 0 ? sizeText(static_cast<double>(unseen)) +
                                  L" not seen (system files, folders that could not be opened, the volume's own structures)"
                            : sizeText(static_cast<double>(-unseen)) + L" more seen than the drive says is used";
    }
    text += L".";
    if (!results.windowsFolderSearched) text += L" The Windows folder is left out.";
    if (totals.onlineOnlyFiles() > 0)
        text += L" " + countText(totals.onlineOnlyFiles()) + L" online-only " +
                (totals.onlineOnlyFiles() == 1 ? L"file" : L"files") + L" (" +
                sizeText(static_cast<double>(totals.onlineOnlyBytes())) + L") count nothing on the disk.";
    if (totals.isPartial()) text += L" Partial: the search was stopped before its end.";
    return text;
}
