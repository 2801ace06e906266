#include "support/main_window_environment.h"

#include "window/control_ids.h"
#include "window/main_window.h"
#include "window/program.h"
#include "app/environment.h"
#include "app/event_loop.h"
#include "search/criteria.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/file_ops.h"
#include "toolkit/resources.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "toolkit/native.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

class MainWindowEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ToolkitStart();
        nameProgram(testApp().program);
        gatherEnvironment(testApp().program);
        testApp().program.scrollBarAllowance = GetSystemMetrics(SM_CXVSCROLL) + GetSystemMetrics(SM_CXDRAG);
        // A failed set-up would only mark every test skipped, and a run without a
        // display would pass: the program ends with an error instead.
        MainWindow& window = testApp().window;
        if (!window.build()) {
            std::fprintf(stderr, "The main window could not be built (is there a display?)\n");
            std::exit(1);
        }
        listCriteria(window);
        window.rebuildDriveList();
        ControlSetState(idDriveList, 0);
        window.resetInfoPanel();
        ShowWindow(WindowNativeHandle(mainWindowNumber), SW_SHOW);
    }
    void TearDown() override { ToolkitShutdown(); }
};

}  // namespace

Application& testApp() {
    static Application app;
    return app;
}

void useMainWindow() { ::testing::AddGlobalTestEnvironment(new MainWindowEnvironment); }

bool selectDrive(const std::wstring& drive) {
    testApp().window.rebuildDriveList();
    for (int i = 0; i < ControlItemCount(idDriveList); ++i)
        if (ControlItemText(idDriveList, i).substr(0, 2) == drive) {
            ControlSetState(idDriveList, i);
            return true;
        }
    return false;
}

void forgetEarlierEvents() {
    testApp().map.stopDrawing();  // it reads the results about to go
    testApp().loop = LoopState{};
    testApp().window.setSelectedPath(L"");
    testApp().purge = PurgeState{};
}

bool startInEmptyFolder(const std::wstring& drive, const std::wstring& folder) {
    FolderRemove(folder, L"", removeRecursive | removeForce);
    if (!CreateDirectoryW(folder.c_str(), nullptr)) return false;
    const bool listed = selectDrive(drive);
    forgetEarlierEvents();
    return listed;
}

void searchByName(const std::wstring& text) {
    ControlSetState(idCriterionSelector, 6);
    dispatchControlEvent(testApp(), idCriterionSelector, kindChange);
    ControlSetText(idTextField, text);
    dispatchControlEvent(testApp(), idSearchButton, kindClick);
}
