#include "app/startup.h"

#include "app/control_ids.h"
#include "app/event_loop.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/settings.h"
#include "app/update_reminder.h"
#include "fileinfo/info_panel.h"
#include "purge/drive_info.h"
#include "toolkit/controls.h"
#include "toolkit/person.h"
#include "toolkit/resources.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

#include <windows.h>

namespace {

constexpr UINT startupErrorStyle = MB_OK | MB_ICONHAND;

[[noreturn]] void refuseStart(const std::wstring& text) {
    ShowMessage(program().name + text, L"Startup Error", startupErrorStyle);
    shutdown();
}

void enableDebugPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    TOKEN_PRIVILEGES privileges{};
    if (LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &privileges.Privileges[0].Luid)) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    }
    CloseHandle(token);
}

// True when another copy runs (or anything else holds the name).
bool anotherInstanceRuns() {
    const std::wstring& name = program().name;
    const UINT activation = RegisterWindowMessageW((L"WM_ACTIVATEOLDINST_" + name).c_str());
    HANDLE mutex = CreateMutexW(nullptr, TRUE, name.c_str());
    if (mutex && GetLastError() == 0) return false;  // kept until the process ends
    // A hung window anywhere on the desktop must not hang this copy too.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(HWND_BROADCAST, activation, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    return true;
}

void clearKeyHistory() {
    for (int key = 0; key <= 255; ++key) personCalls().keyState(key);
}

}  // namespace

int startProgram() {
    ToolkitStart();
    nameProgram();
    SetErrorMode(SEM_FAILCRITICALERRORS);
    FontLoad(mainFont, L"Microsoft Sans Serif", 8);
    enableDebugPrivilege();
    gatherEnvironment();
    loadSettings();

    if (anotherInstanceRuns()) shutdown();
    if (program().windowsVersionCode < 60) refuseStart(L" requires Windows XP or later.");
    if (!program().locationWritable)
        refuseStart(L" must be run from a writable location.\nYou'll need to reinstall the product to a different "
                    L"folder,\nor remove any lock or write-protection that is enabled.");

    clearKeyHistory();
    program().scrollBarAllowance = GetSystemMetrics(SM_CXVSCROLL) + GetSystemMetrics(SM_CXDRAG);
    if (!buildMainWindow())
        refuseStart(L" was unable to start at this time.\nPlease run it again, perhaps after closing some\nother "
                    L"apps to free some system memory.");

    rebuildDriveList();
    ControlSetState(idDriveList, 0);
    WindowSetTitle(mainWindowNumber, program().name + L" v" + program().version);
    resetInfoPanel();
    setMainStatus(L"Welcome!");
    runUpdateReminder();

    ShowWindow(WindowNativeHandle(mainWindowNumber), SW_SHOW);
    ControlSetFocus(idDriveList);
    runEventLoop();
    return 0;
}

void shutdown() {
    ToolkitShutdown();
    ExitProcess(0);
}
