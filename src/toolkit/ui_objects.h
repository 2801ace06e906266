#pragma once
// Everything the toolkit hands out under a number (controls of every kind,
// windows, status bars, fonts, images, listings, text files) and the native
// handles behind them. Only the toolkit includes this; the event queue is
// toolkit/event_queue.h.
#include "toolkit/controls.h"
#include "toolkit/numbered_table.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// One control. Each kind is a class of its own with its own data; what a kind
// does not override falls back to the native default (the window text, the
// colours of a plain control) or does nothing.
class Control {
public:
    explicit Control(int kindNumber) : kind(kindNumber) {}
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND hwnd = nullptr;
    WNDPROC previousProc = nullptr;
    int number = 0;
    const int kind;

    // A WM_COMMAND or WM_NOTIFY about the control, sent to its parent. True when
    // the kind took it (and set result); otherwise WM_COMMAND becomes an event.
    virtual bool notify(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    // Messages to the control itself, before its own window procedure.
    virtual bool message(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    virtual long long state() { return 0; }
    virtual void setState(long long) {}
    virtual std::wstring text();
    virtual void setText(const std::wstring& text);
    virtual void addItem(int, const std::wstring&, HANDLE) {}
    virtual void removeItem(int) {}
    virtual void clearItems() {}
    virtual int itemCount() { return 0; }
    virtual int itemState(int) { return 0; }
    virtual void setItemState(int, int) {}
    virtual void tickAllItems(bool) {}
    virtual int selectedCount() { return 0; }
    virtual int tickedCount() { return 0; }
    virtual void showRows(int, const RowSource&) {}
    virtual void showTree(const std::vector<int>&, const TreeSource&) {}
    virtual int itemKey(int row) { return row; }
    virtual std::wstring itemText(int, int) { return {}; }
    virtual void setItemText(int, const std::wstring&, int) {}
    virtual void addColumn(int, const std::wstring&, int) {}
    virtual long long attribute(int) { return 0; }
    virtual void setAttribute(int, long long) {}
    virtual long long itemAttribute(int, int) { return 0; }
    virtual void setItemAttribute(int, int, long long) {}
    // Moves and sizes the control within its parent.
    virtual void place(int x, int y, int width, int height);
    virtual void setColor(int which, int color);
    virtual void setItemColor(int, int, int, int) {}
    virtual int itemColor(int, int, int) { return -1; }
    virtual void focusPage() {}
    // A key message offered before it is dispatched; true when the control used it.
    virtual bool offerKey(MSG&) { return false; }

    // Where the last context menu was asked for, in screen coordinates, and the
    // row under it (-1 for none).
    POINT menuAt{};
    int menuRow = -1;

    // The colours a plain control (an edit field above all) asks its parent for.
    int textColor = -1, backColor = -1;
    HBRUSH backBrush = nullptr;
};

struct Window {
    HWND hwnd = nullptr;
    // Told the new dots per inch once the window has taken the rectangle the
    // system suggests for a monitor of another scale.
    std::function<void(int)> dpiChanged;
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

class TextFile;   // toolkit/text_file.cpp

struct UiState {
    // Every object handed out under a number, in the order ToolkitShutdown lets
    // them go: controls before the windows they sit in, windows before the fonts
    // and images they show.
    NumberedTable<Control> controls{50};
    NumberedTable<StatusBar> statusBars{16};
    NumberedTable<Window> windows{16};
    NumberedTable<TextFile> files{4};
    NumberedTable<Image> images{16};
    NumberedTable<Font> fonts{16};

    HWND currentParent = nullptr;
    std::vector<HWND> parentStack;
    HFONT defaultFont = nullptr;
    HWND tooltip = nullptr;
    int lastStatusBar = -1;

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
bool handleControlNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// Creates the native control for the kind's object and files it under the number;
// null (and the object gone) when the system could not make it.
Control* createControl(int number, std::unique_ptr<Control> control, const wchar_t* className, DWORD style,
                       DWORD exStyle, int x, int y, int width, int height, const std::wstring& text);
LRESULT CALLBACK controlProc(HWND, UINT, WPARAM, LPARAM);
// A top-level window of its own class that is never shown: for messages from
// other threads and programs. Null when it could not be made.
HWND createHiddenWindow(const wchar_t* className, WNDPROC procedure, const wchar_t* title);
// What a creating call returns: the native handle, or the number it handed out.
std::intptr_t createdResult(int requested, const Control* control);
// Offers a key message to a web panel's browser first; true when it used it.
bool webPanelTranslate(MSG& message);
