#include "purge/move_target.h"

#include "window/drive_info.h"
#include "toolkit/paths.h"
#include "toolkit/person.h"
#include "toolkit/system.h"
#include "toolkit/text.h"
#include "window/key_waits.h"
#include "window/main_window.h"

namespace {

// The search drive again under another letter (subst, a share of the same disk),
// told by the volume the target folder really lies on, where the system says.
bool onSearchVolume(const std::wstring& target, const std::wstring& drive) {
    if (TextLower(TextLeft(target, 2)) == TextLower(drive)) return true;
    const unsigned long folder = PathVolumeSerial(target), root = PathVolumeSerial(drive + L"\\");
    return folder != 0 && folder == root;
}

// The purge empties the temporary files after the moves: a target in them, or
// around them, would lose what was moved.
bool overlapsTempFiles(const std::wstring& target, const std::wstring& temp) {
    if (temp.empty()) return false;
    const std::wstring finalTarget = PathFinal(target), finalTemp = PathFinal(temp);
    auto overlap = [](const std::wstring& a, const std::wstring& b) { return PathContains(a, b) || PathContains(b, a); };
    return overlap(target, temp) || (!finalTarget.empty() && !finalTemp.empty() && overlap(finalTarget, finalTemp));
}

}  // namespace

void takeTypedMoveTarget(PurgeState& purge, MainWindow& window) {
    purge.moveTarget = TextTrim(window.typedMoveTarget());
    checkMoveTarget(purge, window);
}

void checkMoveTarget(PurgeState& purge, MainWindow& window) {
    std::wstring& target = purge.moveTarget;
    target = PathAsFolder(target);
    const bool unusable = onSearchVolume(target, window.listedDrive()) || PathSize(target) != sizeFolder;
    window.markMoveTarget(unusable);
}

void browseForMoveTarget(PurgeState& purge, MainWindow& window) {
    std::wstring chosen = ChooseFolder(L"Specify the target drive to move the ticked files to:", L"");
    if (chosen.empty()) return;
    if (chosen == L"\\") return window.tell(L"The chosen target is invalid for moving files.", messageInformation);
    if (onSearchVolume(chosen, window.listedDrive())) return window.tell(L"Moving files can't be to the search drive.", messageInformation);
    purge.moveTarget = chosen;
    window.showMoveTarget(chosen);
    checkMoveTarget(purge, window);
}

bool acceptMoveTarget(const PurgeState& purge, MainWindow& window, const std::wstring& searchDrive,
                      const std::wstring& emptiedTempFolder) {
    const std::wstring& target = purge.moveTarget;
    const bool refused = target.empty() || target == L"\\" || onSearchVolume(target, searchDrive) ||
                         PathSize(target) != sizeFolder ||
                         readDriveInfo(TextLeft(target, 1)).writable == Writable::no;
    if (!refused && overlapsTempFiles(target, emptiedTempFolder)) {
        window.tell(L"The target folder and your temporary-files folder lie one inside the other, and this purge empties "
             L"the temporary files.\nChoose another target, or untick the temporary-files option.",
             messageWarning);
        window.focus(MainControl::moveTargetField);
        return false;
    }
    if (!refused) return true;
    window.tell(L"The specified drive isn't valid, or files can't be moved there.", messageWarning);
    window.focus(MainControl::moveTargetField);
    return false;
}
