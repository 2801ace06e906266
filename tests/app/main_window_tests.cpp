// The main window built in this process, driven through its events.
#include "window/control_ids.h"
#include "app/event_loop.h"
#include "search/search_command.h"
#include "window/main_window.h"
#include "window/program.h"
#include "fileinfo/info_command.h"
#include "window/drive_info.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/resources.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "toolkit/native.h"

#include "support/gui.h"
#include "support/main_window_environment.h"
#include "support/scripted_person.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cmath>
#include <vector>

namespace {

[[maybe_unused]] const bool windowBuilt = (useMainWindow(), true);

class TheMainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ControlClearItems(idResultsList);
        ControlSetState(idCriterionSelector, 0);
        ControlSetState(idTempFilesOption, 0);
        forgetEarlierEvents();
        drainEvents(30);
    }
    // Rows as a search lists them: "D:\folder\file0.txt", "...file1.txt", ...
    static void addRows(int count) {
        SearchResults& results = testApp().loop.results;
        results.found.clear();
        const uint32_t folder = results.found.addFolder(L"D:\\folder\\");
        const uint32_t origin = results.found.addOrigin(originAt(L"D:\\", L""));
        for (int i = 0; i < count; ++i)
            results.found.add(folder, L"file" + std::to_wstring(i) + L".txt", FileIdentity{0, 1024, 0}, origin);
        listFoundFiles(results, testApp().window);
    }
    static bool enabled(int id) { return IsWindowEnabled(ControlNativeHandle(id)) != FALSE; }
    static std::wstring status() { return StatusBarText(mainStatusBar, 0); }
    // Runs what the loop would do for a key going down.
    static void keyDown() { handleEvent(testApp(), WM_KEYDOWN); }
};

}  // namespace

TEST_F(TheMainWindow, ScaledSizeAndEveryControl) {
    const int dpi = static_cast<int>(testApp().program.scale * 100 + 0.5);
    ASSERT_EQ(dpi, 96) << "the test display runs at 96 dots per inch";
    EXPECT_EQ(WindowInnerWidth(mainWindowNumber), 756);
    EXPECT_EQ(WindowInnerHeight(mainWindowNumber), 525);

    const int kinds[] = {kindImageView, kindLabel,      kindComboBox,   kindComboBox,  kindLabel,      kindEditField,
                         kindImageButton, kindImageView, kindLabel,     kindCheckBox,  kindCheckBox,   kindCheckBox,
                         kindFrame,     kindImageView,  kindLabel,      kindButton,    kindButton,     kindButton,
                         kindEditField, kindButton,     kindProgressBar, kindCheckList, kindTabPanel, kindWebPanel,
                         kindWebPanel};
    for (int id = 0; id <= 24; ++id) EXPECT_EQ(ControlKindOf(id), kinds[id]) << "control " << id;

    EXPECT_EQ(ControlText(idSearchButton), L"START SEARCHING FILES");
    EXPECT_EQ(ControlText(idMoveButton), L"Move ticked files to ->");
    EXPECT_EQ(ControlText(idTempFilesOption), L"When purging, also delete temporary files that might exist.");
    EXPECT_EQ(ControlItemCount(idCriterionSelector), 7);
    EXPECT_EQ(ControlItemText(idCriterionSelector, 6), textCriterion);
    EXPECT_EQ(ControlText(idCriterionSelector), L"For files 100 MB or larger");
    EXPECT_EQ(testApp().loop.chosenThreshold, 104857600);
    EXPECT_EQ(ControlItemText(idTabPanel, 0), L"File results");
    EXPECT_EQ(ControlItemText(idTabPanel, 1), L"Folder sizes");
    EXPECT_EQ(ControlItemText(idTabPanel, 2), L"File type information");
    EXPECT_EQ(ControlItemText(idTabPanel, 3), L"Exact file information");
    EXPECT_EQ(ControlItemText(idResultsList, -1, 0), L"Size");
    EXPECT_EQ(ControlItemText(idResultsList, -1, 1), L"File");
    const int pathWidth = static_cast<int>(std::nearbyint(655 * 0.96 - testApp().program.scrollBarAllowance - 1));
    EXPECT_EQ(ControlItemAttribute(idResultsList, 1, 1), pathWidth);
    EXPECT_EQ(SendMessageW(ControlNativeHandle(idSearchLabel), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(FontNativeHandle(mainFont)));

    for (int id : {idTextLabel, idTextField, idDeleteButton, idMoveButton}) EXPECT_FALSE(enabled(id)) << id;
    for (int id : {idDriveList, idSearchButton, idMoveTargetField, idBrowseButton}) EXPECT_TRUE(enabled(id)) << id;
    EXPECT_GE(ControlItemCount(idDriveList), 3) << "C:, D:, E: at least";
    bool listsD = false;
    for (int i = 0; i < ControlItemCount(idDriveList); ++i) listsD |= ControlItemText(idDriveList, i).substr(0, 2) == L"D:";
    EXPECT_TRUE(listsD);
}

namespace {

// Every control's rectangle in its parent's client area (a tab's page for those on the tabs).
std::vector<RECT> controlRects() {
    std::vector<RECT> rects;
    for (int id = 0; id <= idExactInfoPanel; ++id) {
        RECT r{};
        HWND control = ControlNativeHandle(id);
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
        rects.push_back(r);
    }
    return rects;
}

int fontHeight(int id) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(ControlNativeHandle(id), WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

// What the system sends a window moved onto a monitor of another scale.
RECT changeDpi(int dpi, RECT suggested) {
    SendMessageW(WindowNativeHandle(mainWindowNumber), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    RECT taken{};
    GetWindowRect(WindowNativeHandle(mainWindowNumber), &taken);
    return taken;
}

}  // namespace

TEST_F(TheMainWindow, FollowsAMoveToMonitorsOfOtherScalesAndBack) {
    addRows(5);
    ControlSetItemState(idResultsList, 1, 2);
    ControlSetItemState(idResultsList, 3, 2);
    const std::vector<RECT> at96 = controlRects();
    const int size96 = static_cast<int>(ControlItemAttribute(idResultsList, 0, 1));
    const int path96 = static_cast<int>(ControlItemAttribute(idResultsList, 1, 1));
    RECT window96{};
    GetWindowRect(WindowNativeHandle(mainWindowNumber), &window96);

    for (const int dpi : {144, 192}) {
        const double ratio = dpi / 96.0;
        const RECT suggested{window96.left + 40, window96.top + 20,
                             window96.left + 40 + static_cast<LONG>((window96.right - window96.left) * ratio),
                             window96.top + 20 + static_cast<LONG>((window96.bottom - window96.top) * ratio)};
        const RECT taken = changeDpi(dpi, suggested);
        EXPECT_TRUE(EqualRect(&taken, &suggested)) << "the window takes the suggested rectangle at " << dpi;
        const std::vector<RECT> now = controlRects();
        for (int id = 0; id <= idExactInfoPanel; ++id) {
            // Each box is its design units scaled, rounded on its own: within a
            // few pixels of the 96-dot box scaled.
            const RECT& was = at96[id];
            const RECT& is = now[id];
            EXPECT_NEAR(is.left, was.left * ratio, 3) << "control " << id << " at " << dpi;
            EXPECT_NEAR(is.top, was.top * ratio, 3) << "control " << id << " at " << dpi;
            if (ControlKindOf(id) == kindImageView) continue;  // an icon keeps its own size
            EXPECT_NEAR(is.right - is.left, (was.right - was.left) * ratio, 3) << "control " << id << " at " << dpi;
            // A drop-down list sizes its closed face from its items' height.
            if (ControlKindOf(id) != kindComboBox) {
                EXPECT_NEAR(is.bottom - is.top, (was.bottom - was.top) * ratio, 3) << "control " << id << " at " << dpi;
            }
        }
        EXPECT_EQ(fontHeight(idSearchLabel), -MulDiv(8, dpi, 72));
        EXPECT_EQ(fontHeight(idResultsList), -MulDiv(8, dpi, 72));
        EXPECT_NEAR(ControlItemAttribute(idResultsList, 0, 1), size96 * ratio, 2);
        EXPECT_NEAR(ControlItemAttribute(idResultsList, 1, 1), path96 * ratio, 2);
        EXPECT_EQ(ControlItemCount(idResultsList), 5);
        for (int row = 0; row < 5; ++row)
            EXPECT_EQ(ControlItemState(idResultsList, row) & 2, row == 1 || row == 3 ? 2 : 0) << "row " << row;
    }

    const RECT back = changeDpi(96, window96);
    EXPECT_TRUE(EqualRect(&back, &window96));
    const std::vector<RECT> again = controlRects();
    for (int id = 0; id <= idExactInfoPanel; ++id)
        EXPECT_TRUE(EqualRect(&again[id], &at96[id]))
            << "control " << id << " back at 96: " << again[id].left << "," << again[id].top << " "
            << again[id].right - again[id].left << "x" << again[id].bottom - again[id].top << ", was "
            << at96[id].left << "," << at96[id].top << " " << at96[id].right - at96[id].left << "x"
            << at96[id].bottom - at96[id].top;
    EXPECT_EQ(fontHeight(idSearchLabel), -MulDiv(8, 96, 72));
    EXPECT_NEAR(ControlItemAttribute(idResultsList, 1, 1), path96, 1);
}

TEST_F(TheMainWindow, ButtonRuleFollowsTicksAndTheTemporaryFilesOption) {
    addRows(3);
    testApp().window.updateActionButtons();
    EXPECT_FALSE(enabled(idDeleteButton));
    EXPECT_FALSE(enabled(idMoveButton));
    ControlSetItemState(idResultsList, 2, 2);
    testApp().window.updateActionButtons();
    EXPECT_TRUE(enabled(idDeleteButton));
    EXPECT_TRUE(enabled(idMoveButton));
    ControlSetItemState(idResultsList, 2, 0);

    ControlSetState(idTempFilesOption, 1);
    dispatchControlEvent(testApp(), idTempFilesOption, kindClick);
    EXPECT_TRUE(enabled(idDeleteButton)) << "the temporary files alone are worth a purge";
    EXPECT_FALSE(enabled(idMoveButton));
}

TEST_F(TheMainWindow, ChoosingTheTextCriterionEnablesTheFieldAndFocusesIt) {
    ControlSetState(idCriterionSelector, 6);
    dispatchControlEvent(testApp(), idCriterionSelector, kindChange);
    EXPECT_EQ(testApp().loop.chosenThreshold, -1);
    EXPECT_TRUE(enabled(idTextLabel));
    EXPECT_TRUE(enabled(idTextField));
    EXPECT_EQ(ControlFocus(), idTextField);

    ControlSetState(idCriterionSelector, 4);
    dispatchControlEvent(testApp(), idCriterionSelector, kindChange);
    EXPECT_EQ(testApp().loop.chosenThreshold, 1073741824);
    EXPECT_FALSE(enabled(idTextField));
}

TEST_F(TheMainWindow, SelectingRowsShowsTheNameOrResets) {
    addRows(3);
    ControlSetState(idResultsList, 1);
    dispatchControlEvent(testApp(), idResultsList, kindChange);
    EXPECT_EQ(testApp().window.selectedPath(), L"D:\\folder\\file1.txt");
    EXPECT_EQ(status(), L"file1.txt");
    ControlSetItemState(idResultsList, 2, 1);  // a second selected row
    dispatchControlEvent(testApp(), idResultsList, kindChange);
    EXPECT_EQ(testApp().window.selectedPath(), L"");
    EXPECT_EQ(status(), L"Ready.");
}

TEST_F(TheMainWindow, CtrlAFlipsEveryTickOnlyOnAFocusedListWithRows) {
    UseScriptedPerson script;
    script.person().heldKeys = {VK_CONTROL, 'A'};
    ControlSetFocus(idResultsList);
    keyDown();
    EXPECT_EQ(testApp().loop.tickAllNext, 1) << "an empty list: nothing flips";

    addRows(4);
    ControlSetFocus(idResultsList);
    keyDown();
    for (int row = 0; row < 4; ++row) EXPECT_EQ(ControlItemState(idResultsList, row) & 2, 2);
    drainEvents(100);  // the list reports the ticks; the loop would run the button rule
    testApp().window.updateActionButtons();
    EXPECT_TRUE(enabled(idMoveButton));
    keyDown();
    for (int row = 0; row < 4; ++row) EXPECT_EQ(ControlItemState(idResultsList, row) & 2, 0);

    ControlSetFocus(idDriveList);
    keyDown();
    EXPECT_EQ(ControlItemState(idResultsList, 0) & 2, 0) << "not while another control has the focus";
}

TEST_F(TheMainWindow, EnterSearchesOnlyFromTheTextFieldAndAnEmptyTextIsRefused) {
    UseScriptedPerson script;
    ControlSetState(idCriterionSelector, 6);
    dispatchControlEvent(testApp(), idCriterionSelector, kindChange);
    ControlSetText(idTextField, L"");
    addRows(2);
    script.person().heldKeys = {VK_RETURN};
    ControlSetFocus(idDriveList);
    keyDown();
    EXPECT_TRUE(script.person().messages.empty());

    ControlSetFocus(idTextField);
    auto& person = script.person();  // the scripted box lets go of Enter when answered
    keyDown();
    ASSERT_EQ(person.messages.size(), 1u);
    EXPECT_EQ(person.messages[0].text, L"You haven't specified any text or a file extension.");
    EXPECT_EQ(person.messages[0].caption, L"Ravlek");
    EXPECT_EQ(person.messages[0].type, 0x52030u);
    EXPECT_EQ(ControlItemCount(idResultsList), 2) << "the previous results stay";
    EXPECT_EQ(ControlFocus(), idTextField);
}

TEST_F(TheMainWindow, MissingManualIsReportedAndAPresentOneOpened) {
    UseScriptedPerson script;
    const std::wstring real = testApp().program.manualPath;
    testApp().program.manualPath = L"D:\\no such folder\\Ravlek.chm";
    dispatchControlEvent(testApp(), idManualButton, kindClick);
    ASSERT_EQ(script.person().messages.size(), 1u);
    EXPECT_EQ(script.person().messages[0].text,
              L"The Ravlek manual could not be found.\nYou should reinstall the product to fix this problem.");
    EXPECT_EQ(script.person().messages[0].type, 0x52010u);

    testApp().program.manualPath = testApp().program.settingsPath;  // any file that exists
    FILE* touch = _wfopen(testApp().program.manualPath.c_str(), L"ab");
    if (touch) fclose(touch);
    dispatchControlEvent(testApp(), idManualButton, kindClick);
    ASSERT_EQ(script.person().opened.size(), 1u);
    EXPECT_EQ(script.person().opened[0], testApp().program.manualPath);
    testApp().program.manualPath = real;
}

TEST_F(TheMainWindow, TheCloseRequestEndsTheLoop) {
    EXPECT_TRUE(handleEvent(testApp(), eventControl + 1));
    EXPECT_TRUE(handleEvent(testApp(), 0));
    EXPECT_FALSE(handleEvent(testApp(), eventCloseRequest));
}
