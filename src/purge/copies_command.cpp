#include "purge/copies_command.h"

#include "purge/identical_files.h"
#include "results/size_text.h"
#include "toolkit/person.h"
#include "toolkit/text.h"
#include "window/busy_state.h"
#include "window/key_waits.h"
#include "window/main_window.h"
#include "window/work_aside.h"

#include <algorithm>
#include <vector>

namespace {

class EscapeStopsTheComparison final : public CompareObserver {
public:
    bool stopRequested() override { return KeyHeld(keyEscape); }
};

// "1 file" or "3 files".
std::wstring counted(size_t count, const wchar_t* one, const wchar_t* many) {
    return TextFromInteger(static_cast<long long>(count)) + L" " + (count == 1 ? one : many);
}

std::wstring leftOutText(const CopiesFound& found) {
    std::vector<std::wstring> parts;
    if (found.changed) parts.push_back(TextFromInteger(found.changed) + L" changed since the search");
    if (found.unreadable) parts.push_back(TextFromInteger(found.unreadable) + L" could not be read");
    if (found.onlineOnly)
        parts.push_back(TextFromInteger(found.onlineOnly) + L" online-only, not read (that would download " +
                        (found.onlineOnly == 1 ? L"it" : L"them") + L")");
    if (parts.empty()) return {};
    std::wstring text = L" Left out: ";
    for (size_t i = 0; i < parts.size(); ++i) text += (i ? L"; " : L"") + parts[i];
    return text + L".";
}

std::wstring summaryText(const CopiesFound& found) {
    if (found.groups.empty()) return L"No two listed files are identical." + leftOutText(found);
    size_t extras = 0;
    for (const CopyGroup& group : found.groups) extras += group.extra.size();
    return L"Ticked " + counted(extras, L"extra copy", L"extra copies") + L" of " +
           counted(found.groups.size(), L"file", L"files") + (extras == 1 ? L": deleting it" : L": deleting them") +
           L" would free " +
           sizeText(static_cast<double>(found.spaceOfExtras)) + L" on the disk. One copy of each was left unticked." +
           leftOutText(found);
}

int percentOf(long long done, long long total) {
    return total > 0 ? static_cast<int>(std::min<long long>(100, done * 100 / total)) : 0;
}

}  // namespace

void tickExtraCopies(const SearchResults& results, MainWindow& window) {
    CompareRequest request;
    std::vector<int> rowOf;
    const int rows = window.rowCount();
    for (int row = 0; row < rows; ++row) {
        const FoundFile* file = results.fileOfRow(window.rowKey(row));
        if (!file) continue;
        CopyCandidate candidate;
        candidate.path = results.found.pathOf(*file);
        candidate.identity = file->identity;
        candidate.volume = results.found.originOf(*file).volume;
        candidate.onlineOnly = (file->marks & foundOnlineOnly) != 0;
        request.files.push_back(std::move(candidate));
        rowOf.push_back(row);
    }
    CompareCounts counts;
    request.counts = &counts;
    // A press that closed the menu must not stop the comparison at its start.
    KeyTouched(keyEscape);
    CopiesFound found;
    {
        EscapeStopsTheComparison escape;
        WorkAside comparing([&request, &escape, &found] { found = findIdenticalFiles(request, escape); });
        BusyScope busy(window, L"Comparing the listed files (hold Esc to stop)");
        comparing.wait([&counts, &window] {
            const long long total = counts.bytesToCompare.load(), done = counts.bytesCompared.load();
            window.showProgress(percentOf(done, total));
            window.showBusyProgress(sizeText(static_cast<double>(done)) + L" of " + sizeText(static_cast<double>(total)) +
                             L" compared");
        });
        window.showProgress(0);
    }
    if (found.stopped) {
        // Still held: it would reach the list as well.
        waitForKeysReleased();
        window.setStatus(L"Comparing stopped: every tick is as it was.");
    } else {
        for (const CopyGroup& group : found.groups) {
            window.setTicked(rowOf[group.kept], false);
            for (size_t extra : group.extra) window.setTicked(rowOf[extra], true);
        }
        window.updateActionButtons();
        window.setStatus(summaryText(found));
    }
    window.focus(MainControl::resultsList);
}
