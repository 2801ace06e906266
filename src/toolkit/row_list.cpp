// The check list that asks for its rows (a list view with owner data): it keeps
// each row's key, tick and colour and nothing else, so a list of many rows costs
// a few bytes a row and is filled at once.
#include "toolkit/check_list.h"

#include "toolkit/event_queue.h"
#include "toolkit/events.h"
#include "toolkit/text.h"

#include <algorithm>
#include <cwchar>

namespace {

constexpr int colorNotAsked = -2;

class RowList final : public CheckList {
public:
    using CheckList::CheckList;

    bool notify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void addItem(int position, const std::wstring& text, HANDLE image) override;
    void removeItem(int row) override;
    void clearItems() override;
    int itemState(int row) override;
    void setItemState(int row, int bits) override;
    void tickAllItems(bool ticked) override;
    int tickedCount() override { return ticked_; }
    std::wstring itemText(int row, int column) override;
    void setItemText(int row, const std::wstring& text, int column) override;
    void setItemColor(int row, int which, int color, int column) override;
    int itemColor(int row, int which, int column) override;
    void showRows(int count, const RowSource& source) override;
    int itemKey(int row) override { return valid(row) ? rows_[static_cast<size_t>(row)].key : row; }

protected:
    std::pair<int, int> cellColors(const NMLVCUSTOMDRAW& draw) override;
    int shareOfRow(int row) override {
        return valid(row) && rows_[static_cast<size_t>(row)].key >= 0 && source_.share
                   ? source_.share(rows_[static_cast<size_t>(row)].key)
                   : -1;
    }

private:
    struct Row {
        int key;  // below 0: a row added with its own text
        int color = colorNotAsked;
        bool ticked = false;
    };

    bool valid(int row) const { return row >= 0 && static_cast<size_t>(row) < rows_.size(); }
    void setCount() {
        SendMessageW(hwnd, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOSCROLL);
        InvalidateRect(hwnd, nullptr, FALSE);
    }
    void setTicked(Row& row, bool ticked) {
        if (row.ticked == ticked) return;
        row.ticked = ticked;
        ticked_ += ticked ? 1 : -1;
    }
    int colorOf(Row& row) {
        if (row.color == colorNotAsked) row.color = row.key >= 0 && source_.color ? source_.color(row.key) : -1;
        return row.color;
    }
    void fillDisplay(LVITEMW& item);
    // The list keeps no ticks of its own: what it would do with them is done here.
    void tickRows(int row, bool ticked);
    void toggleSelectedRows();
    LRESULT setItemStateMessage(WPARAM row, LVITEMW& item);

    std::vector<Row> rows_;
    std::vector<std::wstring> ownTexts_;  // rows added one by one, key -1 - index
    RowSource source_;
    int ticked_ = 0;
    int tickedByList_ = -1;  // a row whose box the list itself just turned over
};

void RowList::showRows(int count, const RowSource& source) {
    source_ = source;
    ownTexts_.clear();
    rows_.clear();
    rows_.shrink_to_fit();  // a smaller list after a large one gives its room back
    rows_.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int key = 0; key < count; ++key) rows_.push_back(Row{key});
    ticked_ = 0;
    hasColors = hasColors || static_cast<bool>(source.color);
    shareColumn = source.share ? source.shareColumn : -1;
    // Emptied only where it holds rows: under Wine even an empty list takes 10 ms
    // to be emptied again, and a search has emptied it before it looked.
    if (SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0) > 0) SendMessageW(hwnd, LVM_DELETEALLITEMS, 0, 0);
    setCount();
}

void RowList::addItem(int position, const std::wstring& text, HANDLE) {
    ownTexts_.push_back(text);
    const Row row{-static_cast<int>(ownTexts_.size())};
    if (position < 0 || static_cast<size_t>(position) > rows_.size()) {
        rows_.push_back(row);
    } else {
        rows_.insert(rows_.begin() + position, row);
    }
    setCount();
}

void RowList::removeItem(int row) {
    if (!valid(row)) return;
    setTicked(rows_[static_cast<size_t>(row)], false);
    rows_.erase(rows_.begin() + row);
    // The list moves its selection and focus up with the rows below.
    SendMessageW(hwnd, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

void RowList::clearItems() {
    rows_.clear();
    ownTexts_.clear();
    ticked_ = 0;
    SendMessageW(hwnd, LVM_DELETEALLITEMS, 0, 0);
}

int RowList::itemState(int row) {
    if (!valid(row)) return 0;
    const UINT state = static_cast<UINT>(SendMessageW(hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED));
    return ((state & LVIS_SELECTED) ? 1 : 0) | (rows_[static_cast<size_t>(row)].ticked ? 2 : 0);
}

void RowList::setItemState(int row, int bits) {
    if (!valid(row)) return;
    setTicked(rows_[static_cast<size_t>(row)], (bits & 2) != 0);
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = (bits & 1) ? LVIS_SELECTED : 0;
    SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageW(hwnd, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

void RowList::tickAllItems(bool ticked) {
    for (Row& row : rows_) setTicked(row, ticked);
    InvalidateRect(hwnd, nullptr, FALSE);
    raiseControlEvent(*this, kindChange);
}

std::wstring RowList::itemText(int row, int column) {
    if (row == -1) return columnTitle(column);
    if (!valid(row)) return {};
    const int key = rows_[static_cast<size_t>(row)].key;
    if (key >= 0) return source_.text ? source_.text(key, column) : std::wstring();
    return TextField(ownTexts_[static_cast<size_t>(-1 - key)], column + 1, L"\n");
}

void RowList::setItemText(int row, const std::wstring& text, int column) {
    if (row == -1) setColumnTitle(column, text.substr(0, text.find(L'\n')));
}

void RowList::setItemColor(int row, int which, int color, int column) {
    if (which != 1 || (column != source_.colorColumn && column != -1)) return;
    hasColors = true;
    for (int r = row == -1 ? 0 : row, end = row == -1 ? static_cast<int>(rows_.size()) : row + 1; r < end; ++r)
        if (valid(r)) rows_[static_cast<size_t>(r)].color = color;
    InvalidateRect(hwnd, nullptr, FALSE);
}

int RowList::itemColor(int row, int which, int column) {
    if (which != 1 || column != source_.colorColumn || !valid(row)) return -1;
    return colorOf(rows_[static_cast<size_t>(row)]);
}

std::pair<int, int> RowList::cellColors(const NMLVCUSTOMDRAW& draw) {
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    if (draw.iSubItem != source_.colorColumn || !valid(row)) return {0, 0};
    return {colorOf(rows_[static_cast<size_t>(row)]) + 1, 0};
}

void RowList::fillDisplay(LVITEMW& item) {
    if (!valid(item.iItem)) return;
    fillText(item);
    if (item.mask & LVIF_STATE) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) |
                     INDEXTOSTATEIMAGEMASK(rows_[static_cast<size_t>(item.iItem)].ticked ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

bool RowList::notify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY) return false;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom != hwnd) return false;
    switch (header->code) {
        case LVN_GETDISPINFOW:
            fillDisplay(reinterpret_cast<NMLVDISPINFOW*>(lParam)->item);
            result = 0;
            return true;
        case LVN_ITEMCHANGED: {
            // Some lists turn a box over themselves and say so here (Wine's);
            // others leave it to the click below (Windows').
            const auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
            result = 0;
            if (!(change->uChanged & LVIF_STATE)) return true;
            const UINT image = (change->uNewState & LVIS_STATEIMAGEMASK) >> 12;
            if (image && valid(change->iItem) && rows_[static_cast<size_t>(change->iItem)].ticked != (image == 2)) {
                setTicked(rows_[static_cast<size_t>(change->iItem)], image == 2);
                tickedByList_ = change->iItem;
                raiseControlEvent(*this, kindChange);
            } else if ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) {
                raiseControlEvent(*this, kindChange);
            }
            return true;
        }
        case NM_CLICK: {
            LVHITTESTINFO hit{};
            hit.pt = reinterpret_cast<NMITEMACTIVATE*>(lParam)->ptAction;
            SendMessageW(hwnd, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (valid(hit.iItem) && (hit.flags & LVHT_ONITEMSTATEICON)) {
                if (tickedByList_ != hit.iItem) tickRows(hit.iItem, !rows_[static_cast<size_t>(hit.iItem)].ticked);
            }
            tickedByList_ = -1;
            return CheckList::notify(message, wParam, lParam, result);
        }
        case LVN_DELETEALLITEMS:
            // The rows keep nothing in the list to free: no notice for each row,
            // which for a list of 300,000 rows is 300,000 messages.
            result = TRUE;
            return true;
        case LVN_ODSTATECHANGED: {
            const auto* change = reinterpret_cast<NMLVODSTATECHANGE*>(lParam);
            if ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) raiseControlEvent(*this, kindChange);
            result = 0;
            return true;
        }
        default:
            return CheckList::notify(message, wParam, lParam, result);
    }
}

void RowList::tickRows(int row, bool ticked) {
    const int first = row < 0 ? 0 : row, end = row < 0 ? static_cast<int>(rows_.size()) : row + 1;
    bool changed = false;
    for (int r = first; r < end; ++r) {
        if (!valid(r) || rows_[static_cast<size_t>(r)].ticked == ticked) continue;
        setTicked(rows_[static_cast<size_t>(r)], ticked);
        changed = true;
        // Accessibility layers follow ticks by these events, as for a list that keeps its own.
        if (row >= 0) NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, r + 1);
    }
    if (!changed) return;
    if (row < 0) NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
    if (row < 0) InvalidateRect(hwnd, nullptr, FALSE);
    else SendMessageW(hwnd, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
    raiseControlEvent(*this, kindChange);
}

void RowList::toggleSelectedRows() {
    // Every selected row takes the new state of the focused one, as in Explorer.
    int focused = nextRow(-1, LVNI_FOCUSED);
    if (!valid(focused)) focused = nextRow(-1, LVNI_SELECTED);
    if (!valid(focused)) return;
    const bool ticked = !rows_[static_cast<size_t>(focused)].ticked;
    tickRows(focused, ticked);
    for (int row = nextRow(-1, LVNI_SELECTED); valid(row); row = nextRow(row, LVNI_SELECTED)) tickRows(row, ticked);
}

LRESULT RowList::setItemStateMessage(WPARAM row, LVITEMW& item) {
    const int target = static_cast<int>(row);
    if (item.stateMask & LVIS_STATEIMAGEMASK) {
        const UINT image = (item.state & LVIS_STATEIMAGEMASK) >> 12;
        if (image == 1 || image == 2) tickRows(target, image == 2);
    }
    LVITEMW rest = item;
    rest.stateMask &= ~LVIS_STATEIMAGEMASK;
    if (rest.stateMask == 0) return target < 0 || valid(target);
    return CallWindowProcW(previousProc, hwnd, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&rest));
}

bool RowList::message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_KEYDOWN:
            if (wParam != VK_SPACE || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
            toggleSelectedRows();
            result = 0;
            return true;
        case WM_CHAR:
            // The space that ticked is no search for a row starting with a blank.
            if (wParam != L' ') return false;
            result = 0;
            return true;
        case LVM_SETITEMSTATE:
            if (!lParam) return false;
            result = setItemStateMessage(wParam, *reinterpret_cast<LVITEMW*>(lParam));
            return true;
        case LVM_GETITEMSTATE: {
            const int row = static_cast<int>(wParam);
            const UINT mask = static_cast<UINT>(lParam);
            result = CallWindowProcW(previousProc, hwnd, message, wParam, static_cast<LPARAM>(mask & ~LVIS_STATEIMAGEMASK));
            if ((mask & LVIS_STATEIMAGEMASK) && valid(row))
                result |= INDEXTOSTATEIMAGEMASK(rows_[static_cast<size_t>(row)].ticked ? 2 : 1);
            return true;
        }
        case WM_CONTEXTMENU:
            askForMenu(lParam);
            result = 0;
            return true;
        default:
            return false;
    }
}

}  // namespace

std::unique_ptr<Control> makeRowList() { return std::make_unique<RowList>(); }
