// The tabbed panel: one hidden container window per tab holds that tab's controls.
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/event_queue.h"
#include "toolkit/ui_objects.h"

#include <commctrl.h>


namespace {

class TabPanel final : public Control {
public:
    TabPanel() : Control(kindTabPanel) {}
    ~TabPanel() override {
        for (HWND container : containers) DestroyWindow(container);
        if (images) ImageList_Destroy(images);
    }

    bool notify(UINT message, WPARAM, LPARAM lParam, LRESULT& result) override;
    long long state() override;
    void setState(long long index) override;
    void addItem(int position, const std::wstring& caption, HANDLE image) override;
    int itemCount() override;
    std::wstring itemText(int tab, int) override;
    void setItemText(int tab, const std::wstring& caption, int) override;
    // The pages fill the display area, which moves with the panel's size and font.
    void place(int x, int y, int width, int height) override;

private:
    void showSelectedTab();

    std::vector<HWND> containers;  // one per tab, holding its controls
    HIMAGELIST images = nullptr;
};

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

void TabPanel::place(int x, int y, int width, int height) {
    Control::place(x, y, width, height);
    const RECT area = displayArea(hwnd);
    for (HWND container : containers)
        MoveWindow(container, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

void TabPanel::showSelectedTab() {
    int selected = static_cast<int>(SendMessageW(hwnd, TCM_GETCURSEL, 0, 0));
    for (size_t i = 0; i < containers.size(); ++i) {
        bool shown = static_cast<int>(i) == selected;
        HWND container = containers[i];
        ShowWindow(container, shown ? SW_SHOW : SW_HIDE);
        EnableWindow(container, shown);
    }
}

void TabPanel::addItem(int position, const std::wstring& caption, HANDLE image) {
    UiState& state = ui();
    int count = static_cast<int>(containers.size());
    int at = position < 0 || position > count ? count : position;

    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    if (image) {
        if (!images) {
            images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
            SendMessageW(hwnd, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
        }
        item.mask |= TCIF_IMAGE;
        item.iImage = ImageList_AddIcon(images, static_cast<HICON>(image));
    }
    if (SendMessageW(hwnd, TCM_INSERTITEMW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&item)) < 0) return;

    RECT area = displayArea(hwnd);
    HWND container = CreateWindowExW(WS_EX_CONTROLPARENT, L"STATIC", L"", WS_CHILD | WS_CLIPCHILDREN, area.left,
                                     area.top, area.right - area.left, area.bottom - area.top, hwnd, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    if (!container) return;
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(container, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(containerProc)));
    if (!staticProc) staticProc = previous;
    containers.insert(containers.begin() + at, container);
    state.currentParent = container;  // the tab's controls are created next
    showSelectedTab();
}

long long TabPanel::state() { return SendMessageW(hwnd, TCM_GETCURSEL, 0, 0); }

void TabPanel::setState(long long index) {
    SendMessageW(hwnd, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    showSelectedTab();
}

int TabPanel::itemCount() { return static_cast<int>(SendMessageW(hwnd, TCM_GETITEMCOUNT, 0, 0)); }

std::wstring TabPanel::itemText(int tab, int) {
    wchar_t buffer[260] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 260;
    SendMessageW(hwnd, TCM_GETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void TabPanel::setItemText(int tab, const std::wstring& caption, int) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    SendMessageW(hwnd, TCM_SETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
}

bool TabPanel::notify(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY) return false;
    result = 0;
    switch (reinterpret_cast<NMHDR*>(lParam)->code) {
        case TCN_SELCHANGE:
            showSelectedTab();
            raiseControlEvent(*this, kindChange);
            return true;
        case NM_CLICK:
            raiseControlEvent(*this, kindRightClick);  // a click on the tab strip
            return true;
        default:
            return false;
    }
}

}  // namespace

std::intptr_t TabPanelCreate(int number, int x, int y, int width, int height) {
    UiState& state = ui();
    HWND parent = state.currentParent;
    Control* control = createControl(number, std::make_unique<TabPanel>(), WC_TABCONTROLW, WS_CLIPSIBLINGS | WS_TABSTOP,
                                     WS_EX_CONTROLPARENT, x, y, width, height, L"");
    if (!control) return 0;
    state.parentStack.push_back(parent);
    return createdResult(number, control);
}
