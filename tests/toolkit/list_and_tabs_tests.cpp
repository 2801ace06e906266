#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/system.h"
#include "toolkit/window.h"
#include "toolkit/native.h"

#include "support/gui.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

constexpr int mainWindow = 1;
constexpr int list = 21;
constexpr int appListFlags = listCheckBoxes | listMultiSelect | listShowSelectionAlways | listFullRowSelect;
constexpr int red = static_cast<int>(RGB(220, 0, 0));

class CheckList : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(WindowOpen(mainWindow, 0, 0, 600, 400, L"list", windowCentered | WS_CAPTION | WS_SYSMENU), 0);
        ASSERT_NE(CheckListCreate(list, 10, 10, 560, 300, L"Size", 85, appListFlags), 0);
        ControlAddColumn(list, 1, L"File", 400);
        drainEvents(50);
    }
    void TearDown() override { WindowClose(mainWindow); }

    static void addRows(int count) {
        for (int i = 0; i < count; ++i)
            ControlAddItem(list, -1, std::to_wstring(i) + L" KB\nD:\\file" + std::to_wstring(i) + L".bin");
    }
};

}  // namespace

TEST_F(CheckList, RowsSplitIntoCellsAndExtraPiecesAreIgnored) {
    ControlAddItem(list, -1, L"1.50 GB\nD:\\Data\\disk.img\nsurplus");
    ControlAddItem(list, -1, L"only size");
    ControlAddItem(list, 0, L"\nno size");
    ASSERT_EQ(ControlItemCount(list), 3);
    EXPECT_EQ(ControlItemText(list, 0, 0), L"");
    EXPECT_EQ(ControlItemText(list, 0, 1), L"no size");
    EXPECT_EQ(ControlItemText(list, 1, 0), L"1.50 GB");
    EXPECT_EQ(ControlItemText(list, 1, 1), L"D:\\Data\\disk.img");
    EXPECT_EQ(ControlItemText(list, 2, 1), L"");
    EXPECT_EQ(ControlItemText(list, -1, 1), L"File");
    ControlSetItemText(list, 1, L"C:\\other path\\that is long enough to need a bigger buffer.bin\nx", 1);
    EXPECT_EQ(ControlItemText(list, 1, 1), L"C:\\other path\\that is long enough to need a bigger buffer.bin");
    ControlSetItemText(list, -1, L"Path", 1);
    EXPECT_EQ(ControlItemText(list, -1, 1), L"Path");
    EXPECT_EQ(ControlItemAttribute(list, 0, 1), 85) << "column width";
}

TEST_F(CheckList, NothingSelectedGivesMinusOneAndEmptyText) {
    EXPECT_EQ(ControlState(list), -1);
    EXPECT_EQ(ControlText(list), L"");
    addRows(3);
    EXPECT_EQ(ControlState(list), -1);
    EXPECT_EQ(ControlText(list), L"");
    ControlSetState(list, 2);
    EXPECT_EQ(ControlState(list), 2);
    EXPECT_EQ(ControlText(list), L"2 KB");
    EXPECT_EQ(ControlItemState(list, 2) & 1, 1);
    ControlSetState(list, -1);
    EXPECT_EQ(ControlState(list), -1);
}

TEST_F(CheckList, ColoursStayWithTheirRowsAndCells) {
    addRows(3);
    ControlSetItemColor(list, 1, 1, red, 1);
    EXPECT_EQ(ControlItemColor(list, 1, 1, 1), red);
    EXPECT_EQ(ControlItemColor(list, 1, 1, 0), -1) << "column 0 keeps the list's colour";
    EXPECT_EQ(ControlItemColor(list, 0, 1, 1), -1);

    ControlRemoveItem(list, 0);
    EXPECT_EQ(ControlItemText(list, 0, 1), L"D:\\file1.bin");
    EXPECT_EQ(ControlItemColor(list, 0, 1, 1), red) << "the colour moved with its row";
    EXPECT_EQ(ControlItemColor(list, 1, 1, 1), -1);

    ControlAddItem(list, 0, L"new\nD:\\new.bin");
    EXPECT_EQ(ControlItemColor(list, 1, 1, 1), red);
    ControlSetItemColor(list, -1, 2, static_cast<int>(RGB(0, 0, 255)), -1);
    EXPECT_EQ(ControlItemColor(list, 0, 2, 0), static_cast<int>(RGB(0, 0, 255)));
    ControlSetItemColor(list, 1, 1, -1, 1);
    EXPECT_EQ(ControlItemColor(list, 1, 1, 1), -1);
    ControlSetItemColor(list, 99, 1, red, 1);  // a row that does not exist: nothing happens
    ControlAddColumn(list, 0, L"First", 50);
    EXPECT_EQ(ControlItemColor(list, 0, 2, 0), -1) << "a new column starts without colours";
    EXPECT_EQ(ControlItemColor(list, 0, 2, 1), static_cast<int>(RGB(0, 0, 255)));
}

TEST_F(CheckList, RedCellIsPaintedRed) {
    ControlAddItem(list, -1, L"1 KB\nD:\\red.bin");
    ControlSetItemColor(list, 0, 1, red, 1);
    HWND hwnd = ControlNativeHandle(list);
    UpdateWindow(hwnd);
    RECT cell{};
    cell.top = 1;
    cell.left = LVIR_LABEL;
    SendMessageW(hwnd, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    HDC dc = GetDC(hwnd);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 600, 400);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    bool sawRed = false, sawRedInSize = false;
    RECT sizeCell{};
    sizeCell.top = 0;
    sizeCell.left = LVIR_LABEL;
    SendMessageW(hwnd, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&sizeCell));
    for (int x = cell.left; x < cell.right; ++x)
        for (int y = cell.top; y < cell.bottom; ++y)
            if (GetPixel(memory, x, y) == static_cast<COLORREF>(red)) sawRed = true;
    for (int x = sizeCell.left; x < sizeCell.right && x < cell.left; ++x)
        for (int y = sizeCell.top; y < sizeCell.bottom; ++y)
            if (GetPixel(memory, x, y) == static_cast<COLORREF>(red)) sawRedInSize = true;
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(hwnd, dc);
    EXPECT_TRUE(sawRed) << "the path is drawn in red";
    EXPECT_FALSE(sawRedInSize) << "the size is not";
}

TEST_F(CheckList, TickingARowByMouseIsAChange) {
    addRows(2);
    drainEvents(50);
    HWND hwnd = ControlNativeHandle(list);
    RECT box{};
    box.left = LVIR_ICON;  // the state image sits left of the icon area
    SendMessageW(hwnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&box));
    RECT label{};
    label.left = LVIR_BOUNDS;
    SendMessageW(hwnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label));
    clickAt(hwnd, label.left + 8, (label.top + label.bottom) / 2);
    auto kinds = controlEventKinds(drainEvents(), list);
    EXPECT_EQ(ControlItemState(list, 0) & 2, 2) << "row 0 ticked";
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), kindChange), kinds.end());
}

TEST_F(CheckList, ClicksDoubleClicksAndSelectionEvents) {
    addRows(3);
    HWND hwnd = ControlNativeHandle(list);
    RECT row{};
    row.left = LVIR_LABEL;
    SendMessageW(hwnd, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    clickAt(hwnd, row.left + 30, (row.top + row.bottom) / 2);
    auto kinds = controlEventKinds(drainEvents(), list);
    EXPECT_EQ(ControlState(list), 1);
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), kindChange), kinds.end());
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), kindClick), kinds.end());

    clickAt(hwnd, row.left + 30, (row.top + row.bottom) / 2, true);
    kinds = controlEventKinds(drainEvents(), list);
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), kindDoubleClick), kinds.end());

    // Selecting through the toolkit raises nothing.
    drainEvents(50);
    ControlSetState(list, 2);
    EXPECT_TRUE(controlEventKinds(drainEvents(100), list).empty());
    ControlClearItems(list);
    EXPECT_EQ(ControlItemCount(list), 0);
}

TEST_F(CheckList, TickingEveryRowAtOnceIsReported) {
    addRows(5);
    drainEvents(50);
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(2);
    SendMessageW(ControlNativeHandle(list), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    for (int row = 0; row < 5; ++row) EXPECT_EQ(ControlItemState(list, row), 2);
    EXPECT_FALSE(controlEventKinds(drainEvents(100), list).empty());
}

namespace {

class Tabs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(WindowOpen(mainWindow, 0, 0, 600, 400, L"tabs", windowCentered | WS_CAPTION | WS_SYSMENU), 0);
    }
    void TearDown() override { WindowClose(mainWindow); }
};

}  // namespace

TEST_F(Tabs, EachTabHoldsItsControlsAndContainerEndReturnsToTheWindow) {
    ASSERT_NE(TabPanelCreate(22, 10, 10, 560, 300), 0);
    ControlAddItem(22, -1, L"File results");
    CheckListCreate(21, 10, 10, 500, 200, L"Size", 85, appListFlags);
    ControlAddItem(22, -1, L"");
    LabelCreate(23, 10, 10, 200, 20, L"second page");
    ControlAddItem(22, -1, L"");
    LabelCreate(24, 10, 10, 200, 20, L"third page");
    ContainerEnd();
    ButtonCreate(15, 10, 330, 100, 24, L"outside");

    EXPECT_EQ(GetParent(ControlNativeHandle(15)), WindowNativeHandle(mainWindow));
    EXPECT_EQ(GetParent(GetParent(ControlNativeHandle(21))), ControlNativeHandle(22));
    EXPECT_EQ(ControlItemCount(22), 3);
    EXPECT_EQ(ControlState(22), 0);
    EXPECT_TRUE(IsWindowVisible(ControlNativeHandle(21)));
    EXPECT_FALSE(IsWindowVisible(ControlNativeHandle(23)));

    ControlSetItemText(22, 1, L"File type information");
    EXPECT_EQ(ControlItemText(22, 1), L"File type information");

    drainEvents(50);
    ControlSetState(22, 2);
    EXPECT_TRUE(IsWindowVisible(ControlNativeHandle(24)));
    EXPECT_FALSE(IsWindowVisible(ControlNativeHandle(21)));
    EXPECT_FALSE(IsWindowEnabled(GetParent(ControlNativeHandle(21))));
    EXPECT_TRUE(controlEventKinds(drainEvents(100), 22).empty()) << "no event for the program's own switch";

    RECT tab{};
    SendMessageW(ControlNativeHandle(22), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
    clickAt(ControlNativeHandle(22), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    auto kinds = controlEventKinds(drainEvents(), 22);
    EXPECT_EQ(ControlState(22), 1);
    EXPECT_TRUE(IsWindowVisible(ControlNativeHandle(23)));
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), kindChange), kinds.end());

    // A list's notices reach the toolkit through its tab's container.
    ControlSetState(22, 0);
    ControlAddItem(21, -1, L"1 KB\nD:\\a.bin");
    drainEvents(50);
    SendMessageW(ControlNativeHandle(21), WM_KEYDOWN, VK_SPACE, 0);
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(2);
    SendMessageW(ControlNativeHandle(21), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_FALSE(controlEventKinds(drainEvents(100), 21).empty());

    ControlDestroy(22);
    EXPECT_EQ(ControlNativeHandle(21), nullptr) << "the controls on its pages go with the panel";
}
