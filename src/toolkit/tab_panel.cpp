// The tabbed panel: one hidden container window per tab holds that tab's controls.
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/ui_state.h"

#include <commctrl.h>

INT_PTR createdResult(int requested, const Control* control);

namespace {

struct TabRecord : KindRecord {
    std::vector<HWND> containers;
    HIMAGELIST images = nullptr;
    ~TabRecord() override {
        for (HWND container : containers) DestroyWindow(container);
        if (images) ImageList_Destroy(images);
    }
};

TabRecord& recordOf(Control& c) { return static_cast<TabRecord&>(*c.record); }

WNDPROC staticProc = nullptr;

// Containers pass their children's notices up, as the window procedure would.
LRESULT CALLBACK containerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            LRESULT result = 0;
            if (handleControlNotification(message, wParam, lParam, result)) return result;
            break;
        }
        default:
            break;
    }
    return CallWindowProcW(staticProc, hwnd, message, wParam, lParam);
}

RECT displayArea(HWND tab) {
    RECT area;
    GetClientRect(tab, &area);
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}

void showSelectedTab(Control& c) {
    TabRecord& record = recordOf(c);
    int selected = static_cast<int>(SendMessageW(c.hwnd, TCM_GETCURSEL, 0, 0));
    for (size_t i = 0; i < record.containers.size(); ++i) {
        bool shown = static_cast<int>(i) == selected;
        HWND container = record.containers[i];
        ShowWindow(container, shown ? SW_SHOW : SW_HIDE);
        EnableWindow(container, shown);
    }
}

void tabAddItem(Control& c, int position, const std::wstring& caption, HANDLE image) {
    UiState& state = ui();
    TabRecord& record = recordOf(c);
    int count = static_cast<int>(record.containers.size());
    int at = position < 0 || position > count ? count : position;

    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    if (image) {
        if (!record.images) {
            record.images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
            SendMessageW(c.hwnd, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(record.images));
        }
        item.mask |= TCIF_IMAGE;
        item.iImage = ImageList_AddIcon(record.images, static_cast<HICON>(image));
    }
    if (SendMessageW(c.hwnd, TCM_INSERTITEMW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&item)) < 0) return;

    RECT area = displayArea(c.hwnd);
    HWND container = CreateWindowExW(WS_EX_CONTROLPARENT, L"STATIC", L"", WS_CHILD | WS_CLIPCHILDREN, area.left,
                                     area.top, area.right - area.left, area.bottom - area.top, c.hwnd, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    if (!container) return;
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(container, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(containerProc)));
    if (!staticProc) staticProc = previous;
    record.containers.insert(record.containers.begin() + at, container);
    state.currentParent = container;  // the tab's controls are created next
    showSelectedTab(c);
}

long long tabState(Control& c) { return SendMessageW(c.hwnd, TCM_GETCURSEL, 0, 0); }

void tabSetState(Control& c, long long index) {
    SendMessageW(c.hwnd, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    showSelectedTab(c);
}

int tabCount(Control& c) { return static_cast<int>(SendMessageW(c.hwnd, TCM_GETITEMCOUNT, 0, 0)); }

std::wstring tabItemText(Control& c, int tab, int) {
    wchar_t buffer[260] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 260;
    SendMessageW(c.hwnd, TCM_GETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void tabSetItemText(Control& c, int tab, const std::wstring& caption, int) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    SendMessageW(c.hwnd, TCM_SETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
}

bool tabNotify(Control& c, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY) return false;
    result = 0;
    switch (reinterpret_cast<NMHDR*>(lParam)->code) {
        case TCN_SELCHANGE:
            showSelectedTab(c);
            raiseControlEvent(c, kindChange);
            return true;
        case NM_CLICK:
            raiseControlEvent(c, kindRightClick);  // a click on the tab strip
            return true;
        default:
            return false;
    }
}

const ControlKind tabPanelKind{
    .number = kindTabPanel,
    .notify = tabNotify,
    .getState = tabState,
    .setState = tabSetState,
    .addItem = tabAddItem,
    .countItems = tabCount,
    .getItemText = tabItemText,
    .setItemText = tabSetItemText,
};

}  // namespace

INT_PTR TabPanelCreate(int number, int x, int y, int width, int height) {
    UiState& state = ui();
    HWND parent = state.currentParent;
    Control* control = createControl(number, tabPanelKind, WC_TABCONTROLW, WS_CLIPSIBLINGS | WS_TABSTOP,
                                     WS_EX_CONTROLPARENT, x, y, width, height, L"");
    if (!control) return 0;
    control->record = std::make_unique<TabRecord>();
    state.parentStack.push_back(parent);
    return createdResult(number, control);
}
