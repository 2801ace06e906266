// A window with one control of every kind, for looking at: control_gallery [SECONDS]
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/resources.h"
#include "toolkit/system.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "toolkit/native.h"

#include "support/gui.h"

#include <cstdlib>

int wmain(int argc, wchar_t** argv) {
    const DWORD seconds = argc > 1 ? static_cast<DWORD>(_wtoi(argv[1])) : 30;
    ToolkitStart();
    WindowOpen(0, 0, 0, 640, 480, L"Control gallery", windowCentered | WS_CAPTION | WS_SYSMENU);
    StatusBarCreate(0, WindowNativeHandle(0));
    StatusBarAddField(statusFieldShare);
    StatusBarSetText(0, 0, L"Ready.");
    auto red = iconFile(RGB(200, 40, 40)), blue = iconFile(RGB(40, 80, 200));
    ImageFromMemory(0, red.data(), red.size());
    ImageFromMemory(1, blue.data(), blue.size());

    ImageViewCreate(0, 10, 14, 16, 16, ImageNativeHandle(0));
    LabelCreate(1, 34, 14, 60, 20, L"Label:");
    ComboBoxCreate(2, 100, 10, 200, 22);
    for (auto item : {L"C:  (Windows) 40% free", L"D:  Data 75% free"}) ControlAddItem(2, -1, item);
    ControlSetState(2, 0);
    EditFieldCreate(3, 310, 10, 150, 22, L"edit field");
    ImageButtonCreate(4, 470, 8, 25, 25, ImageNativeHandle(1));
    CheckBoxCreate(5, 10, 42, 200, 22, L"A check box, ticked");
    ControlSetState(5, 1);
    FrameCreate(6, 10, 70, 620, 4, L"", 2);
    ButtonCreate(7, 10, 84, 150, 24, L"A push button");
    ButtonCreate(8, 170, 84, 120, 24, L"Disabled", WS_DISABLED);
    ProgressBarCreate(9, 300, 86, 150, 20, 1, 100);
    ControlSetState(9, 60);
    ControlSetTooltip(9, L"A progress bar at 60");

    TabPanelCreate(10, 10, 118, 620, 320);
    ControlAddItem(10, -1, L"List", ImageNativeHandle(0));
    CheckListCreate(11, 10, 10, 590, 270, L"Size", 85,
                    listCheckBoxes | listMultiSelect | listShowSelectionAlways | listFullRowSelect);
    ControlAddColumn(11, 1, L"File", 480);
    ControlAddItem(11, -1, L"4.66 GB\nD:\\Images\\backup disk.img");
    ControlAddItem(11, -1, L"1.50 GB\nD:\\Read only\\movie.mkv");
    ControlAddItem(11, -1, L"650 MB\nD:\\Muziek\\Grüße – album.iso");
    ControlSetItemColor(11, 1, 1, static_cast<int>(RGB(220, 0, 0)), 1);
    ControlSetItemState(11, 0, 2);
    ControlAddItem(10, -1, L"Web panel", ImageNativeHandle(1));
    WebPanelCreate(12, 10, 10, 590, 270, L"");
    ContainerEnd();

    const DWORD start = GetTickCount();
    while (GetTickCount() - start < seconds * 1000) {
        if (EventWait(50) == eventCloseRequest) break;
    }
    ToolkitShutdown();
    return 0;
}
