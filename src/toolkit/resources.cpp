#include "toolkit/resources.h"

#include "toolkit/native.h"
#include "toolkit/ui_objects.h"

#include <commctrl.h>

std::intptr_t StatusBarCreate(int number, HWND window) {
    UiState& state = ui();
    if (number < anyNumber || !window) return 0;
    state.statusBars.take(number);
    HWND hwnd = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return 0;
    SendMessageW(hwnd, SB_SETMINHEIGHT, 18, 0);
    SendMessageW(hwnd, WM_SIZE, 0, 0);
    const int chosen = state.statusBars.reserve(number);
    auto bar = std::make_unique<StatusBar>();
    bar->hwnd = hwnd;
    bar->owner = window;
    state.statusBars.put(chosen, std::move(bar));
    state.lastStatusBar = chosen;
    return number == anyNumber ? chosen : reinterpret_cast<std::intptr_t>(hwnd);
}

namespace {

// Right edges of the fields; shared-width fields split what the fixed ones leave.
void layOutFields(StatusBar& bar) {
    RECT area;
    GetClientRect(bar.hwnd, &area);
    int fixed = 0, shared = 0;
    for (const StatusField& field : bar.fields) field.width == statusFieldShare ? ++shared : fixed += field.width;
    const int share = shared ? std::max(0, (static_cast<int>(area.right) - fixed) / shared) : 0;
    std::vector<int> edges;
    int x = 0;
    for (const StatusField& field : bar.fields) {
        x += field.width == statusFieldShare ? share : field.width;
        edges.push_back(x);
    }
    if (!edges.empty() && shared) edges.back() = -1;
    SendMessageW(bar.hwnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < bar.fields.size(); ++i)
        SendMessageW(bar.hwnd, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(bar.fields[i].text.c_str()));
}

}  // namespace

void StatusBarAddField(int width) {
    StatusBar* bar = ui().statusBars.find(ui().lastStatusBar);
    if (!bar || bar->fields.size() >= 256) return;
    if (bar->fields.capacity() == bar->fields.size()) bar->fields.reserve(bar->fields.size() + 8);
    bar->fields.push_back(StatusField{width, L"", 0});
    layOutFields(*bar);
}

void StatusBarSetText(int number, int field, const std::wstring& text) {
    StatusBar* bar = ui().statusBars.find(number);
    if (!bar || field < 0 || static_cast<size_t>(field) >= bar->fields.size()) return;
    bar->fields[static_cast<size_t>(field)].text = text;
    SendMessageW(bar->hwnd, SB_SETTEXTW, static_cast<WPARAM>(field), reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring StatusBarText(int number, int field) {
    StatusBar* bar = ui().statusBars.find(number);
    if (!bar || field < 0 || static_cast<size_t>(field) >= bar->fields.size()) return {};
    return bar->fields[static_cast<size_t>(field)].text;
}

std::intptr_t FontLoad(int number, const std::wstring& face, int points, int dpi) {
    UiState& state = ui();
    if (number < anyNumber) return 0;
    HFONT handle = CreateFontW(-MulDiv(points, dpi > 0 ? dpi : state.screenDpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                               FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, face.c_str());
    if (!handle) return 0;
    // The controls that show the font it replaces take the new one before the old goes.
    if (const Font* old = state.fonts.find(number)) {
        state.controls.forEach([&](int, const Control& control) {
            if (reinterpret_cast<HFONT>(SendMessageW(control.hwnd, WM_GETFONT, 0, 0)) == old->handle)
                SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
        });
    }
    state.fonts.take(number);
    const int chosen = state.fonts.reserve(number);
    auto font = std::make_unique<Font>();
    font->handle = handle;
    state.fonts.put(chosen, std::move(font));
    return number == anyNumber ? chosen : reinterpret_cast<std::intptr_t>(handle);
}

HFONT FontNativeHandle(int number) {
    Font* font = ui().fonts.find(number);
    return font ? font->handle : nullptr;
}

namespace {

#pragma pack(push, 1)
struct IconDirectory {
    WORD reserved, type, count;
};
struct IconEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes, offset;
};
#pragma pack(pop)

std::unique_ptr<Image> decodeIcon(const unsigned char* data, size_t size) {
    if (size < sizeof(IconDirectory) + sizeof(IconEntry)) return nullptr;
    IconDirectory directory;
    memcpy(&directory, data, sizeof directory);
    if (directory.reserved != 0 || directory.type != 1 || directory.count == 0) return nullptr;
    IconEntry entry;
    memcpy(&entry, data + sizeof directory, sizeof entry);
    if (static_cast<size_t>(entry.offset) + entry.bytes > size) return nullptr;
    const int width = entry.width ? entry.width : 256, height = entry.height ? entry.height : 256;
    HICON icon = CreateIconFromResourceEx(const_cast<unsigned char*>(data + entry.offset), entry.bytes, TRUE,
                                          0x00030000, width, height, LR_DEFAULTCOLOR);
    if (!icon) return nullptr;
    auto image = std::make_unique<Image>();
    image->handle = icon;
    image->width = width;
    image->height = height;
    image->depth = entry.bitCount;
    image->isIcon = true;
    return image;
}

std::unique_ptr<Image> decodeBitmap(const unsigned char* data, size_t size) {
    if (size < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || data[0] != 'B' || data[1] != 'M') return nullptr;
    BITMAPFILEHEADER file;
    memcpy(&file, data, sizeof file);
    if (file.bfOffBits >= size) return nullptr;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(data + sizeof file);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, data + file.bfOffBits, info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (!bitmap) return nullptr;
    auto image = std::make_unique<Image>();
    image->handle = bitmap;
    image->width = info->bmiHeader.biWidth;
    image->height = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
    image->depth = info->bmiHeader.biBitCount;
    return image;
}

}  // namespace

std::intptr_t ImageFromMemory(int number, const unsigned char* data, size_t size) {
    UiState& state = ui();
    if (number < anyNumber || !data) return 0;
    std::unique_ptr<Image> image = decodeIcon(data, size);
    if (!image) image = decodeBitmap(data, size);
    if (!image) return 0;
    state.images.take(number);
    const int chosen = state.images.reserve(number);
    HANDLE handle = image->handle;
    state.images.put(chosen, std::move(image));
    return number == anyNumber ? chosen : reinterpret_cast<std::intptr_t>(handle);
}

HANDLE ImageNativeHandle(int number) {
    Image* image = ui().images.find(number);
    return image ? image->handle : nullptr;
}

std::intptr_t StatusBarCreate(int number, int window) { return StatusBarCreate(number, WindowNativeHandle(window)); }
