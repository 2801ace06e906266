// A tree of rows in a list view with owner data: it holds the rows now shown
// (key, depth, open or not) and asks its source for a row's texts when it is
// drawn or read and for a row's children when it is opened, so that a tree of a
// hundred thousand folders costs nothing until a folder is opened. The rows are
// a standard list view's: keys, screen readers and other programs' list
// messages work as with any list.
#include "toolkit/check_list.h"

#include "toolkit/event_queue.h"
#include "toolkit/events.h"

#include <algorithm>
#include <cwchar>

namespace {

// Each level is indented by this many blanks before its "+" or "-".
constexpr int blanksPerLevel = 4;

class TreeList final : public CheckList {
public:
    TreeList() : CheckList(kindTreeList) {}

    bool notify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void showTree(const std::vector<int>& top, const TreeSource& source) override;
    void clearItems() override;
    int itemState(int row) override;
    void setItemState(int row, int bits) override;
    std::wstring itemText(int row, int column) override;
    int itemKey(int row) override { return valid(row) ? rows_[static_cast<size_t>(row)].key : -1; }
    int tickedCount() override { return 0; }

protected:
    int shareOfRow(int row) override {
        return valid(row) && source_.share ? source_.share(rows_[static_cast<size_t>(row)].key) : -1;
    }

private:
    struct Row {
        int key;
        int depth;
        bool open = false;
    };

    bool valid(int row) const { return row >= 0 && static_cast<size_t>(row) < rows_.size(); }
    bool opens(const Row& row) const { return source_.opens && source_.opens(row.key); }
    void setCount() {
        SendMessageW(hwnd, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
        InvalidateRect(hwnd, nullptr, FALSE);
    }
    void open(int row);
    void close(int row);
    void turnOver(int row) {
        if (!valid(row)) return;
        if (rows_[static_cast<size_t>(row)].open) close(row);
        else open(row);
    }
    int parentOf(int row) const {
        const int depth = rows_[static_cast<size_t>(row)].depth;
        for (int above = row - 1; above >= 0; --above)
            if (rows_[static_cast<size_t>(above)].depth < depth) return above;
        return -1;
    }
    void focusRow(int row);
    int focusedRow() const { return nextRow(-1, LVNI_FOCUSED); }
    bool onKey(WPARAM key);

    std::vector<Row> rows_;
    TreeSource source_;
};

void TreeList::showTree(const std::vector<int>& top, const TreeSource& source) {
    source_ = source;
    rows_.clear();
    for (int key : top) rows_.push_back(Row{key, 0});
    shareColumn = source.share ? source.shareColumn : -1;
    hasColors = hasColors || static_cast<bool>(source.color);
    setCount();
    if (!rows_.empty()) open(0);
}

void TreeList::clearItems() {
    rows_.clear();
    source_ = TreeSource{};
    SendMessageW(hwnd, LVM_DELETEALLITEMS, 0, 0);
}

void TreeList::open(int row) {
    if (!valid(row)) return;
    Row& opened = rows_[static_cast<size_t>(row)];
    if (opened.open || !opens(opened) || !source_.children) return;
    const std::vector<int> children = source_.children(opened.key);
    opened.open = true;
    const int depth = opened.depth + 1;
    std::vector<Row> inserted;
    inserted.reserve(children.size());
    for (int key : children) inserted.push_back(Row{key, depth});
    rows_.insert(rows_.begin() + row + 1, inserted.begin(), inserted.end());
    setCount();
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, row + 1);
    raiseControlEvent(*this, kindChange);
}

void TreeList::close(int row) {
    if (!valid(row) || !rows_[static_cast<size_t>(row)].open) return;
    const int depth = rows_[static_cast<size_t>(row)].depth;
    size_t end = static_cast<size_t>(row) + 1;
    while (end < rows_.size() && rows_[end].depth > depth) ++end;
    // A row inside that had the focus gives it to the row that closes.
    const int focused = focusedRow();
    rows_.erase(rows_.begin() + row + 1, rows_.begin() + static_cast<std::ptrdiff_t>(end));
    rows_[static_cast<size_t>(row)].open = false;
    setCount();
    if (focused > row) focusRow(row);
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, row + 1);
    raiseControlEvent(*this, kindChange);
}

void TreeList::focusRow(int row) {
    if (!valid(row)) return;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageW(hwnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

int TreeList::itemState(int row) {
    if (!valid(row)) return 0;
    const UINT state = static_cast<UINT>(SendMessageW(hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED));
    return ((state & LVIS_SELECTED) ? 1 : 0) | (rows_[static_cast<size_t>(row)].open ? rowOpen : 0);
}

void TreeList::setItemState(int row, int bits) {
    if (!valid(row)) return;
    if (((bits & rowOpen) != 0) != rows_[static_cast<size_t>(row)].open) turnOver(row);
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = (bits & 1) ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::wstring TreeList::itemText(int row, int column) {
    if (row == -1) return columnTitle(column);
    if (!valid(row) || !source_.text) return {};
    const Row& shown = rows_[static_cast<size_t>(row)];
    std::wstring text = source_.text(shown.key, column);
    if (column != 0) return text;
    const wchar_t* mark = shown.open ? L"\u2013 " : opens(shown) ? L"+ " : L"   ";
    return std::wstring(static_cast<size_t>(shown.depth * blanksPerLevel), L' ') + mark + text;
}

bool TreeList::onKey(WPARAM key) {
    const int row = focusedRow();
    if (!valid(row)) return false;
    const Row& at = rows_[static_cast<size_t>(row)];
    switch (key) {
        case VK_RIGHT:
            if (!at.open) open(row);
            else if (valid(row + 1) && rows_[static_cast<size_t>(row) + 1].depth > at.depth) focusRow(row + 1);
            return true;
        case VK_LEFT:
            if (at.open) close(row);
            else focusRow(parentOf(row));
            return true;
        case VK_ADD: open(row); return true;
        case VK_SUBTRACT: close(row); return true;
        case VK_RETURN: turnOver(row); return true;
        default: return false;
    }
}

bool TreeList::notify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY) return false;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom != hwnd) return false;
    switch (header->code) {
        case LVN_GETDISPINFOW:
            if (valid(reinterpret_cast<NMLVDISPINFOW*>(lParam)->item.iItem))
                fillText(reinterpret_cast<NMLVDISPINFOW*>(lParam)->item);
            result = 0;
            return true;
        case LVN_ODSTATECHANGED:
            result = 0;
            return true;
        case NM_DBLCLK: {
            const int row = reinterpret_cast<NMITEMACTIVATE*>(lParam)->iItem;
            turnOver(row);
            return CheckList::notify(message, wParam, lParam, result);
        }
        case NM_CLICK: {
            // A click on the "+" or "-" turns the row over, as in a tree.
            const auto* click = reinterpret_cast<NMITEMACTIVATE*>(lParam);
            if (valid(click->iItem) && click->iSubItem == 0) {
                const Row& row = rows_[static_cast<size_t>(click->iItem)];
                const std::wstring lead(static_cast<size_t>(row.depth * blanksPerLevel), L' ');
                const std::wstring upToMark = lead + L"+ ";
                const int start = static_cast<int>(SendMessageW(hwnd, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(lead.c_str())));
                const int end = static_cast<int>(SendMessageW(hwnd, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(upToMark.c_str())));
                RECT cell{};
                cell.top = 0;
                cell.left = LVIR_LABEL;
                SendMessageW(hwnd, LVM_GETSUBITEMRECT, static_cast<WPARAM>(click->iItem), reinterpret_cast<LPARAM>(&cell));
                const int x = click->ptAction.x - cell.left;
                if (x >= start && x <= end + 6) turnOver(click->iItem);
            }
            return CheckList::notify(message, wParam, lParam, result);
        }
        default:
            return CheckList::notify(message, wParam, lParam, result);
    }
}

bool TreeList::message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_KEYDOWN:
            if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0 || !onKey(wParam)) return false;
            result = 0;
            return true;
        case WM_CHAR:
            // The "+", "-" and Enter that opened or closed a row are no search for a row.
            if (wParam != L'+' && wParam != L'-' && wParam != L'\r') return false;
            if (wParam == L'+') open(focusedRow());
            if (wParam == L'-') close(focusedRow());
            result = 0;
            return true;
        case WM_GETDLGCODE:
            // Enter belongs to the tree, not to a dialog's default button.
            result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTMESSAGE;
            return lParam && reinterpret_cast<MSG*>(lParam)->wParam == VK_RETURN;
        case WM_CONTEXTMENU:
            askForMenu(lParam);
            result = 0;
            return true;
        default:
            return false;
    }
}

}  // namespace

std::intptr_t TreeListCreate(int number, int x, int y, int width, int height, const std::wstring& firstColumnTitle,
                             int firstColumnWidth) {
    const DWORD style = LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP;
    Control* control = createControl(number, std::make_unique<TreeList>(), WC_LISTVIEWW, style, WS_EX_CLIENTEDGE, x,
                                     y, width, height, L"");
    if (!control) return 0;
    const DWORD extended = LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT;
    SendMessageW(control->hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(firstColumnTitle.c_str());
    column.cx = firstColumnWidth;
    SendMessageW(control->hwnd, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    return createdResult(number, control);
}
