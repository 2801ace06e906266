// The multi-column list with check boxes and per-cell colours.
#include "toolkit/check_list.h"

#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/event_queue.h"
#include "toolkit/ui_objects.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>


namespace {

struct ListDefaults {
    bool known = false;
    COLORREF text = 0, background = 0;
};

ListDefaults listDefaults;

RowColors* colorsOf(HWND list, int row) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    return reinterpret_cast<RowColors*>(item.lParam);
}

}  // namespace

RowColors& CheckList::ensureColors(int row) {
    RowColors* colors = colorsOf(hwnd, row);
    if (!colors) {
        colors = new RowColors;
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        item.lParam = reinterpret_cast<LPARAM>(colors);
        SendMessageW(hwnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    colors->cells.resize(static_cast<size_t>(std::max(columns, 1)));
    return *colors;
}

int CheckList::itemCount() { return static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0)); }

void CheckList::setCell(int row, int column, const std::wstring& text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    longestCell = std::max(longestCell, text.size());
}

std::wstring CheckList::columnTitle(int column) {
    std::wstring title(512, L'\0');
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = title.data();
    info.cchTextMax = static_cast<int>(title.size());
    SendMessageW(hwnd, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    title.resize(wcslen(title.c_str()));
    return title;
}

void CheckList::setColumnTitle(int column, const std::wstring& title) {
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = const_cast<wchar_t*>(title.c_str());
    SendMessageW(hwnd, LVM_SETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
}

// Kind operations --------------------------------------------------------------

void CheckList::addItem(int position, const std::wstring& text, HANDLE image) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = position < 0 || position > itemCount() ? itemCount() : position;
    size_t end = text.find(L'\n');
    std::wstring first = text.substr(0, end);
    item.pszText = first.data();
    if (image) {
        if (!images) {
            images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
            SendMessageW(hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
        }
        item.mask |= LVIF_IMAGE;
        item.iImage = ImageList_AddIcon(images, static_cast<HICON>(image));
    }
    int row = static_cast<int>(SendMessageW(hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return;
    longestCell = std::max(longestCell, first.size());
    for (int column = 1; end != std::wstring::npos && column < columns; ++column) {
        size_t start = end + 1;
        end = text.find(L'\n', start);
        std::wstring cell = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!cell.empty()) setCell(row, column, cell);
    }
}

void CheckList::removeItem(int row) { SendMessageW(hwnd, LVM_DELETEITEM, static_cast<WPARAM>(row), 0); }
void CheckList::clearItems() { SendMessageW(hwnd, LVM_DELETEALLITEMS, 0, 0); }

long long CheckList::state() { return SendMessageW(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED); }

void CheckList::setState(long long row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    if (row < 0) return;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageW(hwnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

std::wstring CheckList::itemText(int row, int column) {
    if (row == -1) return columnTitle(column);
    std::wstring text(longestCell + 1, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    LRESULT length = SendMessageW(hwnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    text.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
    return text;
}

std::wstring CheckList::text() {
    long long row = state();
    return row < 0 ? std::wstring() : itemText(static_cast<int>(row), 0);
}

void CheckList::setItemText(int row, const std::wstring& text, int column) {
    std::wstring cell = text.substr(0, text.find(L'\n'));
    if (row == -1) {
        setColumnTitle(column, cell);
    } else {
        setCell(row, column, cell);
    }
}

int CheckList::itemState(int row) {
    UINT state = static_cast<UINT>(
        SendMessageW(hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED | LVIS_STATEIMAGEMASK));
    int bits = (state & LVIS_SELECTED) ? 1 : 0;
    UINT image = (state & LVIS_STATEIMAGEMASK) >> 12;
    if (image == 2) bits |= 2;
    if (image == 3) bits |= 4;
    return bits;
}

void CheckList::setItemState(int row, int bits) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_STATEIMAGEMASK;
    item.state = ((bits & 1) ? LVIS_SELECTED : 0) | INDEXTOSTATEIMAGEMASK((bits & 4) ? 3 : (bits & 2) ? 2 : 1);
    SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void CheckList::addColumn(int position, const std::wstring& title, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(title.c_str());
    column.cx = width;
    int at = static_cast<int>(
        SendMessageW(hwnd, LVM_INSERTCOLUMNW, static_cast<WPARAM>(position < 0 ? columns : position),
                     reinterpret_cast<LPARAM>(&column)));
    if (at < 0) return;
    ++columns;
    for (int row = 0, rows = itemCount(); row < rows; ++row)
        if (RowColors* colors = colorsOf(hwnd, row))
            colors->cells.insert(colors->cells.begin() + std::min<size_t>(static_cast<size_t>(at), colors->cells.size()),
                                 {0, 0});
}

long long CheckList::itemAttribute(int column, int attribute) {
    return attribute == 1 ? SendMessageW(hwnd, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0) : 0;
}

void CheckList::setItemAttribute(int column, int attribute, long long value) {
    if (attribute == 1) SendMessageW(hwnd, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), static_cast<LPARAM>(value));
}

void CheckList::setItemColor(int row, int which, int color, int column) {
    if (which != 1 && which != 2) return;
    const int rows = itemCount();
    if (row >= rows || row < -1) return;
    hasColors = true;
    for (int r = row == -1 ? 0 : row; r < (row == -1 ? rows : row + 1); ++r) {
        RowColors& colors = ensureColors(r);
        for (int col = column == -1 ? 0 : column; col < (column == -1 ? columns : column + 1); ++col) {
            if (col < 0 || static_cast<size_t>(col) >= colors.cells.size()) continue;
            int& slot = which == 1 ? colors.cells[static_cast<size_t>(col)].first : colors.cells[static_cast<size_t>(col)].second;
            slot = color < 0 ? 0 : color + 1;
        }
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

int CheckList::itemColor(int row, int which, int column) {
    RowColors* colors = row >= 0 && row < itemCount() ? colorsOf(hwnd, row) : nullptr;
    if (!colors || column < 0 || static_cast<size_t>(column) >= colors->cells.size()) return -1;
    const auto& cell = colors->cells[static_cast<size_t>(column)];
    int stored = which == 1 ? cell.first : which == 2 ? cell.second : 0;
    return stored - 1;
}

void CheckList::setColor(int which, int color) {
    switch (which) {
        case 1:
            SendMessageW(hwnd, LVM_SETTEXTCOLOR, 0, color < 0 ? listDefaults.text : static_cast<COLORREF>(color));
            break;
        case 2: {
            COLORREF background = color < 0 ? listDefaults.background : static_cast<COLORREF>(color);
            SendMessageW(hwnd, LVM_SETBKCOLOR, 0, background);
            SendMessageW(hwnd, LVM_SETTEXTBKCOLOR, 0, background);
            break;
        }
        default:
            return;
    }
    InvalidateRect(hwnd, nullptr, TRUE);
}

std::pair<int, int> CheckList::cellColors(const NMLVCUSTOMDRAW& draw) {
    auto* colors = reinterpret_cast<RowColors*>(draw.nmcd.lItemlParam);
    const size_t column = static_cast<size_t>(draw.iSubItem);
    return colors && column < colors->cells.size() ? colors->cells[column] : std::pair<int, int>{0, 0};
}

LRESULT CheckList::customDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            return hasColors || shareColumn >= 0 ? CDRF_NOTIFYSUBITEMDRAW : CDRF_DODEFAULT;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            const std::pair<int, int> cell = cellColors(draw);
            draw.clrText = cell.first ? static_cast<COLORREF>(cell.first - 1)
                                      : static_cast<COLORREF>(SendMessageW(hwnd, LVM_GETTEXTCOLOR, 0, 0));
            draw.clrTextBk = cell.second ? static_cast<COLORREF>(cell.second - 1)
                                         : static_cast<COLORREF>(SendMessageW(hwnd, LVM_GETTEXTBKCOLOR, 0, 0));
            return draw.iSubItem == shareColumn ? CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT : CDRF_NEWFONT;
        }
        case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
            if (draw.iSubItem == shareColumn) drawShare(draw);
            return CDRF_DODEFAULT;
        default:
            return CDRF_DODEFAULT;
    }
}

// The bar fills the cell's right half in the system's own colours, so that it
// shows in high contrast too; the share's number stands at the left as text.
void CheckList::drawShare(const NMLVCUSTOMDRAW& draw) {
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    const int share = shareOfRow(row);
    if (share < 0) return;
    RECT cell{};
    cell.top = draw.iSubItem;
    cell.left = LVIR_BOUNDS;
    if (!SendMessageW(hwnd, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell))) return;
    const int inset = std::max(2, static_cast<int>((cell.bottom - cell.top) / 5));
    RECT bar{cell.left + (cell.right - cell.left) / 2, cell.top + inset, cell.right - inset, cell.bottom - inset};
    if (bar.right - bar.left < 4) return;
    HDC dc = draw.nmcd.hdc;
    FrameRect(dc, &bar, GetSysColorBrush(COLOR_GRAYTEXT));
    RECT filled{bar.left + 1, bar.top + 1, bar.left + 1 + (bar.right - bar.left - 2) * std::min(share, 1000) / 1000,
                bar.bottom - 1};
    // A selected row is drawn in the highlight colour: its bar takes the highlight's text colour.
    const bool selected = (SendMessageW(hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
    if (filled.right > filled.left)
        FillRect(dc, &filled, GetSysColorBrush(selected ? COLOR_HIGHLIGHTTEXT : COLOR_HIGHLIGHT));
}

void CheckList::fillText(LVITEMW& item) {
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    const std::wstring text = itemText(item.iItem, item.iSubItem);
    const size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    wmemcpy(item.pszText, text.data(), length);
    item.pszText[length] = L'\0';
}

void CheckList::askForMenu(LPARAM at) {
    POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    menuRow = -1;
    const int rows = itemCount();
    if (at == static_cast<LPARAM>(-1)) {
        // From the keyboard: at the focused row, or the list's corner without one.
        const int focused = nextRow(-1, LVNI_FOCUSED);
        RECT box{};
        box.left = LVIR_LABEL;
        if (focused >= 0 && focused < rows &&
            SendMessageW(hwnd, LVM_GETITEMRECT, static_cast<WPARAM>(focused), reinterpret_cast<LPARAM>(&box))) {
            menuRow = focused;
            point = {box.left + 8, box.bottom};
        } else {
            point = {8, 8};
        }
        ClientToScreen(hwnd, &point);
    } else {
        LVHITTESTINFO hit{};
        hit.pt = point;
        ScreenToClient(hwnd, &hit.pt);
        SendMessageW(hwnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.iItem >= 0 && hit.iItem < rows && (hit.flags & LVHT_ONITEM)) menuRow = hit.iItem;
    }
    menuAt = point;
    raiseControlEvent(*this, kindMenu);
}

namespace {
constexpr UINT changeStates = LVIS_SELECTED | LVIS_STATEIMAGEMASK;
}  // namespace

bool CheckList::notify(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY) return false;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom != hwnd) return false;  // the header control's own notices
    result = 0;
    switch (header->code) {
        case NM_CUSTOMDRAW:
            result = customDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
            return true;
        case LVN_ITEMCHANGED: {
            auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
            if ((change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & changeStates))
                raiseControlEvent(*this, kindChange);
            return true;
        }
        case LVN_DELETEITEM:
            delete reinterpret_cast<RowColors*>(reinterpret_cast<NMLISTVIEW*>(lParam)->lParam);
            return true;
        case LVN_DELETEALLITEMS:
            result = FALSE;  // ask for LVN_DELETEITEM per row, so each block is freed
            return true;
        case NM_CLICK:
            if (SendMessageW(hwnd, LVM_GETSELECTEDCOUNT, 0, 0) > 0) raiseControlEvent(*this, kindClick);
            return true;
        case NM_RCLICK: raiseControlEvent(*this, kindRightClick); return true;
        case NM_DBLCLK: raiseControlEvent(*this, kindDoubleClick); return true;
        case NM_RDBLCLK: raiseControlEvent(*this, kindRightDoubleClick); return true;
        case LVN_BEGINDRAG: raiseControlEvent(*this, kindDragStart); return true;
        default: return false;
    }
}

void CheckList::tickAllItems(bool ticked) {
    LVITEMW item{};
    item.mask = LVIF_STATE;
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
    SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

int CheckList::tickedCount() {
    int ticked = 0;
    for (int row = 0, rows = itemCount(); row < rows; ++row)
        if (itemState(row) & 2) ++ticked;
    return ticked;
}

int CheckList::selectedCount() { return static_cast<int>(SendMessageW(hwnd, LVM_GETSELECTEDCOUNT, 0, 0)); }


std::intptr_t CheckListCreate(int number, int x, int y, int width, int height, const std::wstring& firstColumnTitle,
                        int firstColumnWidth, int flags) {
    const bool onDemand = (flags & listRowsOnDemand) != 0;
    DWORD style = LVS_REPORT | WS_TABSTOP | ((flags & listMultiSelect) ? 0 : LVS_SINGLESEL) |
                  ((flags & listShowSelectionAlways) ? LVS_SHOWSELALWAYS : 0) | (onDemand ? LVS_OWNERDATA : 0);
    Control* control = createControl(number, onDemand ? makeRowList() : std::make_unique<CheckList>(),
                                     WC_LISTVIEWW, style, WS_EX_CLIENTEDGE, x, y, width, height, L"");
    if (!control) return 0;

    DWORD extended = LVS_EX_DOUBLEBUFFER;
    if (flags & listCheckBoxes) extended |= LVS_EX_CHECKBOXES;
    if (flags & listFullRowSelect) extended |= LVS_EX_FULLROWSELECT;
    SendMessageW(control->hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    // A list that asks for its rows is asked for their boxes too.
    if (onDemand) SendMessageW(control->hwnd, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);

    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(firstColumnTitle.c_str());
    column.cx = firstColumnWidth;
    SendMessageW(control->hwnd, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));

    if (!listDefaults.known) {
        listDefaults.known = true;
        listDefaults.text = static_cast<COLORREF>(SendMessageW(control->hwnd, LVM_GETTEXTCOLOR, 0, 0));
        listDefaults.background = static_cast<COLORREF>(SendMessageW(control->hwnd, LVM_GETBKCOLOR, 0, 0));
    }
    return createdResult(number, control);
}
