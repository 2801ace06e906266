#include "purge/purge_actions.h"

#include "app/control_ids.h"
#include "app/event_loop.h"
#include "app/main_window.h"
#include "app/program.h"
#include "fileinfo/info_panel.h"
#include "purge/copy_worker.h"
#include "purge/drive_info.h"
#include "purge/move_target.h"
#include "purge/purge_state.h"
#include "purge/temp_purge.h"
#include "search/busy_state.h"
#include "search/search_driver.h"
#include "search/size_text.h"
#include "toolkit/controls.h"
#include "toolkit/file_ops.h"
#include "toolkit/paths.h"
#include "toolkit/person.h"
#include "toolkit/text.h"

PurgeState& purgeState() {
    static PurgeState state;
    return state;
}

namespace {

constexpr int copyAttempts = 3;
const wchar_t* const gainVerb = L"freed";

enum class EntryOutcome { removed, kept, stopWalk };

struct PurgeRun {
    bool moving = false;
    int deleteFlags = 0;
    long long freedTotal = 0;
    std::wstring warningNote;
};

std::wstring noteForSystemDrive(int entryCount) {
    const std::wstring systemDrive = TextUpper(TextLeft(program().windowsFolder, 1));
    for (int row = 0; row < entryCount; ++row) {
        if (!(ControlItemState(idResultsList, row) & 2)) continue;
        std::wstring path = ControlItemText(idResultsList, row, 1);
        if (!path.empty() && TextLeft(path, 1) == systemDrive)
            return L"Note: Altering your " + TextLeft(path, 2) + L" drive can wreck your PC.\n";
    }
    return {};
}

bool confirmed(const PurgeRun& run) {
    if (run.moving) {
        if (!acceptMoveTarget(searchDrive())) return false;
        return ShowMessage(run.warningNote + L"Start moving all the ticked files to another drive?", L"Confirm",
                           MB_OKCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON2) == IDOK;
    }
    // Cancel must be the default: this deletes for good.
    return ShowMessage(run.warningNote +
                           L"Ready to permanently delete all the ticked files?\nThey are NOT put in the Recycle Bin "
                           L"for recovery!",
                       L"*** WARNING ***", MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDOK;
}

EntryOutcome deleteEntry(PurgeRun& run, const std::wstring& path) {
    const long long size = PathSize(path);
    // FileRemove counts only a file that is really gone.
    if (!FileRemove(path, run.deleteFlags)) return EntryOutcome::kept;
    run.freedTotal += size;
    return EntryOutcome::removed;
}

// One copy into the target under a free name. The result: the copy's path when it
// holds the whole file, else empty (nothing this copy made is left behind).
std::wstring copyIntoTarget(const std::wstring& source, bool& cancelled) {
    const std::wstring name = PathNamePart(source);
    const long long size = PathSize(source);
    if (size < 0) return {};
    for (int attempt = 0; attempt < copyAttempts; ++attempt) {
        // The name is claimed with a new empty file first, so that the copy only
        // ever writes over its own file, and only its own file is removed again.
        const std::wstring destination = freeNameIn(purgeState().moveTarget, name);
        const PathIdentity claimed = FileCreateEmpty(destination);
        if (!claimed.known) continue;
        startCopy(source, destination);
        waitForCopy();
        const CopyState& state = copyState();
        // Compared with the size before the copy: a source that another program
        // removed meanwhile leaves this copy as the only one, and it stays.
        if (state.copySucceeded && PathSize(destination) == size) return destination;
        if (PathIdentityOf(destination) == claimed) FileRemove(destination, removeForce);
        if (state.copyCancelled) {
            cancelled = true;
            return {};
        }
    }
    return {};
}

EntryOutcome moveEntry(PurgeRun& run, const std::wstring& source) {
    setMainStatus(L"Moving: " + PathNamePart(source));
    bool cancelled = false;
    const std::wstring copy = copyIntoTarget(source, cancelled);
    if (cancelled) return EntryOutcome::stopWalk;
    if (copy.empty()) return EntryOutcome::kept;
    const long long size = PathSize(copy);
    switch (FileDelete(source, removeForce)) {
        case RemoveResult::done:
            run.freedTotal += size;
            return EntryOutcome::removed;
        case RemoveResult::unconfirmed:
            // The system accepted the delete: whatever becomes of the source, the
            // copy may be the only one left.
            return EntryOutcome::kept;
        case RemoveResult::refused:
            break;
    }
    // Gone from under us: the copy is all there is, so it stays, and the space was
    // not freed by this move.
    if (PathSize(source) == sizeMissing) return EntryOutcome::removed;
    FileRemove(copy, removeForce);  // the source stays, so the copy is taken back
    return EntryOutcome::kept;
}

void walkTickedEntries(PurgeRun& run, int entryCount) {
    for (int index = 0, visited = 0; visited < entryCount; ++visited) {
        if (personCalls().keyState(VK_ESCAPE) != 0) return;
        if (!(ControlItemState(idResultsList, index) & 2)) {
            ++index;
            continue;
        }
        const std::wstring path = ControlItemText(idResultsList, index, 1);
        EntryOutcome outcome = run.moving ? moveEntry(run, path) : deleteEntry(run, path);
        if (outcome == EntryOutcome::stopWalk) return;
        if (outcome == EntryOutcome::removed) {
            ControlRemoveItem(idResultsList, index);  // its successor moves up to this index
        } else {
            ++index;
        }
    }
}

void reselectDrive(const std::wstring& drive) {
    for (int item = 0; item < ControlItemCount(idDriveList); ++item)
        if (TextLeft(ControlItemText(idDriveList, item), 2) == drive) {
            ControlSetState(idDriveList, item);
            return;
        }
}

std::wstring summaryText(const PurgeRun& run, const TempPurgeResult* temp) {
    std::wstring text = L"Files " + std::wstring(run.moving ? L"mov" : L"purg") + L"ed from " + searchDrive() +
                        L" drive " + gainVerb + L" " + sizeText(static_cast<double>(run.freedTotal)) + L" of space.";
    if (temp) {
        if (temp->done) {
            text += L"\nTemporary files purged " + std::wstring(gainVerb) + L" " + sizeText(temp->gain) + L" of space.";
        } else {
            text += L"\nTemporary files were left alone: " + program().tempFolder +
                    L" would take a whole drive or your own files with it.";
        }
    }
    return text;
}

}  // namespace

void purgeTickedFiles(int id) {
    PurgeRun run;
    run.moving = id == idMoveButton;
    searchDrive() = TextLeft(ControlText(idDriveList), 2);
    const int entryCount = ControlItemCount(idResultsList);
    run.warningNote = noteForSystemDrive(entryCount);
    if (!confirmed(run)) return;

    run.deleteFlags = (ControlState(idReadOnlyOption) & 1) ? removeForce : 0;
    setMainControlsDisabled(1);
    showBusyNotice(std::wstring(run.moving ? L"Mov" : L"Delet") + L"ing the ticked files (hold Esc to stop)");
    walkTickedEntries(run, entryCount);

    TempPurgeResult temp;
    const bool withTemp = purgeState().purgeTempFiles;
    if (withTemp) temp = purgeTempFolder();
    setMainControlsDisabled(0);
    hideBusyNotice();
    resetInfoPanel();
    rebuildDriveList();
    reselectDrive(searchDrive());
    updateActionButtons();
    // An Escape still held from stopping the purge would close the summary unseen.
    waitForKeysReleased();
    discardKeystrokes();
    ShowMessage(summaryText(run, withTemp ? &temp : nullptr), program().name, MB_OK | MB_ICONINFORMATION);
    waitForKeysReleased();
    ControlSetFocus(idResultsList);
}
