#include "purge/purge_command.h"

#include "purge/move_target.h"
#include "purge/purge_engine.h"
#include "purge/purge_state.h"
#include "purge/temp_purge.h"
#include "results/size_text.h"
#include "results/space_page.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/file_ops.h"
#include "toolkit/paths.h"
#include "toolkit/person.h"
#include "toolkit/system.h"
#include "toolkit/text.h"
#include "window/busy_state.h"
#include "window/work_aside.h"
#include "window/key_waits.h"
#include "window/main_window.h"

#include <vector>

namespace {

const wchar_t* const gainVerb = L"freed";

// The ticked rows, top to bottom, and their files as the search found them.
struct TickedRows {
    std::vector<int> rows;
    std::vector<int> keys;  // of the found files
    std::vector<PurgeFile> files;
};

TickedRows tickedRows(const PurgeRequest& request, const SearchResults& results) {
    // Whether each origin's drive still holds the volume the search walked:
    // asked once per origin, as a volume query can be slow.
    const std::vector<FoundOrigin>& origins = results.found.origins();
    std::vector<int> volumeKept(origins.size(), -1);
    auto sameVolume = [&](uint32_t origin) {
        int& kept = volumeKept[origin];
        if (kept < 0) {
            const unsigned long now = PathVolumeSerial(origins[origin].listedPrefix);
            kept = origins[origin].volume == 0 || now == origins[origin].volume ? 1 : 0;
        }
        return kept == 1;
    };
    TickedRows ticked;
    for (const TickedRow& row : request.ticked) {
        PurgeFile file;
        if (const FoundFile* found = results.fileOfRow(row.key)) {
            file.path = results.found.pathOf(*found);
            file.identity = found->identity;
            file.finalPath = expectedFinalPath(results.found.originOf(*found), file.path);
            file.sameVolume = sameVolume(found->origin);
            file.onlineOnly = (found->marks & foundOnlineOnly) != 0;
        } else {
            file.sameVolume = false;  // a row no search found is never acted on
        }
        ticked.rows.push_back(row.row);
        ticked.keys.push_back(row.key);
        ticked.files.push_back(std::move(file));
    }
    return ticked;
}

std::wstring noteForSystemDrive(const std::vector<PurgeFile>& files, const std::wstring& windowsFolder) {
    const std::wstring systemDrive = TextUpper(TextLeft(windowsFolder, 1));
    for (const PurgeFile& file : files)
        if (!file.path.empty() && TextLeft(file.path, 1) == systemDrive)
            return L"Note: Altering your " + TextLeft(file.path, 2) + L" drive can wreck your PC.\n";
    return {};
}

// Deleting a cloud file's placeholder frees nothing here and takes the file out
// of the person's cloud storage as well: said before it happens.
std::wstring noteForOnlineOnly(const std::vector<PurgeFile>& files) {
    int count = 0;
    for (const PurgeFile& file : files) count += file.onlineOnly ? 1 : 0;
    if (count == 0) return {};
    const bool one = count == 1;
    return TextFromInteger(count) + L" of the ticked files " + (one ? L"is" : L"are") + L" online-only: deleting " +
           (one ? L"it" : L"them") + L" frees no space on this PC and removes " + (one ? L"it" : L"them") +
           L" from your cloud storage too.\n";
}

bool confirmed(const PurgeRequest& request, const PurgeState& purge, MainWindow& window, const std::wstring& drive,
               const std::vector<PurgeFile>& files, const std::wstring& warningNote) {
    if (request.moving) {
        if (!acceptMoveTarget(purge, window, drive, request.purgeTempFiles ? request.tempFolder : L"")) return false;
        return ShowMessage(warningNote + L"Start moving all the ticked files to another drive?", L"Confirm",
                           messageOkCancel | messageInformation | messageCancelIsDefault) == answerOk;
    }
    // Cancel must be the default: this deletes for good.
    return ShowMessage(warningNote + noteForOnlineOnly(files) +
                           L"Ready to permanently delete all the ticked files?\nThey are NOT put in the Recycle Bin "
                           L"for recovery!",
                       L"*** WARNING ***", messageOkCancel | messageWarning | messageCancelIsDefault) == answerOk;
}

// The window's side of a purge: Escape stops it, a file that went loses its row
// and what it took from the folders above it, the bar follows each copy and the
// status names the file that moves.
class PurgeInWindow final : public PurgeObserver {
public:
    PurgeInWindow(MainWindow& window, const TickedRows& ticked, SearchResults& results)
        : window_(window), rows_(ticked.rows), keys_(ticked.keys), results_(results) {}

    // Asked before each file: the window takes what has come in meanwhile and
    // shows how far the purge is.
    bool stopRequested() override {
        EventTendWhileBusy();
        window_.showBusyProgress(countText(static_cast<long long>(++started_)) + L" of " + countText(static_cast<long long>(rows_.size())));
        return KeyTouched(keyEscape);
    }
    bool copyStopRequested() override { return KeyHeld(keyEscape); }
    void fileRemoved(size_t index, long long spaceFreed) override {
        // Rows below a removed row move up by one.
        window_.removeRow(rows_[index] - removed_);
        ++removed_;
        // Other names keep the data where it was counted.
        const FoundFile* file = results_.fileOfRow(keys_[index]);
        if (file && spaceFreed >= 0) results_.totals.removeFile(results_.found, *file, spaceFreed);
    }
    void fileLeft(size_t index) override {
        window_.markRowLeft(rows_[index] - removed_);
    }
    void status(const std::wstring& text) override { window_.setStatus(text); }
    void progress(int percent) override {
        if (percent != shown_) window_.showProgress(shown_ = percent);
    }
    void runAside(const std::function<void()>& work, const std::function<void()>& step) override {
        WorkAside(work).wait(step, 1);
    }

private:
    MainWindow& window_;
    const std::vector<int>& rows_;
    const std::vector<int>& keys_;
    SearchResults& results_;
    int removed_ = 0;
    size_t started_ = 0;
    int shown_ = -1;
};

// "1 file was" or "3 files were".
std::wstring filesWere(int count) {
    return TextFromInteger(count) + (count == 1 ? L" file was" : L" files were");
}

std::wstring summaryText(bool moving, const std::wstring& drive, const PurgeOutcome& outcome,
                         const TempPurgeResult* temp) {
    std::wstring text = L"Files " + std::wstring(moving ? L"mov" : L"purg") + L"ed from " + drive +
                        L" drive " + gainVerb + L" " + sizeText(static_cast<double>(outcome.freed)) + L" of space.";
    if (temp) {
        if (temp->done) {
            text += L"\nTemporary files purged " + std::wstring(gainVerb) + L" " + sizeText(temp->gain) + L" of space.";
        } else {
            text += L"\nTemporary files were left alone: " + temp->folder + L" " + temp->reason + L".";
        }
    }
    if (outcome.onlineOnly && !moving)
        text += L"\n" + TextFromInteger(outcome.onlineOnly) + L" online-only " +
                (outcome.onlineOnly == 1 ? L"file" : L"files") + L" freed no space on this PC.";
    if (outcome.changed)
        text += L"\n" + filesWere(outcome.changed) + L" left because " + (outcome.changed == 1 ? L"it" : L"they") +
                L" changed since the search.";
    if (outcome.links)
        text += L"\n" + filesWere(outcome.links) + L" left because " + (outcome.links == 1 ? L"it is a link" : L"they are links") +
                L" that this system cannot remove without what " + (outcome.links == 1 ? L"it leads" : L"they lead") + L" to.";
    if (outcome.failed)
        text += L"\n" + filesWere(outcome.failed) + L" left because Windows refused (in use, read-only or protected).";
    return text;
}

// The temporary files are emptied on a thread of their own: a folder of many
// files takes long, and the window lives on meanwhile.
TempPurgeResult purgeTempFolderWhileBusy(const PurgeRequest& request) {
    TempPurgeResult result;
    WorkAside([&result, &request] {
        result = purgeTempFolder(request.tempFolder, request.windowsFolder, request.programFolder);
    }).wait();
    return result;
}

}  // namespace

void purgeTickedFiles(const PurgeRequest& request, SearchResults& results, const PurgeState& purge,
                      MainWindow& window) {
    // The drive the results came from, not whatever the drive list shows now.
    const std::wstring drive = results.drive.empty() ? request.listedDrive : results.drive;
    TickedRows ticked = tickedRows(request, results);
    // The system remembers that Escape was pressed since it was last asked: a press
    // that closed a menu or a list long before must not stop this purge at its start.
    KeyTouched(keyEscape);
    if (!confirmed(request, purge, window, drive, ticked.files, noteForSystemDrive(ticked.files, request.windowsFolder))) return;

    PurgeJob job;
    job.moving = request.moving;
    job.deleteFlags = request.readOnlyToo ? removeForce : 0;
    job.moveTarget = purge.moveTarget;
    job.files = std::move(ticked.files);
    BusyScope busy(window, std::wstring(job.moving ? L"Mov" : L"Delet") + L"ing the ticked files (hold Esc to stop)");
    PurgeInWindow inWindow(window, ticked, results);
    const PurgeOutcome outcome = purgeFiles(job, inWindow);
    window.redrawFolderSizes(spaceSummary(results));

    TempPurgeResult temp;
    if (request.purgeTempFiles) temp = purgeTempFolderWhileBusy(request);
    busy.end();
    window.resetInfoPanel();
    // Until the summary the window is still at work: it answers, and takes no input.
    window.rebuildDriveList(EventTendWhileBusy);
    window.reselectDrive(drive);
    window.updateActionButtons();
    // An Escape still held from stopping the purge would close the summary unseen.
    waitForKeysReleased();
    EventDiscardKeystrokes();
    window.tell(summaryText(job.moving, drive, outcome, request.purgeTempFiles ? &temp : nullptr), messageInformation);
    window.focus(MainControl::resultsList);
}
