#include "support/main_window_environment.h"

#include "app/control_ids.h"
#include "app/main_window.h"
#include "app/program.h"
#include "fileinfo/info_panel.h"
#include "purge/drive_info.h"
#include "toolkit/controls.h"
#include "toolkit/resources.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

class MainWindowEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ToolkitStart();
        nameProgram();
        FontLoad(mainFont, L"Microsoft Sans Serif", 8);
        gatherEnvironment();
        program().scrollBarAllowance = GetSystemMetrics(SM_CXVSCROLL) + GetSystemMetrics(SM_CXDRAG);
        ASSERT_TRUE(buildMainWindow());
        rebuildDriveList();
        ControlSetState(idDriveList, 0);
        resetInfoPanel();
        ShowWindow(WindowNativeHandle(mainWindowNumber), SW_SHOW);
    }
    void TearDown() override { ToolkitShutdown(); }
};

}  // namespace

void useMainWindow() { ::testing::AddGlobalTestEnvironment(new MainWindowEnvironment); }

bool selectDrive(const std::wstring& drive) {
    rebuildDriveList();
    for (int i = 0; i < ControlItemCount(idDriveList); ++i)
        if (ControlItemText(idDriveList, i).substr(0, 2) == drive) {
            ControlSetState(idDriveList, i);
            return true;
        }
    return false;
}
