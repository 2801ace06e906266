#include "purge/purge_actions.h"

#include "purge/drive_list.h"
#include "purge/move_target.h"
#include "purge/purge_engine.h"
#include "purge/purge_state.h"
#include "purge/temp_purge.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/file_ops.h"
#include "toolkit/person.h"
#include "toolkit/text.h"
#include "window/action_buttons.h"
#include "window/busy_state.h"
#include "window/control_ids.h"
#include "window/info_pages.h"
#include "window/key_waits.h"
#include "window/main_window.h"
#include "window/program.h"
#include "window/size_text.h"
#include "window/window_state.h"

#include <vector>

PurgeState& purgeState() {
    static PurgeState state;
    return state;
}

namespace {

const wchar_t* const gainVerb = L"freed";

// The ticked rows, top to bottom, and their paths.
struct TickedRows {
    std::vector<int> rows;
    std::vector<std::wstring> paths;
};

TickedRows tickedRows() {
    TickedRows ticked;
    for (int row = 0, rows = ControlItemCount(idResultsList); row < rows; ++row) {
        if (!(ControlItemState(idResultsList, row) & 2)) continue;
        ticked.rows.push_back(row);
        ticked.paths.push_back(ControlItemText(idResultsList, row, 1));
    }
    return ticked;
}

std::wstring noteForSystemDrive(const std::vector<std::wstring>& paths) {
    const std::wstring systemDrive = TextUpper(TextLeft(program().windowsFolder, 1));
    for (const std::wstring& path : paths)
        if (!path.empty() && TextLeft(path, 1) == systemDrive)
            return L"Note: Altering your " + TextLeft(path, 2) + L" drive can wreck your PC.\n";
    return {};
}

bool confirmed(bool moving, const std::wstring& warningNote) {
    if (moving) {
        if (!acceptMoveTarget(windowState().searchDrive)) return false;
        return ShowMessage(warningNote + L"Start moving all the ticked files to another drive?", L"Confirm",
                           messageOkCancel | messageInformation | messageCancelIsDefault) == answerOk;
    }
    // Cancel must be the default: this deletes for good.
    return ShowMessage(warningNote +
                           L"Ready to permanently delete all the ticked files?\nThey are NOT put in the Recycle Bin "
                           L"for recovery!",
                       L"*** WARNING ***", messageOkCancel | messageWarning | messageCancelIsDefault) == answerOk;
}

// The window's side of a purge: Escape stops it, a file that went loses its row,
// the bar follows each copy and the status names the file that moves.
class PurgeInWindow final : public PurgeObserver {
public:
    explicit PurgeInWindow(const std::vector<int>& rows) : rows_(rows) {}

    bool stopRequested() override { return KeyTouched(keyEscape); }
    bool copyStopRequested() override { return KeyHeld(keyEscape); }
    void fileRemoved(size_t index) override {
        // Rows below a removed row move up by one.
        ControlRemoveItem(idResultsList, rows_[index] - removed_);
        ++removed_;
    }
    void status(const std::wstring& text) override { setMainStatus(text); }
    void progress(int percent) override {
        if (percent != shown_) ControlSetState(idProgressBar, shown_ = percent);
    }
    void waitBriefly() override { EventWait(1); }

private:
    const std::vector<int>& rows_;
    int removed_ = 0;
    int shown_ = -1;
};

std::wstring summaryText(bool moving, long long freed, const TempPurgeResult* temp) {
    std::wstring text = L"Files " + std::wstring(moving ? L"mov" : L"purg") + L"ed from " + windowState().searchDrive +
                        L" drive " + gainVerb + L" " + sizeText(static_cast<double>(freed)) + L" of space.";
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
    PurgeJob job;
    job.moving = id == idMoveButton;
    windowState().searchDrive = TextLeft(ControlText(idDriveList), 2);
    const TickedRows ticked = tickedRows();
    if (!confirmed(job.moving, noteForSystemDrive(ticked.paths))) return;

    job.deleteFlags = (ControlState(idReadOnlyOption) & 1) ? removeForce : 0;
    job.moveTarget = purgeState().moveTarget;
    job.paths = ticked.paths;
    setMainControlsDisabled(1);
    showBusyNotice(std::wstring(job.moving ? L"Mov" : L"Delet") + L"ing the ticked files (hold Esc to stop)");
    PurgeInWindow window(ticked.rows);
    const long long freed = purgeFiles(job, window);

    TempPurgeResult temp;
    const bool withTemp = windowState().purgeTempFiles;
    if (withTemp) temp = purgeTempFolder(program().tempFolder, program().windowsFolder);
    setMainControlsDisabled(0);
    hideBusyNotice();
    resetInfoPanel();
    rebuildDriveList();
    reselectDrive(windowState().searchDrive);
    updateActionButtons();
    // An Escape still held from stopping the purge would close the summary unseen.
    waitForKeysReleased();
    EventDiscardKeystrokes();
    ShowMessage(summaryText(job.moving, freed, withTemp ? &temp : nullptr), program().name,
                messageOk | messageInformation);
    waitForKeysReleased();
    ControlSetFocus(idResultsList);
}
