// The plain control kinds: labels, edit fields, check boxes, buttons, frames,
// image controls, drop-down lists and progress bars.
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/ui_state.h"

#include <commctrl.h>
#include <shlwapi.h>

INT_PTR createdResult(int requested, const Control* control);

namespace {

constexpr DWORD tabStopGroup = WS_TABSTOP | WS_GROUP;

// Check box ----------------------------------------------------------------

long long checkBoxState(Control& c) { return SendMessageW(c.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; }
void checkBoxSetState(Control& c, long long value) {
    SendMessageW(c.hwnd, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Drop-down list -------------------------------------------------------------

bool comboNotify(Control& c, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND) return false;
    switch (HIWORD(wParam)) {
        case CBN_SELCHANGE: raiseControlEvent(c, kindChange); break;
        case CBN_SETFOCUS: raiseControlEvent(c, kindFocus); break;
        case CBN_KILLFOCUS: raiseControlEvent(c, kindFocusLost); break;
        default: return false;
    }
    result = 0;
    return true;
}

long long comboAttribute(Control& c, int attribute) {
    return attribute == comboListOpen && SendMessageW(c.hwnd, CB_GETDROPPEDSTATE, 0, 0) ? 1 : 0;
}

long long comboState(Control& c) { return SendMessageW(c.hwnd, CB_GETCURSEL, 0, 0); }
void comboSetState(Control& c, long long value) { SendMessageW(c.hwnd, CB_SETCURSEL, static_cast<WPARAM>(value), 0); }

std::wstring comboItemText(Control& c, int item, int) {
    LRESULT length = SendMessageW(c.hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = SendMessageW(c.hwnd, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()));
    text.resize(length == CB_ERR ? 0 : static_cast<size_t>(length));
    return text;
}

std::wstring comboText(Control& c) {
    LRESULT selected = SendMessageW(c.hwnd, CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? std::wstring() : comboItemText(c, static_cast<int>(selected), 0);
}

void comboAddItem(Control& c, int position, const std::wstring& text, HANDLE) {
    int count = static_cast<int>(SendMessageW(c.hwnd, CB_GETCOUNT, 0, 0));
    WPARAM at = position < 0 || position >= count ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(position);
    SendMessageW(c.hwnd, CB_INSERTSTRING, at, reinterpret_cast<LPARAM>(text.c_str()));
}

void comboRemoveItem(Control& c, int item) { SendMessageW(c.hwnd, CB_DELETESTRING, static_cast<WPARAM>(item), 0); }
void comboClear(Control& c) { SendMessageW(c.hwnd, CB_RESETCONTENT, 0, 0); }
int comboCount(Control& c) { return static_cast<int>(SendMessageW(c.hwnd, CB_GETCOUNT, 0, 0)); }

void comboSetItemText(Control& c, int item, const std::wstring& text, int) {
    int selected = static_cast<int>(SendMessageW(c.hwnd, CB_GETCURSEL, 0, 0));
    SendMessageW(c.hwnd, CB_DELETESTRING, static_cast<WPARAM>(item), 0);
    SendMessageW(c.hwnd, CB_INSERTSTRING, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.c_str()));
    if (selected == item) SendMessageW(c.hwnd, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
}

// Progress bar -----------------------------------------------------------------

long long progressState(Control& c) { return SendMessageW(c.hwnd, PBM_GETPOS, 0, 0); }
void progressSetState(Control& c, long long value) { SendMessageW(c.hwnd, PBM_SETPOS, static_cast<WPARAM>(value), 0); }

const ControlKind buttonKind{.number = kindButton};
const ControlKind editFieldKind{.number = kindEditField};
const ControlKind labelKind{.number = kindLabel};
const ControlKind checkBoxKind{.number = kindCheckBox, .getState = checkBoxState, .setState = checkBoxSetState};
const ControlKind frameKind{.number = kindFrame};
const ControlKind imageViewKind{.number = kindImageView};
const ControlKind imageButtonKind{.number = kindImageButton};
const ControlKind comboBoxKind{
    .number = kindComboBox,
    .notify = comboNotify,
    .getState = comboState,
    .setState = comboSetState,
    .getText = comboText,
    .addItem = comboAddItem,
    .removeItem = comboRemoveItem,
    .clearItems = comboClear,
    .countItems = comboCount,
    .getItemText = comboItemText,
    .setItemText = comboSetItemText,
    .getAttribute = comboAttribute,
};
const ControlKind progressBarKind{.number = kindProgressBar, .getState = progressState, .setState = progressSetState};

bool visualStylesActive() {
    // Common controls 6 (asked for by the manifest) is what draws visual styles.
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    using DllGetVersionProc = HRESULT(WINAPI*)(DLLVERSIONINFO*);
    auto getVersion = comctl ? reinterpret_cast<DllGetVersionProc>(reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")))
                             : nullptr;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    return getVersion && SUCCEEDED(getVersion(&info)) && info.dwMajorVersion >= 6;
}

}  // namespace

INT_PTR LabelCreate(int number, int x, int y, int width, int height, const std::wstring& text, DWORD flags) {
    return createdResult(number, createControl(number, labelKind, L"STATIC", SS_NOPREFIX | flags, 0, x, y, width,
                                               height, text));
}

INT_PTR EditFieldCreate(int number, int x, int y, int width, int height, const std::wstring& text, DWORD flags) {
    return createdResult(number, createControl(number, editFieldKind, L"EDIT", tabStopGroup | ES_AUTOHSCROLL | flags,
                                               WS_EX_CLIENTEDGE, x, y, width, height, text));
}

INT_PTR CheckBoxCreate(int number, int x, int y, int width, int height, const std::wstring& text) {
    return createdResult(number, createControl(number, checkBoxKind, L"BUTTON", tabStopGroup | BS_AUTOCHECKBOX, 0, x,
                                               y, width, height, text));
}

INT_PTR ButtonCreate(int number, int x, int y, int width, int height, const std::wstring& text, DWORD flags) {
    return createdResult(number, createControl(number, buttonKind, L"BUTTON", tabStopGroup | BS_PUSHBUTTON | flags,
                                               0, x, y, width, height, text));
}

INT_PTR FrameCreate(int number, int x, int y, int width, int height, const std::wstring& text, int type) {
    Control* control = nullptr;
    switch (type) {
        case 0:
            control = createControl(number, frameKind, L"BUTTON", BS_GROUPBOX, 0, x, y, width, height, text);
            break;
        case 1:
            control = createControl(number, frameKind, L"STATIC", 0, WS_EX_CLIENTEDGE, x, y, width, height, L"");
            break;
        case 2:
            control = createControl(number, frameKind, L"STATIC", 0, WS_EX_STATICEDGE, x, y, width, height, L"");
            break;
        default:
            control = createControl(number, frameKind, L"STATIC", WS_BORDER, 0, x, y, width, height, L"");
            break;
    }
    return createdResult(number, control);
}

namespace {

bool isIcon(HANDLE image) {
    ICONINFO info{};
    if (!image || !GetIconInfo(static_cast<HICON>(image), &info)) return false;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return true;
}

}  // namespace

INT_PTR ImageButtonCreate(int number, int x, int y, int width, int height, HANDLE image) {
    const bool icon = isIcon(image);
    Control* control = createControl(number, imageButtonKind, L"BUTTON", tabStopGroup | (icon ? BS_ICON : BS_BITMAP),
                                     0, x, y, width, height, L"");
    if (control)
        SendMessageW(control->hwnd, BM_SETIMAGE, icon ? IMAGE_ICON : IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
    return createdResult(number, control);
}

INT_PTR ImageViewCreate(int number, int x, int y, int width, int height, HANDLE image) {
    const bool icon = isIcon(image);
    Control* control = createControl(number, imageViewKind, L"STATIC", icon ? SS_ICON : SS_BITMAP, 0, x, y, width,
                                     height, L"");
    if (control)
        SendMessageW(control->hwnd, STM_SETIMAGE, icon ? IMAGE_ICON : IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
    return createdResult(number, control);
}

INT_PTR ComboBoxCreate(int number, int x, int y, int width, int height) {
    // The open list is 350 high; with visual styles the control takes the requested
    // height plus 30 and sizes its closed face itself.
    const int openHeight = visualStylesActive() ? height + 30 : 350;
    Control* control = createControl(number, comboBoxKind, WC_COMBOBOXW, tabStopGroup | CBS_DROPDOWNLIST | WS_VSCROLL,
                                     0, x, y, width, openHeight, L"");
    if (control) SendMessageW(control->hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - 6);
    return createdResult(number, control);
}

INT_PTR ProgressBarCreate(int number, int x, int y, int width, int height, int minimum, int maximum) {
    Control* control = createControl(number, progressBarKind, PROGRESS_CLASSW, 0, 0, x, y, width, height, L"");
    if (control) SendMessageW(control->hwnd, PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
    return createdResult(number, control);
}
