#pragma once
// The window, control and event layer's own records. Only the toolkit includes this.
#include "toolkit/numbered_table.h"

#include <windows.h>

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

struct Control;

// What a control kind does for the generic operations; an empty entry falls
// back to the native default or does nothing.
struct ControlKind {
    int number = 0;
    // A WM_COMMAND or WM_NOTIFY about the control, sent to its parent. Returns true
    // when the kind took it (and set result); otherwise WM_COMMAND becomes an event.
    bool (*notify)(Control&, UINT message, WPARAM, LPARAM, LRESULT& result) = nullptr;
    void (*destroy)(Control&) = nullptr;
    long long (*getState)(Control&) = nullptr;
    void (*setState)(Control&, long long) = nullptr;
    std::wstring (*getText)(Control&) = nullptr;
    void (*setText)(Control&, const std::wstring&) = nullptr;
    void (*addItem)(Control&, int position, const std::wstring& text, HANDLE image) = nullptr;
    void (*removeItem)(Control&, int item) = nullptr;
    void (*clearItems)(Control&) = nullptr;
    int (*countItems)(Control&) = nullptr;
    int (*getItemState)(Control&, int item) = nullptr;
    void (*setItemState)(Control&, int item, int state) = nullptr;
    std::wstring (*getItemText)(Control&, int item, int column) = nullptr;
    void (*setItemText)(Control&, int item, const std::wstring&, int column) = nullptr;
    void (*addColumn)(Control&, int position, const std::wstring& title, int width) = nullptr;
    long long (*getAttribute)(Control&, int attribute) = nullptr;
    void (*setAttribute)(Control&, int attribute, long long value) = nullptr;
    long long (*getItemAttribute)(Control&, int item, int attribute) = nullptr;
    void (*setItemAttribute)(Control&, int item, int attribute, long long value) = nullptr;
    void (*setColor)(Control&, int which, int color) = nullptr;
    void (*setItemColor)(Control&, int item, int which, int color, int column) = nullptr;
    int (*getItemColor)(Control&, int item, int which, int column) = nullptr;
    // Messages to the control itself, before its own window procedure.
    bool (*message)(Control&, UINT, WPARAM, LPARAM, LRESULT& result) = nullptr;
};

// Extra record of the kinds that keep more than the common fields.
struct KindRecord {
    virtual ~KindRecord() = default;
};

struct Control {
    HWND hwnd = nullptr;
    const ControlKind* kind = nullptr;
    WNDPROC previousProc = nullptr;
    int number = 0;
    int textColor = -1, backColor = -1;  // edit fields' colours
    HBRUSH backBrush = nullptr;
    std::unique_ptr<KindRecord> record;
    ~Control();
};

struct Window {
    HWND hwnd = nullptr;
    HACCEL accelerators = nullptr;
    HBRUSH background = nullptr;
    int number = 0;
    HWND lastFocus = nullptr;
    ~Window();
};

struct StatusField {
    int width = 0;
    std::wstring text;
    int flags = 0;
};

struct StatusBar {
    HWND hwnd = nullptr;
    HWND owner = nullptr;
    std::vector<StatusField> fields;
};

struct Font {
    HFONT handle = nullptr;
    ~Font() { DeleteObject(handle); }
};

struct Image {
    HANDLE handle = nullptr;
    int width = 0, height = 0, depth = 0;
    bool isIcon = false;
    ~Image();
};

struct Event {
    int code = 0;
    int window = -1;
    int control = -1;
    int kind = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct UiState {
    NumberedTable<Window> windows{16};
    NumberedTable<Control> controls{50};
    NumberedTable<StatusBar> statusBars{16};
    NumberedTable<Font> fonts{16};
    NumberedTable<Image> images{16};

    HWND currentParent = nullptr;
    std::vector<HWND> parentStack;
    HFONT defaultFont = nullptr;
    HWND tooltip = nullptr;
    int lastStatusBar = -1;

    std::mutex queueLock;
    std::deque<Event> queue;
    Event last;
    int operationsInProgress = 0;

    // Native handle to control, kept here rather than in window properties:
    // every message to a control looks its record up.
    std::unordered_map<HWND, Control*> controlsByWindow;
    std::unordered_map<HWND, int> windowNumbers;  // top-level handle to window number

    HWND postWindow = nullptr;
    DWORD uiThread = 0;
    int screenDpi = 96;
    int webPanels = 0;
    bool started = false;
};

UiState& ui();

// Shared among the toolkit's files.
Control* controlOfWindow(HWND hwnd);
int windowNumberOf(HWND hwnd);
void raiseEvent(int code, int window, int control, int kind, WPARAM wParam = 0, LPARAM lParam = 0);
void raiseControlEvent(const Control& control, int kind);
void dropEvents(int window, int control);
bool handleControlNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
Control* createControl(int number, const ControlKind& kind, const wchar_t* className, DWORD style, DWORD exStyle,
                       int x, int y, int width, int height, const std::wstring& text);
LRESULT CALLBACK controlProc(HWND, UINT, WPARAM, LPARAM);
// Offers a key message to a web panel's browser first; true when it used it.
bool webPanelTranslate(MSG& message);

// Counts a toolkit operation that changes a control: events it causes are not queued.
class OperationInProgress {
public:
    OperationInProgress() { ++ui().operationsInProgress; }
    ~OperationInProgress() { --ui().operationsInProgress; }
    OperationInProgress(const OperationInProgress&) = delete;
    OperationInProgress& operator=(const OperationInProgress&) = delete;
};
