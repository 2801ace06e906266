// The plain control kinds: labels, edit fields, check boxes, buttons, frames,
// image controls, drop-down lists and progress bars.
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/native.h"
#include "toolkit/event_queue.h"
#include "toolkit/ui_objects.h"

#include <commctrl.h>
#include <shlwapi.h>


namespace {

constexpr DWORD tabStopGroup = WS_TABSTOP | WS_GROUP;

// The kinds that keep to the native defaults.
class PlainControl final : public Control {
public:
    using Control::Control;
};

// An icon or a bitmap shown at its own size: moved, never stretched.
class ImageView final : public Control {
public:
    ImageView() : Control(kindImageView) {}
    void place(int x, int y, int, int) override {
        SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
};

class CheckBox final : public Control {
public:
    CheckBox() : Control(kindCheckBox) {}
    long long state() override { return SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; }
    void setState(long long value) override { SendMessageW(hwnd, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0); }
};

bool visualStylesActive();

class ComboBox final : public Control {
public:
    ComboBox() : Control(kindComboBox) {}

    // The open list is 350 high; with visual styles the control takes the requested
    // height plus 30 and sizes its closed face itself.
    static int openHeight(int height) { return visualStylesActive() ? height + 30 : 350; }

    // Its closed face follows its font, as it did once the font was set when created.
    void place(int x, int y, int width, int height) override { Control::place(x, y, width, openHeight(height)); }

    bool notify(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (message != WM_COMMAND) return false;
        switch (HIWORD(wParam)) {
            case CBN_SELCHANGE: raiseControlEvent(*this, kindChange); break;
            case CBN_SETFOCUS: raiseControlEvent(*this, kindFocus); break;
            case CBN_KILLFOCUS: raiseControlEvent(*this, kindFocusLost); break;
            default: return false;
        }
        result = 0;
        return true;
    }

    long long attribute(int which) override {
        return which == comboListOpen && SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0) ? 1 : 0;
    }
    long long state() override { return SendMessageW(hwnd, CB_GETCURSEL, 0, 0); }
    void setState(long long value) override { SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(value), 0); }

    std::wstring itemText(int item, int) override {
        LRESULT length = SendMessageW(hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
        if (length == CB_ERR) return {};
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        length = SendMessageW(hwnd, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()));
        text.resize(length == CB_ERR ? 0 : static_cast<size_t>(length));
        return text;
    }

    std::wstring text() override {
        LRESULT selected = SendMessageW(hwnd, CB_GETCURSEL, 0, 0);
        return selected == CB_ERR ? std::wstring() : itemText(static_cast<int>(selected), 0);
    }

    void addItem(int position, const std::wstring& text, HANDLE) override {
        const int count = itemCount();
        WPARAM at = position < 0 || position >= count ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(position);
        SendMessageW(hwnd, CB_INSERTSTRING, at, reinterpret_cast<LPARAM>(text.c_str()));
    }

    void removeItem(int item) override { SendMessageW(hwnd, CB_DELETESTRING, static_cast<WPARAM>(item), 0); }
    void clearItems() override { SendMessageW(hwnd, CB_RESETCONTENT, 0, 0); }
    int itemCount() override { return static_cast<int>(SendMessageW(hwnd, CB_GETCOUNT, 0, 0)); }

    void setItemText(int item, const std::wstring& text, int) override {
        int selected = static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
        SendMessageW(hwnd, CB_DELETESTRING, static_cast<WPARAM>(item), 0);
        SendMessageW(hwnd, CB_INSERTSTRING, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.c_str()));
        if (selected == item) SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    }
};

class ProgressBar final : public Control {
public:
    ProgressBar() : Control(kindProgressBar) {}
    long long state() override { return SendMessageW(hwnd, PBM_GETPOS, 0, 0); }
    void setState(long long value) override { SendMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(value), 0); }
};

std::unique_ptr<Control> plain(int kind) { return std::make_unique<PlainControl>(kind); }

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

std::intptr_t LabelCreate(int number, int x, int y, int width, int height, const std::wstring& text,
                          unsigned long flags) {
    return createdResult(number, createControl(number, plain(kindLabel), L"STATIC", SS_NOPREFIX | flags, 0, x, y, width,
                                               height, text));
}

std::intptr_t EditFieldCreate(int number, int x, int y, int width, int height, const std::wstring& text,
                              unsigned long flags) {
    return createdResult(number, createControl(number, plain(kindEditField), L"EDIT", tabStopGroup | ES_AUTOHSCROLL | flags,
                                               WS_EX_CLIENTEDGE, x, y, width, height, text));
}

std::intptr_t CheckBoxCreate(int number, int x, int y, int width, int height, const std::wstring& text) {
    return createdResult(number, createControl(number, std::make_unique<CheckBox>(), L"BUTTON", tabStopGroup | BS_AUTOCHECKBOX, 0, x,
                                               y, width, height, text));
}

std::intptr_t ButtonCreate(int number, int x, int y, int width, int height, const std::wstring& text,
                           unsigned long flags) {
    return createdResult(number, createControl(number, plain(kindButton), L"BUTTON", tabStopGroup | BS_PUSHBUTTON | flags,
                                               0, x, y, width, height, text));
}

std::intptr_t FrameCreate(int number, int x, int y, int width, int height, const std::wstring& text, int type) {
    Control* control = nullptr;
    switch (type) {
        case 0:
            control = createControl(number, plain(kindFrame), L"BUTTON", BS_GROUPBOX, 0, x, y, width, height, text);
            break;
        case 1:
            control = createControl(number, plain(kindFrame), L"STATIC", 0, WS_EX_CLIENTEDGE, x, y, width, height, L"");
            break;
        case 2:
            control = createControl(number, plain(kindFrame), L"STATIC", 0, WS_EX_STATICEDGE, x, y, width, height, L"");
            break;
        default:
            control = createControl(number, plain(kindFrame), L"STATIC", WS_BORDER, 0, x, y, width, height, L"");
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

std::intptr_t ImageButtonCreate(int number, int x, int y, int width, int height, HANDLE image) {
    const bool icon = isIcon(image);
    Control* control = createControl(number, plain(kindImageButton), L"BUTTON", tabStopGroup | (icon ? BS_ICON : BS_BITMAP),
                                     0, x, y, width, height, L"");
    if (control)
        SendMessageW(control->hwnd, BM_SETIMAGE, icon ? IMAGE_ICON : IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
    return createdResult(number, control);
}

std::intptr_t ImageViewCreate(int number, int x, int y, int width, int height, HANDLE image) {
    const bool icon = isIcon(image);
    Control* control = createControl(number, std::make_unique<ImageView>(), L"STATIC", icon ? SS_ICON : SS_BITMAP, 0, x, y, width,
                                     height, L"");
    if (control)
        SendMessageW(control->hwnd, STM_SETIMAGE, icon ? IMAGE_ICON : IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
    return createdResult(number, control);
}

std::intptr_t ComboBoxCreate(int number, int x, int y, int width, int height) {
    Control* control = createControl(number, std::make_unique<ComboBox>(), WC_COMBOBOXW, tabStopGroup | CBS_DROPDOWNLIST | WS_VSCROLL,
                                     0, x, y, width, ComboBox::openHeight(height), L"");
    if (control) SendMessageW(control->hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - 6);
    return createdResult(number, control);
}

std::intptr_t ProgressBarCreate(int number, int x, int y, int width, int height, int minimum, int maximum) {
    Control* control = createControl(number, std::make_unique<ProgressBar>(), PROGRESS_CLASSW, 0, 0, x, y, width, height, L"");
    if (control) SendMessageW(control->hwnd, PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
    return createdResult(number, control);
}

std::intptr_t ImageButtonCreate(int number, int x, int y, int width, int height, int image) {
    return ImageButtonCreate(number, x, y, width, height, ImageNativeHandle(image));
}

std::intptr_t ImageViewCreate(int number, int x, int y, int width, int height, int image) {
    return ImageViewCreate(number, x, y, width, height, ImageNativeHandle(image));
}

static_assert(labelOneLine == SS_LEFTNOWORDWRAP);
