#include "toolkit/picture_view.h"

#include "toolkit/controls.h"
#include "toolkit/event_queue.h"
#include "toolkit/events.h"
#include "toolkit/native.h"
#include "toolkit/ui_objects.h"

#include <windowsx.h>

namespace {

constexpr int kindPictureView = 30;
const wchar_t* const pictureClass = L"RavlekPicture";

class PictureView final : public Control {
public:
    PictureView() : Control(kindPictureView) {}

    void show(std::vector<uint32_t> pixels, int width, int height) {
        pixels_ = std::move(pixels);
        width_ = width;
        height_ = height;
        InvalidateRect(hwnd, nullptr, FALSE);
    }

    PicturePoint pointer() const { return pointer_; }

    bool message(UINT message, WPARAM, LPARAM lParam, LRESULT& result) override {
        switch (message) {
        case WM_PAINT:
            paint();
            result = 0;
            return true;
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_GETDLGCODE:
            result = DLGC_WANTARROWS | DLGC_WANTCHARS;
            return true;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(hwnd, nullptr, FALSE);
            return false;
        case WM_MOUSEMOVE:
            if (!tracking_) {
                TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, hwnd, 0};
                tracking_ = TrackMouseEvent(&leave) != 0;
            }
            point(lParam);
            raiseControlEvent(*this, kindPointerMove);
            return false;
        case WM_MOUSELEAVE:
            tracking_ = false;
            pointer_ = {};
            raiseControlEvent(*this, kindPointerMove);
            return false;
        case WM_LBUTTONDOWN:
            SetFocus(hwnd);
            point(lParam);
            return false;
        case WM_LBUTTONUP:
            point(lParam);
            raiseControlEvent(*this, kindClick);
            return false;
        case WM_LBUTTONDBLCLK:
            point(lParam);
            raiseControlEvent(*this, kindDoubleClick);
            return false;
        case WM_CONTEXTMENU: {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (lParam == -1) {  // from the keys: the middle of the view
                RECT box{};
                GetClientRect(hwnd, &box);
                at = {box.right / 2, box.bottom / 2};
                ClientToScreen(hwnd, &at);
            }
            menuAt = at;
            POINT inside = at;
            ScreenToClient(hwnd, &inside);
            pointer_ = within(inside.x, inside.y);
            raiseControlEvent(*this, kindMenu);
            result = 0;
            return true;
        }
        default:
            return false;
        }
    }

private:
    PicturePoint within(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
        return {x, y};
    }
    void point(LPARAM lParam) { pointer_ = within(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); }

    void paint() {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT box{};
        GetClientRect(hwnd, &box);
        if (width_ > 0 && height_ > 0 && pixels_.size() == static_cast<size_t>(width_) * height_) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = width_;
            info.bmiHeader.biHeight = -height_;  // the top row first
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            SetDIBitsToDevice(dc, 0, 0, width_, height_, 0, 0, 0, height_, pixels_.data(), &info, DIB_RGB_COLORS);
        }
        // What the picture leaves uncovered (the view grew before it was drawn again).
        const HBRUSH back = GetSysColorBrush(COLOR_WINDOW);
        RECT right{width_, 0, box.right, box.bottom}, below{0, height_, width_, box.bottom};
        if (right.left < right.right) FillRect(dc, &right, back);
        if (below.top < below.bottom) FillRect(dc, &below, back);
        if (GetFocus() == hwnd) DrawFocusRect(dc, &box);
        EndPaint(hwnd, &ps);
    }

    std::vector<uint32_t> pixels_;
    int width_ = 0, height_ = 0;
    PicturePoint pointer_;
    bool tracking_ = false;
};

Control* find(int number) { return ui().controls.find(number); }

PictureView* pictureView(int number) {
    Control* control = find(number);
    return control && control->kind == kindPictureView ? static_cast<PictureView*>(control) : nullptr;
}

}  // namespace

std::intptr_t PictureViewCreate(int number, int x, int y, int width, int height, const std::wstring& name) {
    static const bool registered = [] {
        WNDCLASSEXW kind{};
        kind.cbSize = sizeof kind;
        kind.style = CS_DBLCLKS;
        kind.lpfnWndProc = DefWindowProcW;
        kind.hInstance = GetModuleHandleW(nullptr);
        kind.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        kind.lpszClassName = pictureClass;
        return RegisterClassExW(&kind) != 0;
    }();
    if (!registered) return 0;
    Control* control = createControl(number, std::make_unique<PictureView>(), pictureClass, WS_TABSTOP | WS_GROUP,
                                     WS_EX_CLIENTEDGE, x, y, width, height, name);
    return createdResult(number, control);
}

void PictureViewShow(int number, std::vector<uint32_t> pixels, int width, int height) {
    if (PictureView* view = pictureView(number)) view->show(std::move(pixels), width, height);
}

PicturePoint PictureViewSize(int number) {
    Control* control = find(number);
    if (!control) return {};
    RECT box{};
    GetClientRect(control->hwnd, &box);
    return {box.right, box.bottom};
}

PicturePoint PictureViewPointer(int number) {
    PictureView* view = pictureView(number);
    return view ? view->pointer() : PicturePoint{};
}
