// The multi-column list with check boxes and per-cell colours.
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/ui_state.h"

#include <commctrl.h>

#include <algorithm>

INT_PTR createdResult(int requested, const Control* control);

namespace {

// A row's colours travel with the row: the block hangs off the row's item data.
struct RowColors {
    LPARAM rowData = 0;
    std::vector<std::pair<int, int>> cells;  // (text colour + 1, background + 1); 0 = not set
};

struct ListRecord : KindRecord {
    size_t longestCell = 0;
    HIMAGELIST images = nullptr;
    int flags = 0;
    bool hasColors = false;
    int gridColor = -1;
    int columns = 1;
    ~ListRecord() override {
        if (images) ImageList_Destroy(images);
    }
};

struct ListDefaults {
    bool known = false;
    COLORREF text = 0, background = 0;
};

ListDefaults listDefaults;

ListRecord& recordOf(Control& c) { return static_cast<ListRecord&>(*c.record); }

RowColors* colorsOf(HWND list, int row) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    return reinterpret_cast<RowColors*>(item.lParam);
}

RowColors& ensureColors(Control& c, int row) {
    RowColors* colors = colorsOf(c.hwnd, row);
    if (!colors) {
        colors = new RowColors;
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        item.lParam = reinterpret_cast<LPARAM>(colors);
        SendMessageW(c.hwnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    colors->cells.resize(static_cast<size_t>(std::max(recordOf(c).columns, 1)));
    return *colors;
}

int rowCount(Control& c) { return static_cast<int>(SendMessageW(c.hwnd, LVM_GETITEMCOUNT, 0, 0)); }

void setCell(Control& c, int row, int column, const std::wstring& text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(c.hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    recordOf(c).longestCell = std::max(recordOf(c).longestCell, text.size());
}

std::wstring columnTitle(Control& c, int column) {
    wchar_t buffer[512] = L"";
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = buffer;
    info.cchTextMax = 512;
    SendMessageW(c.hwnd, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    return buffer;
}

void setColumnTitle(Control& c, int column, const std::wstring& title) {
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = const_cast<wchar_t*>(title.c_str());
    SendMessageW(c.hwnd, LVM_SETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
}

// Kind operations --------------------------------------------------------------

void listAddItem(Control& c, int position, const std::wstring& text, HANDLE image) {
    ListRecord& record = recordOf(c);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = position < 0 || position > rowCount(c) ? rowCount(c) : position;
    size_t end = text.find(L'\n');
    std::wstring first = text.substr(0, end);
    item.pszText = first.data();
    if (image) {
        if (!record.images) {
            record.images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
            SendMessageW(c.hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(record.images));
        }
        item.mask |= LVIF_IMAGE;
        item.iImage = ImageList_AddIcon(record.images, static_cast<HICON>(image));
    }
    int row = static_cast<int>(SendMessageW(c.hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return;
    record.longestCell = std::max(record.longestCell, first.size());
    for (int column = 1; end != std::wstring::npos && column < record.columns; ++column) {
        size_t start = end + 1;
        end = text.find(L'\n', start);
        std::wstring cell = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!cell.empty()) setCell(c, row, column, cell);
    }
}

void listRemoveItem(Control& c, int row) { SendMessageW(c.hwnd, LVM_DELETEITEM, static_cast<WPARAM>(row), 0); }
void listClear(Control& c) { SendMessageW(c.hwnd, LVM_DELETEALLITEMS, 0, 0); }

long long listState(Control& c) { return SendMessageW(c.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED); }

void listSetState(Control& c, long long row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageW(c.hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    if (row < 0) return;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(c.hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageW(c.hwnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

std::wstring listItemText(Control& c, int row, int column) {
    if (row == -1) return columnTitle(c, column);
    std::wstring text(recordOf(c).longestCell + 1, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    LRESULT length = SendMessageW(c.hwnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    text.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
    return text;
}

std::wstring listText(Control& c) {
    long long row = listState(c);
    return row < 0 ? std::wstring() : listItemText(c, static_cast<int>(row), 0);
}

void listSetItemText(Control& c, int row, const std::wstring& text, int column) {
    std::wstring cell = text.substr(0, text.find(L'\n'));
    if (row == -1) {
        setColumnTitle(c, column, cell);
    } else {
        setCell(c, row, column, cell);
    }
}

int listItemState(Control& c, int row) {
    UINT state = static_cast<UINT>(
        SendMessageW(c.hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED | LVIS_STATEIMAGEMASK));
    int bits = (state & LVIS_SELECTED) ? 1 : 0;
    UINT image = (state & LVIS_STATEIMAGEMASK) >> 12;
    if (image == 2) bits |= 2;
    if (image == 3) bits |= 4;
    return bits;
}

void listSetItemState(Control& c, int row, int bits) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_STATEIMAGEMASK;
    item.state = ((bits & 1) ? LVIS_SELECTED : 0) | INDEXTOSTATEIMAGEMASK((bits & 4) ? 3 : (bits & 2) ? 2 : 1);
    SendMessageW(c.hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void listAddColumn(Control& c, int position, const std::wstring& title, int width) {
    ListRecord& record = recordOf(c);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(title.c_str());
    column.cx = width;
    int at = static_cast<int>(
        SendMessageW(c.hwnd, LVM_INSERTCOLUMNW, static_cast<WPARAM>(position < 0 ? record.columns : position),
                     reinterpret_cast<LPARAM>(&column)));
    if (at < 0) return;
    ++record.columns;
    for (int row = 0, rows = rowCount(c); row < rows; ++row)
        if (RowColors* colors = colorsOf(c.hwnd, row))
            colors->cells.insert(colors->cells.begin() + std::min<size_t>(static_cast<size_t>(at), colors->cells.size()),
                                 {0, 0});
}

long long listColumnAttribute(Control& c, int column, int attribute) {
    return attribute == 1 ? SendMessageW(c.hwnd, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0) : 0;
}

void listSetColumnAttribute(Control& c, int column, int attribute, long long value) {
    if (attribute == 1) SendMessageW(c.hwnd, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), static_cast<LPARAM>(value));
}

void listSetItemColor(Control& c, int row, int which, int color, int column) {
    if (which != 1 && which != 2) return;
    const int rows = rowCount(c);
    if (row >= rows || row < -1) return;
    ListRecord& record = recordOf(c);
    record.hasColors = true;
    for (int r = row == -1 ? 0 : row; r < (row == -1 ? rows : row + 1); ++r) {
        RowColors& colors = ensureColors(c, r);
        for (int col = column == -1 ? 0 : column; col < (column == -1 ? record.columns : column + 1); ++col) {
            if (col < 0 || static_cast<size_t>(col) >= colors.cells.size()) continue;
            int& slot = which == 1 ? colors.cells[static_cast<size_t>(col)].first : colors.cells[static_cast<size_t>(col)].second;
            slot = color < 0 ? 0 : color + 1;
        }
    }
    InvalidateRect(c.hwnd, nullptr, FALSE);
}

int listItemColor(Control& c, int row, int which, int column) {
    RowColors* colors = row >= 0 && row < rowCount(c) ? colorsOf(c.hwnd, row) : nullptr;
    if (!colors || column < 0 || static_cast<size_t>(column) >= colors->cells.size()) return -1;
    const auto& cell = colors->cells[static_cast<size_t>(column)];
    int stored = which == 1 ? cell.first : which == 2 ? cell.second : 0;
    return stored - 1;
}

void listSetColor(Control& c, int which, int color) {
    switch (which) {
        case 1:
            SendMessageW(c.hwnd, LVM_SETTEXTCOLOR, 0, color < 0 ? listDefaults.text : static_cast<COLORREF>(color));
            break;
        case 2: {
            COLORREF background = color < 0 ? listDefaults.background : static_cast<COLORREF>(color);
            SendMessageW(c.hwnd, LVM_SETBKCOLOR, 0, background);
            SendMessageW(c.hwnd, LVM_SETTEXTBKCOLOR, 0, background);
            break;
        }
        case 3:
            recordOf(c).gridColor = color;
            break;
        default:
            return;
    }
    InvalidateRect(c.hwnd, nullptr, TRUE);
}

void drawGridLines(Control& c, HDC dc) {
    ListRecord& record = recordOf(c);
    HPEN pen = CreatePen(PS_SOLID, 1, record.gridColor < 0 ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(record.gridColor));
    HGDIOBJ old = SelectObject(dc, pen);
    RECT client;
    GetClientRect(c.hwnd, &client);
    int top = static_cast<int>(SendMessageW(c.hwnd, LVM_GETTOPINDEX, 0, 0));
    for (int row = top, rows = rowCount(c); row < rows; ++row) {
        RECT bounds{};
        bounds.left = LVIR_BOUNDS;
        if (!SendMessageW(c.hwnd, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds))) break;
        if (bounds.top > client.bottom) break;
        MoveToEx(dc, client.left, bounds.bottom - 1, nullptr);
        LineTo(dc, client.right, bounds.bottom - 1);
    }
    int x = -static_cast<int>(GetScrollPos(c.hwnd, SB_HORZ));
    for (int column = 0; column < record.columns; ++column) {
        x += static_cast<int>(SendMessageW(c.hwnd, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
        MoveToEx(dc, x - 1, client.top, nullptr);
        LineTo(dc, x - 1, client.bottom);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

LRESULT customDraw(Control& c, NMLVCUSTOMDRAW& draw) {
    ListRecord& record = recordOf(c);
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW | ((record.flags & listGridLines) ? CDRF_NOTIFYPOSTPAINT : 0);
        case CDDS_ITEMPREPAINT:
            return record.hasColors ? CDRF_NOTIFYSUBITEMDRAW : CDRF_DODEFAULT;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            auto* colors = reinterpret_cast<RowColors*>(draw.nmcd.lItemlParam);
            size_t column = static_cast<size_t>(draw.iSubItem);
            std::pair<int, int> cell{0, 0};
            if (colors && column < colors->cells.size()) cell = colors->cells[column];
            draw.clrText = cell.first ? static_cast<COLORREF>(cell.first - 1)
                                      : static_cast<COLORREF>(SendMessageW(c.hwnd, LVM_GETTEXTCOLOR, 0, 0));
            draw.clrTextBk = cell.second ? static_cast<COLORREF>(cell.second - 1)
                                         : static_cast<COLORREF>(SendMessageW(c.hwnd, LVM_GETTEXTBKCOLOR, 0, 0));
            return CDRF_NEWFONT;
        }
        case CDDS_POSTPAINT:
            drawGridLines(c, draw.nmcd.hdc);
            return CDRF_DODEFAULT;
        default:
            return CDRF_DODEFAULT;
    }
}

constexpr UINT changeStates = LVIS_SELECTED | LVIS_STATEIMAGEMASK;

bool listNotify(Control& c, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY) return false;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom != c.hwnd) return false;  // the header control's own notices
    result = 0;
    switch (header->code) {
        case NM_CUSTOMDRAW:
            result = customDraw(c, *reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
            return true;
        case LVN_ITEMCHANGED: {
            auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
            if ((change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & changeStates))
                raiseControlEvent(c, kindChange);
            return true;
        }
        case LVN_DELETEITEM:
            delete reinterpret_cast<RowColors*>(reinterpret_cast<NMLISTVIEW*>(lParam)->lParam);
            return true;
        case LVN_DELETEALLITEMS:
            result = FALSE;  // ask for LVN_DELETEITEM per row, so each block is freed
            return true;
        case NM_CLICK:
            if (SendMessageW(c.hwnd, LVM_GETSELECTEDCOUNT, 0, 0) > 0) raiseControlEvent(c, kindClick);
            return true;
        case NM_RCLICK: raiseControlEvent(c, kindRightClick); return true;
        case NM_DBLCLK: raiseControlEvent(c, kindDoubleClick); return true;
        case NM_RDBLCLK: raiseControlEvent(c, kindRightDoubleClick); return true;
        case LVN_BEGINDRAG: raiseControlEvent(c, kindDragStart); return true;
        default: return false;
    }
}

void listDestroy(Control& c) {
    // Free the colour blocks while the rows still exist.
    if (c.hwnd) SendMessageW(c.hwnd, LVM_DELETEALLITEMS, 0, 0);
}

const ControlKind checkListKind{
    .number = kindCheckList,
    .notify = listNotify,
    .destroy = listDestroy,
    .getState = listState,
    .setState = listSetState,
    .getText = listText,
    .addItem = listAddItem,
    .removeItem = listRemoveItem,
    .clearItems = listClear,
    .countItems = rowCount,
    .getItemState = listItemState,
    .setItemState = listSetItemState,
    .getItemText = listItemText,
    .setItemText = listSetItemText,
    .addColumn = listAddColumn,
    .getItemAttribute = listColumnAttribute,
    .setItemAttribute = listSetColumnAttribute,
    .setColor = listSetColor,
    .setItemColor = listSetItemColor,
    .getItemColor = listItemColor,
};

}  // namespace

INT_PTR CheckListCreate(int number, int x, int y, int width, int height, const std::wstring& firstColumnTitle,
                        int firstColumnWidth, int flags) {
    DWORD style = LVS_REPORT | WS_TABSTOP | ((flags & listMultiSelect) ? 0 : LVS_SINGLESEL) |
                  ((flags & listShowSelectionAlways) ? LVS_SHOWSELALWAYS : 0);
    Control* control = createControl(number, checkListKind, WC_LISTVIEWW, style, WS_EX_CLIENTEDGE, x, y, width, height, L"");
    if (!control) return 0;
    auto record = std::make_unique<ListRecord>();
    record->flags = flags;
    control->record = std::move(record);

    DWORD extended = LVS_EX_DOUBLEBUFFER;
    if (flags & listCheckBoxes) extended |= LVS_EX_CHECKBOXES;
    if (flags & listFullRowSelect) extended |= LVS_EX_FULLROWSELECT;
    if (flags & listHeaderDragDrop) extended |= LVS_EX_HEADERDRAGDROP;
    SendMessageW(control->hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);

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
