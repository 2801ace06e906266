#include "app/startup.h"

#include "app/command_line.h"
#include "app/environment.h"
#include "app/event_loop.h"
#include "app/settings.h"
#include "app/update_reminder.h"
#include "toolkit/console.h"
#include "toolkit/controls.h"
#include "toolkit/person.h"
#include "toolkit/resources.h"
#include "toolkit/system.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "window/main_window.h"
#include "window/program.h"

namespace {

[[noreturn]] void refuseStart(const Program& program, const std::wstring& text) {
    ShowMessage(program.name + text, L"Startup Error", messageOk | messageStop);
    shutdown();
}

void clearKeyHistory() {
    for (int key = 0; key <= 255; ++key) KeyTouched(key);
}

}  // namespace

int startProgram() {
    // Lives until the process ends: shutdown() never returns.
    static Application app;
    Program& program = app.program;
    ToolkitStart();
    nameProgram(program);
    QuietCriticalErrors();
    EnableDebugPrivilege();
    gatherEnvironment(program);
    loadSettings(program);

    // A script's search runs beside the window, if one is open: the single
    // instance guards the window and the settings file, which a script never writes.
    if (const std::vector<std::wstring> words = ProgramArguments(); !words.empty())
        shutdown(static_cast<int>(runFromScript(words, program)));

    if (!ClaimSingleInstance(program.name)) shutdown();
    if (program.windowsVersionCode < 60) refuseStart(program, L" requires Windows XP or later.");
    if (!program.locationWritable)
        refuseStart(program, L" must be run from a writable location.\nYou'll need to reinstall the product to a different "
                             L"folder,\nor remove any lock or write-protection that is enabled.");

    clearKeyHistory();
    program.scrollBarAllowance = ScrollBarAllowance();
    MainWindow& window = app.window;
    if (!window.build())
        refuseStart(program, L" was unable to start at this time.\nPlease run it again, perhaps after closing some\nother "
                             L"apps to free some system memory.");

    listCriteria(window);
    window.rebuildDriveList();
    window.chooseFirstDrive();
    window.setTitle(program.name + L" v" + program.version);
    window.resetInfoPanel();
    window.setStatus(L"Welcome!");
    runUpdateReminder(program);

    window.show();
    window.focus(MainControl::driveList);
    runEventLoop(app);
    saveSettings(program);
    shutdown();
}

void shutdown(int exitCode) {
    ToolkitShutdown();
    ProcessEnd(exitCode);
}
