#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/numbered_table.h"
#include "toolkit/resources.h"
#include "toolkit/system.h"
#include "toolkit/window.h"
#include "toolkit/native.h"

#include "support/gui.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>

namespace {

constexpr int mainWindow = 1;

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(WindowOpen(mainWindow, 0, 0, 600, 400, L"controls", windowCentered | WS_CAPTION | WS_SYSMENU), 0);
        drainEvents(50);
    }
    void TearDown() override { WindowClose(mainWindow); }
};

}  // namespace

TEST_F(Controls, WindowHasTheAskedClientSizeAndTitle) {
    EXPECT_EQ(WindowInnerWidth(mainWindow), 600);
    EXPECT_EQ(WindowInnerHeight(mainWindow), 400);
    wchar_t cls[64];
    GetClassNameW(WindowNativeHandle(mainWindow), cls, 64);
    EXPECT_STREQ(cls, L"WindowClass_1");
    WindowSetTitle(mainWindow, L"Ravlek v1");
    wchar_t title[64];
    GetWindowTextW(WindowNativeHandle(mainWindow), title, 64);
    EXPECT_STREQ(title, L"Ravlek v1");
    EXPECT_EQ(WindowInnerWidth(77), 0) << "an unknown window number gives 0";
}

TEST_F(Controls, RecreatingANumberReplacesTheOldControl) {
    HWND first = reinterpret_cast<HWND>(ButtonCreate(5, 10, 10, 80, 24, L"first"));
    ASSERT_TRUE(first);
    HWND second = reinterpret_cast<HWND>(LabelCreate(5, 10, 40, 80, 24, L"second"));
    ASSERT_TRUE(second);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(ControlKindOf(5), kindLabel);
    EXPECT_EQ(ControlText(5), L"second");
    EXPECT_EQ(GetDlgCtrlID(second), 5);
}

TEST_F(Controls, UnknownNumbersDoNothingAndReturnZero) {
    EXPECT_EQ(ControlText(99), L"");
    EXPECT_EQ(ControlState(99), 0);
    EXPECT_EQ(ControlItemCount(99), 0);
    EXPECT_EQ(ControlNativeHandle(99), nullptr);
    ControlSetText(99, L"x");
    ControlSetState(99, 1);
    ControlAddItem(99, -1, L"x");
    ControlDestroy(99);
    EXPECT_EQ(ControlKindOf(99), 0);
}

TEST_F(Controls, AnyNumberIsHandedOutAndUsableLikeAChosenOne) {
    INT_PTR a = ButtonCreate(anyNumber, 10, 10, 80, 24, L"a");
    INT_PTR b = CheckBoxCreate(anyNumber, 10, 40, 80, 24, L"b");
    ASSERT_GE(a, NumberedTable<int>::firstOutside);
    ASSERT_NE(a, b);
    EXPECT_EQ(ControlText(static_cast<int>(a)), L"a");
    ControlSetState(static_cast<int>(b), 1);
    EXPECT_EQ(ControlState(static_cast<int>(b)), 1);
    ControlDestroy(static_cast<int>(a));
    EXPECT_EQ(ControlText(static_cast<int>(a)), L"");
}

TEST_F(Controls, GenericOperationsOnEveryKind) {
    LabelCreate(1, 10, 10, 100, 20, L"A & B");
    EditFieldCreate(2, 10, 40, 100, 22, L"edit me");
    CheckBoxCreate(3, 10, 70, 100, 22, L"");
    ButtonCreate(4, 10, 100, 100, 24, L"Go", WS_DISABLED);
    FrameCreate(5, 10, 130, 200, 4, L"", 2);
    ComboBoxCreate(6, 200, 10, 200, 22);
    ProgressBarCreate(7, 200, 40, 200, 20, 1, 100);

    EXPECT_EQ(ControlText(1), L"A & B");
    ControlSetText(2, L"changed");
    EXPECT_EQ(ControlText(2), L"changed");
    EXPECT_EQ(ControlText(3), L"");
    EXPECT_EQ(ControlState(3), 0);
    ControlSetState(3, 1);
    EXPECT_EQ(ControlState(3), 1);
    EXPECT_FALSE(IsWindowEnabled(ControlNativeHandle(4)));
    ControlSetDisabled(4, 0);
    EXPECT_TRUE(IsWindowEnabled(ControlNativeHandle(4)));
    EXPECT_EQ(ControlKindOf(5), kindFrame);

    EXPECT_EQ(ControlState(6), -1);
    EXPECT_EQ(ControlText(6), L"");
    ControlAddItem(6, -1, L"second");
    ControlAddItem(6, 0, L"first");
    ControlAddItem(6, 99, L"third");
    EXPECT_EQ(ControlItemCount(6), 3);
    ControlSetState(6, 2);
    EXPECT_EQ(ControlText(6), L"third");
    EXPECT_EQ(ControlItemText(6, 1), L"second");
    ControlSetItemText(6, 2, L"THIRD");
    EXPECT_EQ(ControlText(6), L"THIRD") << "renaming the selected entry keeps it selected";
    ControlRemoveItem(6, 0);
    EXPECT_EQ(ControlItemText(6, 0), L"second");
    ControlClearItems(6);
    EXPECT_EQ(ControlItemCount(6), 0);

    ControlSetState(7, 42);
    EXPECT_EQ(ControlState(7), 42);
    EXPECT_EQ(SendMessageW(ControlNativeHandle(7), PBM_GETRANGE, TRUE, 0), 1);

    ControlSetFocus(2);
    EXPECT_EQ(ControlFocus(), 2);
    ControlSetFocus(-1);
    EXPECT_EQ(ControlFocus(), -1);
}

TEST_F(Controls, RealClicksBecomeControlEvents) {
    ButtonCreate(15, 20, 20, 120, 30, L"START");
    CheckBoxCreate(9, 20, 70, 200, 24, L"Also search Windows folder.");
    drainEvents(100);

    clickAt(ControlNativeHandle(15));
    EXPECT_EQ(controlEventKinds(drainEvents(), 15), std::vector<int>{kindClick});

    clickAt(ControlNativeHandle(9), 8);
    EXPECT_EQ(controlEventKinds(drainEvents(), 9), std::vector<int>{kindClick});
    EXPECT_EQ(ControlState(9), 1) << "a check box ticks itself";
}

TEST_F(Controls, ComboSelectionByKeyboardIsAChange) {
    ComboBoxCreate(3, 20, 20, 250, 22);
    for (auto item : {L"For files 100 MB or larger", L"For files 1 GB or larger"}) ControlAddItem(3, -1, item);
    ControlSetState(3, 0);
    ControlSetFocus(3);
    SetForegroundWindow(WindowNativeHandle(mainWindow));
    drainEvents(100);
    pressKeys({VK_DOWN});
    auto kinds = controlEventKinds(drainEvents(), 3);
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), kindChange), kinds.end());
    EXPECT_EQ(ControlState(3), 1);
    EXPECT_EQ(ControlText(3), L"For files 1 GB or larger");
}

TEST_F(Controls, CloseBoxIsARequestAndTheWindowStays) {
    SetForegroundWindow(WindowNativeHandle(mainWindow));
    drainEvents(50);
    pressKeys({VK_MENU, VK_F4});
    auto events = drainEvents();
    EXPECT_NE(std::find(events.begin(), events.end(), SeenEvent{eventCloseRequest, mainWindow, -1, 0}), events.end());
    EXPECT_TRUE(IsWindow(WindowNativeHandle(mainWindow)));
}

TEST_F(Controls, IdenticalEventsBackToBackComeOutOnce) {
    ButtonCreate(15, 20, 20, 120, 30, L"START");
    CheckBoxCreate(9, 20, 70, 200, 24, L"option");
    drainEvents(50);
    SendMessageW(ControlNativeHandle(15), BM_CLICK, 0, 0);
    SendMessageW(ControlNativeHandle(15), BM_CLICK, 0, 0);
    SendMessageW(ControlNativeHandle(9), BM_CLICK, 0, 0);
    SendMessageW(ControlNativeHandle(15), BM_CLICK, 0, 0);
    auto events = drainEvents(100);
    std::vector<int> order;
    for (auto& e : events)
        if (e.code == eventControl) order.push_back(e.control);
    EXPECT_EQ(order, (std::vector<int>{15, 9, 15}));
}

TEST_F(Controls, ChangesMadeByTheToolkitRaiseNoEvents) {
    EditFieldCreate(5, 20, 20, 200, 22, L"");
    ComboBoxCreate(3, 20, 60, 200, 22);
    drainEvents(50);
    ControlSetText(5, L"typed by the program");
    ControlAddItem(3, -1, L"one");
    ControlSetState(3, 0);
    auto events = drainEvents(100);
    EXPECT_TRUE(controlEventKinds(events, 5).empty());
    EXPECT_TRUE(controlEventKinds(events, 3).empty());

    // The same change made outside the toolkit's operations is an event.
    SetWindowTextW(ControlNativeHandle(5), L"typed by someone");
    auto kinds = controlEventKinds(drainEvents(100), 5);
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), kindChange), kinds.end());
}

TEST_F(Controls, DestroyingAControlOrClosingAWindowDropsItsEvents) {
    ButtonCreate(15, 20, 20, 120, 30, L"START");
    ButtonCreate(16, 20, 60, 120, 30, L"Delete");
    SendMessageW(ControlNativeHandle(15), BM_CLICK, 0, 0);
    SendMessageW(ControlNativeHandle(16), BM_CLICK, 0, 0);
    ControlDestroy(15);
    EXPECT_EQ(controlEventKinds(drainEvents(100), 15), std::vector<int>{});

    SendMessageW(ControlNativeHandle(16), BM_CLICK, 0, 0);
    ButtonCreate(16, 20, 60, 120, 30, L"replaced");  // re-creating also drops them
    EXPECT_TRUE(controlEventKinds(drainEvents(100), 16).empty());

    ASSERT_NE(WindowOpen(2, 0, 0, 200, 100, L"second", WS_CAPTION | windowKeepParent), 0);
    ContainerEnter(2);
    ButtonCreate(30, 5, 5, 80, 24, L"other");
    ContainerEnd();
    SendMessageW(ControlNativeHandle(30), BM_CLICK, 0, 0);
    WindowClose(2);
    for (auto& e : drainEvents(100)) EXPECT_NE(e.window, 2);
    EXPECT_EQ(ControlNativeHandle(30), nullptr) << "its controls went with it";
}

TEST_F(Controls, EventWaitTimeoutsAndNativeMessages) {
    drainEvents(50);
    const DWORD start = GetTickCount();
    int code;
    while ((code = EventWait(0)) != 0) {
    }
    EXPECT_LT(GetTickCount() - start, 500u) << "EventWait(0) never blocks";
    EXPECT_EQ(EventWait(0), 0);

    PostMessageW(WindowNativeHandle(mainWindow), WM_USER + 5, 7, 8);
    EXPECT_EQ(EventWait(-1), WM_USER + 5);
}

namespace {

// What an automation tool does from outside: messages sent, nothing posted.
// Each send is stamped; a late post wakes a wait that missed the events.
std::atomic<DWORD> sentAt[2];

void sendSelectionAndClick(void*) {
    HWND combo = ControlNativeHandle(3), button = ControlNativeHandle(4), parent = GetParent(combo);
    Sleep(100);
    sentAt[0] = GetTickCount();
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(3, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    Sleep(300);
    sentAt[1] = GetTickCount();
    SendMessageW(button, BM_CLICK, 0, 0);
    Sleep(3000);
    PostMessageW(parent, WM_USER + 9, 0, 0);
}

}  // namespace

TEST_F(Controls, EventsRaisedBySentMessagesComeBackWithoutAnyPostedMessage) {
    ComboBoxCreate(3, 20, 20, 250, 22);
    for (auto item : {L"first", L"second"}) ControlAddItem(3, -1, item);
    ButtonCreate(4, 20, 60, 80, 24, L"go");
    drainEvents(100);
    ASSERT_NE(ThreadStart(sendSelectionAndClick, nullptr), 0);
    const int expectedKinds[2] = {kindChange, kindClick};
    for (int i = 0; i < 2; ++i) {
        while (EventWait(-1) != eventControl) {
        }
        EXPECT_EQ(EventKind(), expectedKinds[i]);
        EXPECT_LT(GetTickCount() - sentAt[i], 500u) << "event " << i << " waited for a posted message";
    }
    EXPECT_EQ(ControlText(3), L"second");
}

TEST_F(Controls, TabAndShiftTabMoveTheFocusWithoutEvents) {
    EditFieldCreate(1, 10, 10, 100, 22, L"");
    EditFieldCreate(2, 10, 40, 100, 22, L"");
    ControlSetFocus(1);
    SetForegroundWindow(WindowNativeHandle(mainWindow));
    drainEvents(50);
    pressKeys({VK_TAB});
    auto events = drainEvents(150);
    EXPECT_EQ(ControlFocus(), 2);
    for (auto& e : events) EXPECT_EQ(e.code, eventControl) << "the accelerator itself raises nothing";
    pressKeys({VK_SHIFT, VK_TAB});
    drainEvents(150);
    EXPECT_EQ(ControlFocus(), 1);
}

namespace {

void moveBarFromWorker(void* value) { ControlSetState(20, reinterpret_cast<INT_PTR>(value)); }

}  // namespace

TEST_F(Controls, AWorkerThreadMovesTheProgressBarThroughTheUiThread) {
    ProgressBarCreate(20, 10, 10, 200, 20, 1, 100);
    ControlSetState(20, 1);
    ASSERT_NE(ThreadStart(moveBarFromWorker, reinterpret_cast<void*>(static_cast<INT_PTR>(63))), 0);
    const DWORD start = GetTickCount();
    while (ControlState(20) != 63 && GetTickCount() - start < 3000) EventWait(1);
    EXPECT_EQ(ControlState(20), 63);
}

TEST_F(Controls, TooltipsStatusBarsFontsAndImages) {
    ButtonCreate(19, 10, 10, 25, 23, L"...");
    ControlSetTooltip(19, L"Click to browse for a target drive");
    ControlSetTooltip(19, L"again");  // replacing a tip leaves one tool
    HWND tips = FindWindowW(TOOLTIPS_CLASSW, nullptr);
    ASSERT_TRUE(tips);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1);

    ASSERT_NE(StatusBarCreate(0, WindowNativeHandle(mainWindow)), 0);
    StatusBarAddField(statusFieldShare);
    StatusBarSetText(0, 0, L"Welcome!");
    EXPECT_EQ(StatusBarText(0, 0), L"Welcome!");
    HWND bar = FindWindowExW(WindowNativeHandle(mainWindow), nullptr, STATUSCLASSNAMEW, nullptr);
    wchar_t text[32] = L"";
    SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"Welcome!");
    RECT part{};
    SendMessageW(bar, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
    EXPECT_GE(part.right, WindowInnerWidth(mainWindow) - 4) << "one shared field spans the bar";

    INT_PTR font = FontLoad(0, L"Microsoft Sans Serif", 8);
    ASSERT_NE(font, 0);
    LOGFONTW info{};
    GetObjectW(reinterpret_cast<HFONT>(font), sizeof info, &info);
    EXPECT_EQ(info.lfHeight, -MulDiv(8, 96, 72));
    ControlUseFont(19, 0);
    EXPECT_EQ(SendMessageW(ControlNativeHandle(19), WM_GETFONT, 0, 0), font);

    auto icon = iconFile(RGB(200, 30, 30));
    EXPECT_EQ(icon.size(), 1150u);
    INT_PTR image = ImageFromMemory(3, icon.data(), icon.size());
    ASSERT_NE(image, 0);
    ICONINFO iconInfo{};
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(image), &iconInfo));
    DeleteObject(iconInfo.hbmColor);
    DeleteObject(iconInfo.hbmMask);
    EXPECT_NE(ImageViewCreate(0, 40, 10, 16, 16, ImageNativeHandle(3)), 0);
    EXPECT_NE(ImageButtonCreate(6, 60, 10, 25, 25, ImageNativeHandle(3)), 0);
    const unsigned char junk[] = {1, 2, 3, 4, 5};
    EXPECT_EQ(ImageFromMemory(4, junk, sizeof junk), 0);
}
