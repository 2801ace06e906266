#include "purge/move_target.h"

#include "app/control_ids.h"
#include "app/event_loop.h"
#include "app/program.h"
#include "purge/drive_info.h"
#include "purge/purge_state.h"
#include "search/results_list.h"
#include "toolkit/controls.h"
#include "toolkit/paths.h"
#include "toolkit/person.h"
#include "toolkit/system.h"
#include "toolkit/text.h"

namespace {

std::wstring driveOfList() { return TextLower(TextLeft(ControlText(idDriveList), 2)); }

void informUser(const std::wstring& text) {
    ShowMessage(text, program().name, MB_OK | MB_ICONINFORMATION);
    waitForKeysReleased();
}

}  // namespace

void checkMoveTarget() {
    std::wstring& target = purgeState().moveTarget;
    if (target.empty() || target.back() != L'\\') target += L'\\';
    const bool unusable = TextLower(TextLeft(target, 2)) == driveOfList() || PathSize(target) != sizeFolder;
    ControlSetColor(idMoveTargetField, 1, unusable ? warningRed : -1);
}

void browseForMoveTarget() {
    std::wstring chosen = ChooseFolder(L"Specify the target drive to move the ticked files to:", L"");
    if (chosen.empty()) return;
    if (chosen == L"\\") return informUser(L"The chosen target is invalid for moving files.");
    if (TextLower(TextLeft(chosen, 1)) == TextLeft(driveOfList(), 1))
        return informUser(L"Moving files can't be to the search drive.");
    purgeState().moveTarget = chosen;
    ControlSetText(idMoveTargetField, chosen);
    checkMoveTarget();
}

bool acceptMoveTarget(const std::wstring& searchDrive) {
    const std::wstring& target = purgeState().moveTarget;
    readDriveInfo(TextLeft(target, 1));
    const bool refused = target.empty() || target == L"\\" || TextUpper(TextLeft(target, 2)) == searchDrive ||
                         PathSize(target) != sizeFolder || driveInfo().writable == Writable::no;
    if (!refused) return true;
    ShowMessage(L"The specified drive isn't valid, or files can't be moved there.", program().name,
                MB_OK | MB_ICONEXCLAMATION);
    waitForKeysReleased();
    ControlSetFocus(idMoveTargetField);
    return false;
}

std::wstring freeNameIn(const std::wstring& folder, const std::wstring& fileName) {
    std::wstring candidate = folder + fileName;
    const std::wstring extension = PathExtensionPart(fileName);
    const std::wstring stem = extension.empty() ? fileName : TextLeft(fileName, TextLength(fileName) - TextLength(extension) - 1);
    for (int copy = 2; PathSize(candidate) != sizeMissing; ++copy)
        candidate = folder + stem + L" (" + TextFromInteger(copy) + L")" + (extension.empty() ? L"" : L"." + extension);
    return candidate;
}
