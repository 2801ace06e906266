#include "app/startup.h"

#include "app/environment.h"
#include "app/event_loop.h"
#include "app/settings.h"
#include "app/update_reminder.h"
#include "window/drive_list.h"
#include "toolkit/controls.h"
#include "toolkit/person.h"
#include "toolkit/resources.h"
#include "toolkit/system.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "window/drive_list.h"
#include "window/info_pages.h"
#include "window/main_window.h"
#include "window/program.h"
#include "window/main_controls.h"

namespace {

[[noreturn]] void refuseStart(const std::wstring& text) {
    ShowMessage(program().name + text, L"Startup Error", messageOk | messageStop);
    shutdown();
}

void clearKeyHistory() {
    for (int key = 0; key <= 255; ++key) KeyTouched(key);
}

}  // namespace

int startProgram() {
    ToolkitStart();
    nameProgram();
    QuietCriticalErrors();
    EnableDebugPrivilege();
    gatherEnvironment();
    loadSettings();

    if (!ClaimSingleInstance(program().name)) shutdown();
    if (program().windowsVersionCode < 60) refuseStart(L" requires Windows XP or later.");
    if (!program().locationWritable)
        refuseStart(L" must be run from a writable location.\nYou'll need to reinstall the product to a different "
                    L"folder,\nor remove any lock or write-protection that is enabled.");

    clearKeyHistory();
    program().scrollBarAllowance = ScrollBarAllowance();
    if (!buildMainWindow())
        refuseStart(L" was unable to start at this time.\nPlease run it again, perhaps after closing some\nother "
                    L"apps to free some system memory.");

    listCriteria();
    rebuildDriveList();
    chooseFirstDrive();
    setMainTitle(program().name + L" v" + program().version);
    resetInfoPanel();
    setMainStatus(L"Welcome!");
    runUpdateReminder();

    showMainWindow();
    focusMainControl(MainControl::driveList);
    runEventLoop();
    saveSettings();
    shutdown();
}

void shutdown() {
    ToolkitShutdown();
    ProcessEnd(0);
}
