#include "window/drive_list.h"

#include "window/drive_info.h"
#include "toolkit/controls.h"
#include "toolkit/text.h"
#include "window/control_ids.h"

std::wstring listedDrive() { return TextLeft(ControlText(idDriveList), 2); }

void rebuildDriveList(const std::function<void()>& betweenDrives) {
    ControlClearItems(idDriveList);
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        const DriveInfo info = readDriveInfo(std::wstring(1, letter));
        if (info.labelRead) ControlAddItem(idDriveList, -1, driveItemText(letter, info));
        if (betweenDrives) betweenDrives();
    }
}

void reselectDrive(const std::wstring& drive) {
    for (int item = 0; item < ControlItemCount(idDriveList); ++item)
        if (TextLeft(ControlItemText(idDriveList, item), 2) == drive) {
            ControlSetState(idDriveList, item);
            return;
        }
}
