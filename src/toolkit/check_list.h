#pragma once
// The multi-column list with check boxes and per-cell colours, and the kind that
// asks for its rows (toolkit-internal).
#include "toolkit/controls.h"
#include "toolkit/ui_objects.h"

#include <commctrl.h>

#include <utility>
#include <vector>

// A row's colours travel with the row: the block hangs off the row's item data.
struct RowColors {
    LPARAM rowData = 0;
    std::vector<std::pair<int, int>> cells;  // (text colour + 1, background + 1); 0 = not set
};

class CheckList : public Control {
public:
    CheckList() : Control(kindCheckList) {}
    explicit CheckList(int kind) : Control(kind) {}
    // The colour blocks are freed while the rows still exist. The list owns its
    // image list and destroys it with its window.
    ~CheckList() override {
        if (hwnd) SendMessageW(hwnd, LVM_DELETEALLITEMS, 0, 0);
    }

    bool notify(UINT message, WPARAM, LPARAM lParam, LRESULT& result) override;
    long long state() override;
    void setState(long long row) override;
    std::wstring text() override;
    void addItem(int position, const std::wstring& text, HANDLE image) override;
    void removeItem(int row) override;
    void clearItems() override;
    int itemCount() override;
    int itemState(int row) override;
    void setItemState(int row, int bits) override;
    void tickAllItems(bool ticked) override;
    int tickedCount() override;
    int selectedCount() override;
    std::wstring itemText(int row, int column) override;
    void setItemText(int row, const std::wstring& text, int column) override;
    void addColumn(int position, const std::wstring& title, int width) override;
    long long itemAttribute(int column, int attribute) override;
    void setItemAttribute(int column, int attribute, long long value) override;
    void setColor(int which, int color) override;
    void setItemColor(int row, int which, int color, int column) override;
    int itemColor(int row, int which, int column) override;

protected:
    // A cell's (text colour + 1, background + 1), 0 where none is set.
    virtual std::pair<int, int> cellColors(const NMLVCUSTOMDRAW& draw);
    std::wstring columnTitle(int column);
    void setColumnTitle(int column, const std::wstring& title);
    LRESULT customDraw(NMLVCUSTOMDRAW& draw);
    // A row's share in thousandths for the bar in shareColumn; -1 for none.
    virtual int shareOfRow(int) { return -1; }
    void drawShare(const NMLVCUSTOMDRAW& draw);
    // Answers a list that asks for a cell's text (LVN_GETDISPINFO) with itemText.
    void fillText(LVITEMW& item);
    // A context menu asked for at `at` (WM_CONTEXTMENU's point; -1 from the
    // keyboard): the row under it, or the focused row, is noted and the event raised.
    void askForMenu(LPARAM at);
    int nextRow(int after, UINT which) const {
        return static_cast<int>(SendMessageW(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(after), which));
    }

    bool hasColors = false;
    int columns = 1;
    int shareColumn = -1;

private:
    RowColors& ensureColors(int row);
    void setCell(int row, int column, const std::wstring& text);

    size_t longestCell = 0;
    HIMAGELIST images = nullptr;
};

// The kind that asks for its rows (LVS_OWNERDATA).
std::unique_ptr<Control> makeRowList();
