#pragma once
// The main window as start-up builds it, for the benchmarks that time work in it.
#include "app/application.h"
#include "app/environment.h"
#include "search/criteria.h"
#include "toolkit/controls.h"
#include "toolkit/native.h"  // native: the window is shown to time the drawing in it
#include "toolkit/resources.h"
#include "toolkit/toolkit.h"
#include "window/control_ids.h"
#include "window/main_window.h"
#include "window/program.h"

#include <windows.h>

#include <string>

// What the program keeps while it runs, as start-up makes it.
inline Application& benchApp() {
    static Application app;
    return app;
}

// Builds and shows the window with its criteria and drives, the drive (such as
// "D:") selected when given; false when the window cannot be made or the drive
// is not listed.
inline bool openMainWindow(const std::wstring& drive = L"") {
    ToolkitStart();
    nameProgram(benchApp().program);
    FontLoad(mainFont, L"Microsoft Sans Serif", 8);
    gatherEnvironment(benchApp().program);
    MainWindow& window = benchApp().window;
    if (!window.build()) return false;
    listCriteria(window);
    window.rebuildDriveList();
    if (!drive.empty()) {
        window.reselectDrive(drive);
        if (ControlText(idDriveList).substr(0, 2) != drive) return false;
    }
    ShowWindow(WindowNativeHandle(mainWindowNumber), SW_SHOW);
    return true;
}
