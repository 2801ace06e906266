#include "toolkit/controls.h"

#include "toolkit/events.h"
#include "toolkit/native.h"
#include "toolkit/resources.h"
#include "toolkit/event_queue.h"
#include "toolkit/ui_objects.h"

#include <commctrl.h>

namespace {

Control* find(int number) { return ui().controls.find(number); }

// A change the toolkit makes to a control: the events it causes are not queued.
template <typename Change>
void change(int number, Change change) {
    if (Control* control = find(number)) {
        OperationInProgress busy;
        change(*control);
    }
}

}  // namespace

LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Control* control = controlOfWindow(hwnd);
    if (!control) return DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    if (control->message(message, wParam, lParam, result)) return result;
    return CallWindowProcW(control->previousProc, hwnd, message, wParam, lParam);
}

bool handleControlNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND from = nullptr;
    if (message == WM_NOTIFY) {
        from = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    } else {
        from = reinterpret_cast<HWND>(lParam);
    }
    Control* control = controlOfWindow(from);
    // A drop-down list's inner edit or a list's header report for their control.
    if (!control && from) control = controlOfWindow(GetParent(from));
    if (!control) return false;

    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
        if (control->textColor < 0 && control->backColor < 0) return false;
        if (!IsWindowEnabled(control->hwnd)) return false;
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (control->textColor >= 0) SetTextColor(dc, static_cast<COLORREF>(control->textColor));
        if (control->backColor < 0) {
            SetBkMode(dc, TRANSPARENT);
            result = reinterpret_cast<LRESULT>(GetSysColorBrush(message == WM_CTLCOLOREDIT ? COLOR_WINDOW : COLOR_BTNFACE));
        } else {
            SetBkColor(dc, static_cast<COLORREF>(control->backColor));
            result = reinterpret_cast<LRESULT>(control->backBrush);
        }
        return true;
    }
    if (control->notify(message, wParam, lParam, result)) return true;
    if (message == WM_COMMAND) {
        raiseControlEvent(*control, HIWORD(wParam));
        result = 0;
        return true;
    }
    return false;
}

Control* createControl(int number, std::unique_ptr<Control> control, const wchar_t* className, DWORD style,
                       DWORD exStyle, int x, int y, int width, int height, const std::wstring& text) {
    UiState& state = ui();
    if (number < anyNumber || !state.currentParent) return nullptr;
    if (number != anyNumber) ControlDestroy(number);
    const int chosen = state.controls.reserve(number);

    HWND hwnd = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                state.currentParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(chosen)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return nullptr;
    control->hwnd = hwnd;
    control->number = chosen;
    state.controlsByWindow[hwnd] = control.get();
    control->previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc)));
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(state.defaultFont), TRUE);
    return &state.controls.put(chosen, std::move(control));
}

// What a creating call returns: the native handle, or the number it handed out.
std::intptr_t createdResult(int requested, const Control* control) {
    if (!control) return 0;
    return requested == anyNumber ? control->number : reinterpret_cast<std::intptr_t>(control->hwnd);
}

void ControlSetText(int number, const std::wstring& text) {
    change(number, [&](Control& control) { control.setText(text); });
}

std::wstring ControlText(int number) {
    Control* control = find(number);
    if (!control) return {};
    return control->text();
}

long long ControlState(int number) {
    Control* control = find(number);
    return control ? control->state() : 0;
}

constexpr UINT setStateMessage = WM_APP + 1;
constexpr UINT workEndedMessage = WM_APP + 2;

void ControlSetState(int number, long long value) {
    UiState& state = ui();
    if (GetCurrentThreadId() != state.uiThread && state.postWindow) {
        // Controls belong to the user-interface thread; it carries the change out.
        PostMessageW(state.postWindow, setStateMessage, static_cast<WPARAM>(number), static_cast<LPARAM>(value));
        return;
    }
    change(number, [&](Control& control) { control.setState(value); });
}

void ControlAddItem(int number, int position, const std::wstring& text) { ControlAddItem(number, position, text, nullptr); }

void ControlAddImageItem(int number, int position, const std::wstring& text, int image) {
    ControlAddItem(number, position, text, ImageNativeHandle(image));
}

void ControlAddItem(int number, int position, const std::wstring& text, HANDLE image) {
    change(number, [&](Control& control) { control.addItem(position, text, image); });
}

void ControlRemoveItem(int number, int item) {
    change(number, [&](Control& control) { control.removeItem(item); });
}

void ControlClearItems(int number) {
    change(number, [&](Control& control) { control.clearItems(); });
}

int ControlItemCount(int number) {
    Control* control = find(number);
    return control ? control->itemCount() : 0;
}

std::wstring ControlItemText(int number, int item, int column) {
    Control* control = find(number);
    return control ? control->itemText(item, column) : std::wstring();
}

void ControlSetItemText(int number, int item, const std::wstring& text, int column) {
    change(number, [&](Control& control) { control.setItemText(item, text, column); });
}

int ControlItemState(int number, int item) {
    Control* control = find(number);
    return control ? control->itemState(item) : 0;
}

void ControlSetItemState(int number, int item, int state) {
    Control* control = find(number);
    if (control) control->setItemState(item, state);
}

void ControlTickAllItems(int number, bool ticked) {
    if (Control* control = find(number)) control->tickAllItems(ticked);
}

int ControlTickedCount(int number) {
    Control* control = find(number);
    return control ? control->tickedCount() : 0;
}

void ControlShowRows(int number, int count, const RowSource& source) {
    change(number, [&](Control& control) { control.showRows(count, source); });
}

void ControlShowTree(int number, const std::vector<int>& top, const TreeSource& source) {
    change(number, [&](Control& control) { control.showTree(top, source); });
}

void ControlRedrawRows(int number) {
    if (Control* control = find(number)) InvalidateRect(control->hwnd, nullptr, FALSE);
}

int ControlItemKey(int number, int row) {
    Control* control = find(number);
    return control ? control->itemKey(row) : row;
}

int ControlSelectedCount(int number) {
    Control* control = find(number);
    return control ? control->selectedCount() : 0;
}

void ControlSetItemColor(int number, int item, int which, int color, int column) {
    Control* control = find(number);
    if (control) control->setItemColor(item, which, color, column);
}

int ControlItemColor(int number, int item, int which, int column) {
    Control* control = find(number);
    return control ? control->itemColor(item, which, column) : -1;
}

void ControlSetColor(int number, int which, int color) {
    if (Control* control = find(number)) control->setColor(which, color);
}

void ControlAddColumn(int number, int position, const std::wstring& title, int width) {
    Control* control = find(number);
    if (control) control->addColumn(position, title, width);
}

void ControlSetAttribute(int number, int attribute, long long value) {
    Control* control = find(number);
    if (control) control->setAttribute(attribute, value);
}

long long ControlAttribute(int number, int attribute) {
    Control* control = find(number);
    return control ? control->attribute(attribute) : 0;
}

long long ControlItemAttribute(int number, int item, int attribute) {
    Control* control = find(number);
    return control ? control->itemAttribute(item, attribute) : 0;
}

void ControlSetItemAttribute(int number, int item, int attribute, long long value) {
    change(number, [&](Control& control) { control.setItemAttribute(item, attribute, value); });
}

void ControlPlace(int number, int x, int y, int width, int height) {
    change(number, [&](Control& control) { control.place(x, y, width, height); });
}

void ControlUseFont(int number, int font) {
    HFONT handle = FontNativeHandle(font);
    Control* control = find(number);
    if (handle && control) SendMessageW(control->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
}

void ControlSetFocus(int number) {
    if (number == -1) {
        SetFocus(nullptr);
        return;
    }
    if (Control* control = find(number)) SetFocus(control->hwnd);
}

int ControlFocus() {
    // Inner windows (a browser's document view, a drop-down list's edit) answer for their control.
    for (HWND hwnd = GetFocus(); hwnd; hwnd = GetParent(hwnd))
        if (Control* control = controlOfWindow(hwnd)) return control->number;
    return -1;
}

void ControlSetDisabled(int number, int disabled) {
    // Each change is a trip to the window server under Wine; the state is read
    // from the window's own record.
    Control* control = find(number);
    if (control && (IsWindowEnabled(control->hwnd) != FALSE) == (disabled != 0)) EnableWindow(control->hwnd, !disabled);
}

int ControlKindOf(int number) {
    Control* control = find(number);
    return control ? control->kind : 0;
}

HWND ControlNativeHandle(int number) {
    Control* control = find(number);
    return control ? control->hwnd : nullptr;
}

void ControlDestroy(int number) {
    UiState& state = ui();
    if (number == -1) {
        for (int each : state.controls.numbers()) ControlDestroy(each);
        return;
    }
    Control* control = state.controls.find(number);
    if (!control) return;
    // Controls inside it (a tabbed panel's pages) go first, while it still exists.
    for (int each : state.controls.numbers()) {
        Control* other = state.controls.find(each);
        if (other && other != control && IsChild(control->hwnd, other->hwnd)) ControlDestroy(each);
    }
    state.controls.take(number);  // the record's destructor destroys the native control
    dropEvents(-1, number);
}

void ControlRaise(int number) {
    if (Control* control = find(number)) SetWindowPos(control->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void ControlPaintNow(int number) {
    if (Control* control = find(number))
        RedrawWindow(control->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

void ControlSetTooltip(int number, const std::wstring& text) {
    UiState& state = ui();
    Control* control = find(number);
    if (!control) return;
    if (!state.tooltip) {
        state.tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
        if (!state.tooltip) return;
        SendMessageW(state.tooltip, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    HWND target = control->hwnd;
    // A drop-down list shows its tip over its inner field.
    if (control->kind == kindComboBox)
        if (HWND inner = GetWindow(control->hwnd, GW_CHILD)) target = inner;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(target);
    tool.uId = reinterpret_cast<UINT_PTR>(target);
    SendMessageW(state.tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(state.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ContainerEnd() {
    UiState& state = ui();
    if (state.parentStack.empty()) return;
    state.currentParent = state.parentStack.back();
    state.parentStack.pop_back();
}

void ContainerEnter(int window) {
    UiState& state = ui();
    HWND hwnd = WindowNativeHandle(window);
    if (!hwnd) return;
    state.parentStack.push_back(state.currentParent);
    state.currentParent = hwnd;
}

LRESULT CALLBACK postWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == setStateMessage) {
        ControlSetState(static_cast<int>(wParam), static_cast<long long>(lParam));
        return 0;
    }
    if (message == workEndedMessage) {
        raiseEvent(eventWorkEnded, -1, -1, 0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

static_assert(controlDisabled == WS_DISABLED);

void WebPanelFocusPage(int number) {
    if (Control* control = find(number)) control->focusPage();
}

std::wstring Control::text() {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}

void Control::setText(const std::wstring& text) { SetWindowTextW(hwnd, text.c_str()); }

void Control::place(int x, int y, int width, int height) { MoveWindow(hwnd, x, y, width, height, TRUE); }

// Plain controls (edit fields above all) colour themselves through their parent's colour messages.
void Control::setColor(int which, int color) {
    if (which == 1) textColor = color;
    if (which == 2) {
        backColor = color;
        if (backBrush) DeleteObject(backBrush);
        backBrush = color >= 0 ? CreateSolidBrush(static_cast<COLORREF>(color)) : nullptr;
    }
    InvalidateRect(hwnd, nullptr, TRUE);
}

int ControlMenuRow(int number) {
    Control* control = find(number);
    return control ? control->menuRow : -1;
}

void EventRaiseWorkEnded() { PostMessageW(ui().postWindow, workEndedMessage, 0, 0); }

int ControlShowMenu(int number, const std::vector<std::wstring>& entries) {
    Control* control = find(number);
    if (!control || entries.empty()) return 0;
    return personCalls().chooseFromMenu(GetAncestor(control->hwnd, GA_ROOT), entries, control->menuAt.x,
                                        control->menuAt.y);
}
