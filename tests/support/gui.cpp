#include "support/gui.h"

#include "toolkit/events.h"

#include <algorithm>
#include <cstring>

std::vector<SeenEvent> drainEvents(int ms) {
    std::vector<SeenEvent> events;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(ms)) {
        int code = EventWait(5);
        if (code == eventControl || code == eventCloseRequest)
            events.push_back(SeenEvent{code, EventWindow(), EventControl(), EventKind()});
    }
    return events;
}

std::vector<int> controlEventKinds(const std::vector<SeenEvent>& events, int control) {
    std::vector<int> kinds;
    for (const SeenEvent& e : events)
        if (e.code == eventControl && e.control == control) kinds.push_back(e.kind);
    return kinds;
}

void clickAt(HWND hwnd, int x, int y, bool twice) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT point{x < 0 ? client.right / 2 : x, y < 0 ? client.bottom / 2 : y};
    ClientToScreen(hwnd, &point);
    SetForegroundWindow(GetAncestor(hwnd, GA_ROOT));
    drainEvents(50);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input[3] = {};
    for (INPUT& in : input) {
        in.type = INPUT_MOUSE;
        in.mi.dx = (point.x * 65535 + width / 2) / (width - 1);
        in.mi.dy = (point.y * 65535 + height / 2) / (height - 1);
    }
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, input, sizeof(INPUT));
    if (twice) SendInput(2, input + 1, sizeof(INPUT));
}

void pressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> input;
    for (WORD key : keys) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        input.push_back(in);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *--it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        input.push_back(in);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

std::vector<unsigned char> iconFile(COLORREF color) {
    const int side = 16;
    const DWORD pixels = side * side * 4, mask = side * 4;  // mask rows padded to 32 bits
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = side;
    header.biHeight = side * 2;  // colour and mask
    header.biPlanes = 1;
    header.biBitCount = 32;
    const DWORD imageBytes = sizeof header + pixels + mask;
    std::vector<unsigned char> file(6 + 16 + imageBytes);
    unsigned char* p = file.data();
    const WORD directory[3] = {0, 1, 1};
    std::memcpy(p, directory, 6);
    unsigned char entry[16] = {side, side, 0, 0, 1, 0, 32, 0};
    std::memcpy(entry + 8, &imageBytes, 4);
    const DWORD offset = 22;
    std::memcpy(entry + 12, &offset, 4);
    std::memcpy(p + 6, entry, 16);
    std::memcpy(p + 22, &header, sizeof header);
    unsigned char* bits = p + 22 + sizeof header;
    for (DWORD i = 0; i < pixels; i += 4) {
        bits[i] = GetBValue(color);
        bits[i + 1] = GetGValue(color);
        bits[i + 2] = GetRValue(color);
        bits[i + 3] = 255;
    }
    return file;
}
