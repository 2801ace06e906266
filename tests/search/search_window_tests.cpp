// Whole searches run from the main window on drive S:, which only these tests use.
#include "window/busy_state.h"
#include "window/control_ids.h"
#include "app/event_loop.h"
#include "window/main_window.h"
#include "window/program.h"
#include "fileinfo/info_command.h"
#include "window/drive_info.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/file_ops.h"
#include "toolkit/paths.h"
#include "toolkit/resources.h"
#include "toolkit/system.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

#include "support/fixture.h"
#include "support/gui.h"
#include "support/main_window_environment.h"
#include "support/scripted_person.h"
#include "toolkit/person.h"
#include "toolkit/native.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

[[maybe_unused]] const bool windowBuilt = (useMainWindow(), true);

const std::wstring root = L"S:\\";

class SearchWindow : public ::testing::Test {
protected:
    void SetUp() override {
        FolderRemove(L"S:\\files", L"", removeRecursive | removeForce);
        makeFolder(L"S:\\files");
        ASSERT_TRUE(selectDrive(L"S:"));
        chooseCriterion(0);
        ControlSetText(idTextField, L"");
        ControlSetState(idTempFilesOption, 0);
        forgetEarlierEvents();
        drainEvents(30);
    }

    static void chooseCriterion(int item) {
        ControlSetState(idCriterionSelector, item);
        dispatchControlEvent(testApp(), idCriterionSelector, kindChange);
    }
    static void textSearch(const std::wstring& text) {
        chooseCriterion(6);
        ControlSetText(idTextField, text);
        dispatchControlEvent(testApp(), idSearchButton, kindClick);
    }
    static std::vector<std::wstring> paths() {
        std::vector<std::wstring> all;
        for (int row = 0; row < ControlItemCount(idResultsList); ++row) all.push_back(ControlItemText(idResultsList, row, 1));
        return all;
    }
    static std::wstring status() { return StatusBarText(mainStatusBar, 0); }
    static bool enabled(int id) { return IsWindowEnabled(ControlNativeHandle(id)) != FALSE; }
};

}  // namespace

TEST_F(SearchWindow, SizeModeIgnoresTheTextAndListsLargestFirst) {
    makeSizedFile(L"S:\\files\\small.bin", 5000);
    makeSizedFile(L"S:\\files\\big.iso", 5368709120LL);
    makeSizedFile(L"S:\\files\\medium.mkv", 200000000);
    ControlSetText(idTextField, L"nothing matches this");
    dispatchControlEvent(testApp(), idSearchButton, kindClick);
    EXPECT_EQ(paths(), (std::vector<std::wstring>{L"S:\\files\\big.iso", L"S:\\files\\medium.mkv"}));
    EXPECT_EQ(ControlItemText(idResultsList, 0, 0), L"5 GB");
    EXPECT_EQ(ControlItemText(idResultsList, 1, 0), L"191 MB");
    EXPECT_EQ(status(), L"Showing 2 matches. Files in red are read-only.");
    EXPECT_EQ(ControlFocus(), idResultsList);
    EXPECT_FALSE(IsWindow(ControlNativeHandle(idBusyNotice))) << "the notice is gone";
    EXPECT_TRUE(enabled(idSearchButton));
    EXPECT_TRUE(IsWindowEnabled(WindowNativeHandle(mainWindowNumber)));
}

TEST_F(SearchWindow, TextModeMatchesEveryLetterCaseLargestFirst) {
    makeSizedFile(L"S:\\files\\Song.Mp3", 300);
    makeSizedFile(L"S:\\files\\loud.MP3", 900);
    makeSizedFile(L"S:\\files\\mp3tool.exe", 10);
    makeSizedFile(L"S:\\files\\empty.mp3", 0);
    makeSizedFile(L"S:\\files\\notes.txt", 5000);
    makeFolder(L"S:\\files\\mp3 folder");
    makeSizedFile(L"S:\\files\\mp3 folder\\inside.wav", 700);
    textSearch(L"MP3");
    EXPECT_EQ(paths(), (std::vector<std::wstring>{L"S:\\files\\loud.MP3", L"S:\\files\\Song.Mp3",
                                                  L"S:\\files\\mp3tool.exe", L"S:\\files\\empty.mp3"}));
    EXPECT_EQ(ControlItemText(idResultsList, 3, 0), L"0 bytes");
    EXPECT_EQ(status(), L"Showing 4 matches. Files in red are read-only.");
}

TEST_F(SearchWindow, BlanksAreSearchedLiterallyAndQuotesAloneMatchNothing) {
    makeSizedFile(L"S:\\files\\my song.mp3", 10);
    makeSizedFile(L"S:\\files\\mysong.mp3", 20);
    textSearch(L"y s");
    EXPECT_EQ(paths(), std::vector<std::wstring>{L"S:\\files\\my song.mp3"});
    textSearch(L" ");
    EXPECT_EQ(paths(), std::vector<std::wstring>{L"S:\\files\\my song.mp3"});
    textSearch(L"\"\"");
    EXPECT_TRUE(paths().empty());
    EXPECT_EQ(status(), L"Showing 0 matches. Files in red are read-only.");
    textSearch(L"\"song\"");
    EXPECT_EQ(paths().size(), 2u) << "quotes are removed from the text";
}

TEST_F(SearchWindow, EmptyTextIsRefusedAndChangesNothing) {
    makeSizedFile(L"S:\\files\\a.mp3", 10);
    textSearch(L"mp3");
    ASSERT_EQ(paths().size(), 1u);
    UseScriptedPerson script;
    ControlSetText(idTextField, L"");
    dispatchControlEvent(testApp(), idSearchButton, kindClick);
    ASSERT_EQ(script.person().messages.size(), 1u);
    EXPECT_EQ(script.person().messages[0].text, L"You haven't specified any text or a file extension.");
    EXPECT_EQ(paths().size(), 1u) << "the previous results stay";
    EXPECT_EQ(status(), L"Showing 1 matches. Files in red are read-only.");
    EXPECT_EQ(ControlFocus(), idTextField);
}

TEST_F(SearchWindow, ASecondSearchReplacesTheFirst) {
    makeSizedFile(L"S:\\files\\first.txt", 10);
    makeSizedFile(L"S:\\files\\second.doc", 10);
    textSearch(L"first");
    textSearch(L"second");
    EXPECT_EQ(paths(), std::vector<std::wstring>{L"S:\\files\\second.doc"});
}

TEST_F(SearchWindow, ZeroMatchesAndTheButtons) {
    dispatchControlEvent(testApp(), idSearchButton, kindClick);
    EXPECT_TRUE(paths().empty());
    EXPECT_EQ(status(), L"Showing 0 matches. Files in red are read-only.");
    EXPECT_FALSE(enabled(idDeleteButton));
    EXPECT_FALSE(enabled(idMoveButton));
    ControlSetState(idTempFilesOption, 1);
    dispatchControlEvent(testApp(), idTempFilesOption, kindClick);
    dispatchControlEvent(testApp(), idSearchButton, kindClick);
    EXPECT_TRUE(enabled(idDeleteButton));
    EXPECT_FALSE(enabled(idMoveButton));
}

TEST_F(SearchWindow, ReadOnlyAndVanishedFilesAreRedInThePathOnly) {
    makeSizedFile(L"S:\\files\\locked.bin", 300);
    makeSizedFile(L"S:\\files\\plain.bin", 200);
    makeSizedFile(L"S:\\files\\vanishing.bin", 100);
    ASSERT_TRUE(SetFileAttributesW(L"S:\\files\\locked.bin", FILE_ATTRIBUTE_READONLY));

    // The file goes once the walk has found it, before its row is made.
    static bool deleted;
    deleted = false;
    struct Vanish {
        static SHORT WINAPI keyState(int) {
            if (!deleted && testApp().loop.results.found.count() == 3) deleted = DeleteFileW(L"S:\\files\\vanishing.bin");
            return 0;
        }
    };
    UseScriptedPerson script;
    personCalls().keyState = Vanish::keyState;
    textSearch(L".bin");
    ASSERT_TRUE(deleted);
    ASSERT_EQ(paths().size(), 3u);
    EXPECT_EQ(ControlItemColor(idResultsList, 0, 1, 1), warningRed) << "read-only";
    EXPECT_EQ(ControlItemColor(idResultsList, 1, 1, 1), -1);
    EXPECT_EQ(ControlItemColor(idResultsList, 2, 1, 1), warningRed) << "gone since the walk";
    for (int row = 0; row < 3; ++row) EXPECT_EQ(ControlItemColor(idResultsList, row, 1, 0), -1) << "sizes never red";
    SetFileAttributesW(L"S:\\files\\locked.bin", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SearchWindow, EscapeStopsTheWalkAndEverythingFoundIsListedOnceLetGo) {
    for (int i = 0; i < 20; ++i) makeSizedFile(L"S:\\files\\f" + std::to_wstring(i) + L".dat", 1000 + i);
    UseScriptedPerson script;
    // Held from the tenth fetched entry on, and for a while after the walk has
    // stopped (the walk asks once per entry, so these later asks are the wait's).
    int escapeQueries = 0;
    script.person().holds = [&](int key) {
        if (key != VK_ESCAPE) return false;
        ++escapeQueries;
        return escapeQueries >= 10 && escapeQueries < 60;
    };
    textSearch(L"dat");
    const std::vector<std::wstring> listed = paths();
    EXPECT_GE(escapeQueries, 60) << "the listing waited for Escape to be let go";
    ASSERT_GE(listed.size(), 1u);
    EXPECT_LT(listed.size(), 20u) << "the walk stopped";
    EXPECT_EQ(listed.size(), testApp().loop.results.found.count()) << "everything found is listed";
    for (size_t row = 1; row < listed.size(); ++row)
        EXPECT_GT(PathSize(listed[row - 1]), PathSize(listed[row])) << "largest first";
    EXPECT_EQ(status(), L"Showing " + std::to_wstring(listed.size()) +
                            L" matches. Files in red are read-only. The folder sizes are partial: the search was stopped.");
}

TEST_F(SearchWindow, TheBusyNoticeIsOnTheScreenBeforeTheLongWorkStarts) {
    // The walk and the purge take no events, so nothing would paint it later.
    BusyScope busy(testApp().window, L"Scanning S: drive (hold Esc to stop)");
    const HWND notice = ControlNativeHandle(idBusyNotice);
    ASSERT_TRUE(notice);
    EXPECT_TRUE(IsWindowVisible(notice));
    EXPECT_FALSE(GetUpdateRect(notice, nullptr, FALSE)) << "painted";
    EXPECT_FALSE(GetUpdateRect(WindowNativeHandle(mainWindowNumber), nullptr, FALSE)) << "the window around it too";
    busy.end();
}

TEST_F(SearchWindow, DoubleClickShowsBothSearchesAndCaptions) {
    makeSizedFile(L"S:\\files\\my holiday clip.mp4", 10);
    makeFolder(L"S:\\files\\Backup.old");
    makeSizedFile(L"S:\\files\\Backup.old\\data", 20);
    textSearch(L"a");
    ASSERT_EQ(paths().size(), 2u);

    ControlSetState(idResultsList, 1);  // the .mp4
    dispatchControlEvent(testApp(), idResultsList, kindDoubleClick);
    EXPECT_EQ(ControlItemText(idTabPanel, 2), L"What are \"mp4\" files");
    EXPECT_EQ(ControlItemText(idTabPanel, 3), L"What is \"my holiday clip.mp4\"");
    EXPECT_EQ(ControlText(idTypeInfoPanel), L"http://www.google.com/search?q=what are \"mp4\" files");
    EXPECT_EQ(ControlText(idExactInfoPanel), L"http://www.google.com/search?q=\"my holiday clip.mp4\"");
    EXPECT_EQ(ControlState(idTabPanel), 2);

    ControlSetState(idTabPanel, 0);
    ControlSetState(idResultsList, 0);  // data, in a folder with a dot
    dispatchControlEvent(testApp(), idResultsList, kindDoubleClick);
    EXPECT_EQ(ControlItemText(idTabPanel, 2), L"(No type info)");
    EXPECT_EQ(ControlItemText(idTabPanel, 3), L"What is \"data\"");
    EXPECT_EQ(ControlText(idExactInfoPanel), L"http://www.google.com/search?q=\"data\"");
}

TEST_F(SearchWindow, PlainClickNamesTheFileAndSeveralRowsShowNothing) {
    makeSizedFile(L"S:\\files\\one.txt", 10);
    makeSizedFile(L"S:\\files\\two.txt", 20);
    textSearch(L"txt");
    ControlSetState(idResultsList, 0);
    dispatchControlEvent(testApp(), idResultsList, kindClick);
    EXPECT_EQ(status(), L"two.txt");
    EXPECT_EQ(ControlItemText(idTabPanel, 2), L"File type information") << "a click alone leaves the pages";

    ControlSetItemState(idResultsList, 1, 1);
    dispatchControlEvent(testApp(), idResultsList, kindDoubleClick);
    EXPECT_EQ(ControlItemText(idTabPanel, 2), L"File type information");
    EXPECT_EQ(ControlText(idTypeInfoPanel), L"about:blank") << "nothing was looked up";
    EXPECT_EQ(status(), L"Ready.");
}

// Drive N: is an NTFS image (tests/support/make-ntfs-image.sh): a search reads its
// file table, and lists exactly the rows a walk of its folders lists.
TEST_F(SearchWindow, ASearchThatReadsTheVolumeTableListsWhatTheWalkLists) {
    ASSERT_TRUE(selectDrive(L"N:"));
    auto rowsOf = [](bool readTable) {
        testApp().readVolumeTables = readTable;
        textSearch(L".");
        std::vector<std::wstring> rows = paths();
        std::erase_if(rows, [](const std::wstring& path) { return path.rfind(L"N:\\gone\\", 0) == 0; });  // Wine's links
        return std::make_pair(status(), rows);
    };
    const auto fromTable = rowsOf(true), fromWalk = rowsOf(false);
    testApp().readVolumeTables = true;
    EXPECT_GT(fromWalk.second.size(), 5000u);
    EXPECT_EQ(fromTable.first, fromWalk.first);
    EXPECT_EQ(fromTable.second, fromWalk.second);
}

namespace {

std::wstring clipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"(the clipboard is held)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* at = static_cast<const wchar_t*>(GlobalLock(data))) text = at;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// The toolkit's events carried out as the loop does.
void handleEvents() {
    for (const SeenEvent& event : drainEvents(100))
        if (event.code == eventControl) dispatchControlEvent(testApp(), event.control, event.kind);
}

LVITEMW tickItem(bool ticked) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
    return item;
}

}  // namespace

// What accessibility layers and test tools send, and the context menu: both act
// on the ticks and the rows the person sees, and the menu acts on no file.
TEST_F(SearchWindow, TheListsTicksAnswerTheStandardMessagesAndItsMenuCopiesPaths) {
    const std::wstring longFolder = L"S:\\files\\" + std::wstring(200, L'f'), longPath = longFolder + L"\\" + std::wstring(80, L'n') + L".bin";
    makeFolder(longFolder);
    makeSizedFile(L"S:\\files\\Björk – Jóga.mp3", 3000);
    makeSizedFile(longPath, 2000);
    makeSizedFile(L"S:\\files\\small.txt", 10);
    textSearch(L".");
    ASSERT_EQ(paths(), (std::vector<std::wstring>{L"S:\\files\\Björk – Jóga.mp3", longPath, L"S:\\files\\small.txt"}));
    HWND list = ControlNativeHandle(idResultsList);
    handleEvents();

    LVITEMW tick = tickItem(true);
    EXPECT_TRUE(SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&tick)));
    handleEvents();
    EXPECT_EQ(ControlItemState(idResultsList, 1) & 2, 2) << "the tick the person sees";
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK), static_cast<LRESULT>(INDEXTOSTATEIMAGEMASK(2)));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK), static_cast<LRESULT>(INDEXTOSTATEIMAGEMASK(1)));
    EXPECT_TRUE(enabled(idDeleteButton));
    EXPECT_TRUE(enabled(idMoveButton));
    LVITEMW none = tickItem(false);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    handleEvents();
    EXPECT_EQ(ControlTickedCount(idResultsList), 0);
    EXPECT_FALSE(enabled(idDeleteButton));
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&tick));
    handleEvents();
    EXPECT_EQ(ControlTickedCount(idResultsList), 3);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    handleEvents();

    // The menu, its choice scripted: at a row, from the keyboard, and below the rows.
    PersonCalls saved = personCalls();
    static std::vector<std::wstring> offered, shown;
    static int choice = 0;
    personCalls().chooseFromMenu = [](void*, const std::vector<std::wstring>& entries, long, long) {
        offered = entries;
        return choice;
    };
    personCalls().showInFolder = [](const std::wstring& path) {
        shown.push_back(path);
        return true;
    };
    auto menuAtRow = [&](int row, int chosen) {
        choice = chosen;
        RECT box{};
        box.left = LVIR_LABEL;
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&box));
        POINT at{box.left + 20, (box.top + box.bottom) / 2};
        ClientToScreen(list, &at);
        SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y));
        handleEvents();
    };
    const std::vector<std::wstring> all{L"&Open containing folder", L"Copy &path", L"Copy &list", L"",
                                        L"&Tick", L"&Untick", L"Tick e&xtra copies", L"", L"Sa&ve list as\u2026"};
    ControlSetItemState(idResultsList, 1, 1);
    menuAtRow(1, 2);
    EXPECT_EQ(offered, all);
    EXPECT_EQ(clipboardText(), longPath);
    ControlSetItemState(idResultsList, 0, 1);
    menuAtRow(0, 2);
    EXPECT_EQ(clipboardText(), L"S:\\files\\Björk – Jóga.mp3\r\n" + longPath) << "the selected rows, one a line";
    menuAtRow(0, 5);
    EXPECT_EQ(ControlTickedCount(idResultsList), 2) << "Tick ticks the selected rows";
    EXPECT_TRUE(enabled(idDeleteButton));
    menuAtRow(0, 6);
    EXPECT_EQ(ControlTickedCount(idResultsList), 0);
    menuAtRow(2, 1);
    EXPECT_EQ(shown, std::vector<std::wstring>{L"S:\\files\\small.txt"});
    menuAtRow(2, 3);
    EXPECT_EQ(clipboardText(), L"Size in bytes\tSize\tFile\r\n3000\t2.93 KB\tS:\\files\\Björk – Jóga.mp3\r\n2000\t1.95 KB\t" +
                                   longPath + L"\r\n10\t10 bytes\tS:\\files\\small.txt\r\n");
    choice = 0;
    ControlSetState(idResultsList, 2);  // selected and focused
    SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);  // the menu key, Shift+F10
    handleEvents();
    EXPECT_EQ(offered, all) << "at the focused row";
    offered.clear();
    RECT client{};
    GetClientRect(list, &client);
    POINT below{20, client.bottom - 5};
    ClientToScreen(list, &below);
    SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(below.x, below.y));
    handleEvents();
    EXPECT_EQ(offered, (std::vector<std::wstring>{L"Copy &list", L"Tick e&xtra copies", L"", L"Sa&ve list as\u2026"}))
        << "no row under the menu";
    personCalls() = saved;
    EXPECT_EQ(paths().size(), 3u) << "nothing in the menu acts on a file";
}
