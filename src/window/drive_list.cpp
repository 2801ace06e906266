#include "window/main_window.h"

#include "window/drive_info.h"
#include "toolkit/controls.h"
#include "toolkit/text.h"
#include "window/control_ids.h"

std::wstring MainWindow::listedDrive() const { return TextLeft(ControlText(idDriveList), 2); }

void MainWindow::rebuildDriveList(const std::function<void()>& betweenDrives) {
    ControlClearItems(idDriveList);
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        const DriveInfo info = readDriveInfo(std::wstring(1, letter));
        if (info.label) ControlAddItem(idDriveList, -1, driveItemText(letter, info));
        if (betweenDrives) betweenDrives();
    }
}

void MainWindow::reselectDrive(const std::wstring& drive) {
    for (int item = 0; item < ControlItemCount(idDriveList); ++item)
        if (TextLeft(ControlItemText(idDriveList, item), 2) == drive) {
            ControlSetState(idDriveList, item);
            return;
        }
}
