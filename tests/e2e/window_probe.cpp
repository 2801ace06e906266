// Reads Ravlek's window from outside, through window messages, for the end-to-end
// tests:   window_probe COMMAND
//   state      every control of the main window: id, enabled, screen rectangle, text
//   rows       the results list: tick, size, path, one row a line
//   status     the status bar's text
//   tabs       the captions of the tabbed panel, one a line
//   tab-at N   the screen point in the middle of tab N: x y
//   list-rows ID  the rows of the list with control id ID (27 the folder sizes,
//              28 the file kinds): every column, tab-separated, one row a line
//   dropdown   the open drop-down list: left top right bottom item-height top-index
//   box        the open message box: caption and text ("none" when there is none)
//   wait-box MS  waits up to MS milliseconds for a message box, then as "box"
//   answer ID  presses button ID (1 OK, 2 Cancel) of the open message box
//   status-changes MS  prints each new status text as it comes, until one begins
//              "Showing " or MS milliseconds have passed
//   time-search  clicks the search button and prints the milliseconds to the summary
//   find-loop ROOT  prints the milliseconds and the file count of a bare FindFirstFileW walk
//   tick ROW 0|1  ticks or unticks a row (-1: every row) with LVM_SETITEMSTATE, as
//              accessibility layers and test tools do
//   clipboard  the clipboard's Unicode text
//   menu       the open context menu: left top right bottom, then its entries, one a line
//   hold PATH  holds the file open with delete sharing, as indexers and virus
//              scanners do, until its standard input ends
// The window belongs to another process, so list and status texts are read
// through memory allocated in that process.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace {

HWND mainWindow() { return FindWindowW(L"WindowClass_0", nullptr); }

HWND messageBox() {
    HWND main = mainWindow();
    DWORD process = 0;
    if (main) GetWindowThreadProcessId(main, &process);
    struct Search {
        DWORD process;
        HWND found;
    } search{process, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[16] = L"";
            GetClassNameW(hwnd, name, 16);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (!lstrcmpW(name, L"#32770") && IsWindowVisible(hwnd) && (!s->process || owner == s->process)) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void printUtf8(const std::wstring& text) {
    std::string bytes(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
    std::fputs(bytes.c_str(), stdout);
}

std::wstring escaped(std::wstring text) {
    for (size_t i = 0; (i = text.find(L'\n', i)) != std::wstring::npos;) text.replace(i, 1, L"\\n");
    return text;
}

std::wstring windowText(HWND hwnd) {
    wchar_t buffer[2048] = L"";
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, nullptr);
    return buffer;
}

// Memory in the window's process for messages that pass pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND hwnd, size_t size) : size_(size) {
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                               FALSE, process);
        if (process_) memory_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    void* address() const { return memory_; }
    // A 32-bit program (the x86 build) reads records of its own, narrower layout.
    bool narrow() const {
        BOOL wow64 = FALSE;
        return process_ && IsWow64Process(process_, &wow64) && wow64;
    }
    void write(const void* data, size_t size, size_t offset = 0) {
        WriteProcessMemory(process_, static_cast<char*>(memory_) + offset, data, size, nullptr);
    }
    void read(void* data, size_t size, size_t offset = 0) {
        ReadProcessMemory(process_, static_cast<char*>(memory_) + offset, data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* memory_ = nullptr;
    size_t size_;
};

// Sends a message whose record (LVITEMW, TCITEMW) points at a text buffer, all in
// the other process, and reads the text back.
// LVITEMW as a 32-bit program lays it out.
struct ListItem32 {
    UINT mask;
    int iItem, iSubItem;
    UINT state, stateMask;
    std::uint32_t pszText;
    int cchTextMax, iImage;
    std::uint32_t lParam;
    int iIndent, iGroupId;
    UINT cColumns;
    std::uint32_t puColumns, piColFmt;
    int iGroup;
};

template <typename Record>
std::wstring remoteText(HWND hwnd, RemoteBuffer& remote, UINT message, WPARAM wParam, Record record) {
    constexpr size_t textOffset = 512;
    record.cchTextMax = 1024;
    char* remoteText = static_cast<char*>(remote.address()) + textOffset;
    if constexpr (std::is_same_v<decltype(record.pszText), std::uint32_t>)
        record.pszText = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(remoteText));
    else
        record.pszText = reinterpret_cast<wchar_t*>(remoteText);
    remote.write(&record, sizeof record);
    SendMessageW(hwnd, message, wParam, reinterpret_cast<LPARAM>(remote.address()));
    wchar_t text[1024] = L"";
    remote.read(text, sizeof text - sizeof(wchar_t), textOffset);
    return text;
}

std::wstring cellText(HWND list, RemoteBuffer& remote, int row, int column) {
    if (remote.narrow()) {
        ListItem32 item{};
        item.iSubItem = column;
        return remoteText(list, remote, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), item);
    }
    LVITEMW item{};
    item.iSubItem = column;
    return remoteText(list, remote, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), item);
}

HWND resultsList() {
    HWND tab = FindWindowExW(mainWindow(), nullptr, WC_TABCONTROLW, nullptr);
    HWND list = nullptr;
    for (HWND page = FindWindowExW(tab, nullptr, L"STATIC", nullptr); page && !list;
         page = FindWindowExW(tab, page, L"STATIC", nullptr))
        list = FindWindowExW(page, nullptr, WC_LISTVIEWW, nullptr);
    return list;
}

void printTabPoint(int index) {
    HWND tab = FindWindowExW(mainWindow(), nullptr, WC_TABCONTROLW, nullptr);
    if (!tab) return;
    RemoteBuffer remote(tab, sizeof(RECT));
    if (!SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote.address()))) return;
    RECT box{};
    remote.read(&box, sizeof box);
    POINT middle{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    ClientToScreen(tab, &middle);
    std::printf("%ld %ld\n", middle.x, middle.y);
}

HWND pageControl(int id) {
    HWND tab = FindWindowExW(mainWindow(), nullptr, WC_TABCONTROLW, nullptr);
    HWND found = nullptr;
    for (HWND page = FindWindowExW(tab, nullptr, L"STATIC", nullptr); page && !found;
         page = FindWindowExW(tab, page, L"STATIC", nullptr))
        if (HWND control = GetDlgItem(page, id)) found = control;
    return found;
}

void printListRows(int id) {
    HWND list = pageControl(id);
    if (!list) return;
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    RemoteBuffer remote(list, 4096);
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        std::wstring line;
        for (int column = 0; column < columns; ++column) line += (column ? L"\t" : L"") + cellText(list, remote, row, column);
        printUtf8(line + L"\n");
    }
}

// The first column of the list's selected row, as the list gives it to a screen reader.
void printSelectedRow(int id) {
    HWND list = pageControl(id);
    if (!list) return;
    const int row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0) {
        std::puts("none");
        return;
    }
    RemoteBuffer remote(list, 4096);
    printUtf8(cellText(list, remote, row, 0) + L"\n");
}

void tickRow(int row, bool ticked) {
    HWND list = resultsList();
    if (!list) return;
    RemoteBuffer remote(list, sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
    // The 32-bit program's record is laid out alike up to these fields.
    remote.write(&item, sizeof item);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.address()));
}

void printClipboard() {
    if (!OpenClipboard(nullptr)) return;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* at = static_cast<const wchar_t*>(GlobalLock(data))) printUtf8(at);
        GlobalUnlock(data);
    }
    CloseClipboard();
}

void printMenu() {
    HWND popup = FindWindowW(L"#32768", nullptr);
    HMENU menu = popup ? reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)) : nullptr;
    if (!menu || !IsWindowVisible(popup)) {
        std::puts("none");
        return;
    }
    RECT box{};
    GetWindowRect(popup, &box);
    std::printf("%ld %ld %ld %ld\n", box.left, box.top, box.right, box.bottom);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[256] = L"";
        GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        printUtf8(std::wstring(text) + L"\n");
    }
}

void printRows() {
    HWND list = resultsList();
    if (!list) return;
    RemoteBuffer remote(list, 4096);
    int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        UINT state = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
        printUtf8((((state >> 12) == 2) ? L"x\t" : L"-\t") + cellText(list, remote, row, 0) + L"\t" +
                  cellText(list, remote, row, 1) + L"\n");
    }
}

std::wstring statusText() {
    HWND bar = FindWindowExW(mainWindow(), nullptr, STATUSCLASSNAMEW, nullptr);
    if (!bar) return {};
    RemoteBuffer remote(bar, 4096);
    SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(remote.address()));
    wchar_t text[2048] = L"";
    remote.read(text, sizeof text - sizeof(wchar_t));
    return text;
}

void printStatus() { printUtf8(statusText() + L"\n"); }

double millisecondsSince(LARGE_INTEGER start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Every text the status bar shows during a search, read every few milliseconds
// from here rather than by a program started per reading, which may come too late
// to see a walk's progress change.
void printStatusChanges(int limit) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    std::puts("watching");  // the caller waits for this line before it starts the search
    std::fflush(stdout);
    std::wstring shown = statusText();
    bool searching = false;  // the status may still show the last search's summary
    while (millisecondsSince(start) < limit) {
        const std::wstring now = statusText();
        if (now != shown) {
            printUtf8(now + L"\n");
            std::fflush(stdout);
            shown = now;
            if (shown.compare(0, 8, L"Showing ") != 0) searching = true;
            else if (searching) return;
        }
        Sleep(5);
    }
}

void pressKey(WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

// "Tick extra copies" as the person waits for it: from Shift+F10 on the results
// list (which has the focus) through the menu's X to the summary in the status
// bar, in milliseconds, then when the menu showed and when the window greyed;
// -1 when it did not come within the limit.
void timeExtraCopies(int limit) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    pressKey(VK_SHIFT, true);
    pressKey(VK_F10, true);
    pressKey(VK_F10, false);
    pressKey(VK_SHIFT, false);
    while (!IsWindowVisible(FindWindowW(L"#32768", nullptr)) && millisecondsSince(start) < limit) Sleep(1);
    const double menu = millisecondsSince(start);
    pressKey('X', true);
    pressKey('X', false);
    // The window is greyed while it compares, and the summary may read as the last
    // round's: the end is the window back after it was greyed.
    while (IsWindowEnabled(mainWindow()) && millisecondsSince(start) < limit) Sleep(1);
    const double greyed = millisecondsSince(start);
    // Only the window's state is looked at while it compares: asking its status
    // text a thousand times a second would take the window's thread and the
    // server from the comparison.
    while (!IsWindowEnabled(mainWindow()) && millisecondsSince(start) < limit) Sleep(1);
    while (millisecondsSince(start) < limit) {
        if (statusText().compare(0, 7, L"Ticked ") == 0 && IsWindowEnabled(mainWindow())) {
            // The whole first; then when the menu showed and when the window was greyed.
            std::printf("%.0f %.0f %.0f\n", millisecondsSince(start), menu, greyed);
            return;
        }
        Sleep(1);
    }
    std::puts("-1");
}

// A whole search as the person sees it: from the click on the search button to
// the summary in the status bar. The window is disabled while the search runs, so
// its going back to enabled with a summary marks the end.
void timeSearch() {
    HWND main = mainWindow();
    HWND button = GetDlgItem(main, 15);
    if (!button) return;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    PostMessageW(button, BM_CLICK, 0, 0);
    while (IsWindowEnabled(main) && millisecondsSince(start) < 5000) Sleep(1);
    // Only the window's state while it searches: asking its status text a thousand
    // times a second would take the window's thread from the search.
    while (!IsWindowEnabled(main) && millisecondsSince(start) < 60000) Sleep(1);
    while ((!IsWindowEnabled(main) || statusText().compare(0, 8, L"Showing ") != 0) && millisecondsSince(start) < 60000)
        Sleep(1);
    std::printf("%.0f\n", millisecondsSince(start));
}

long long bareWalk(const std::wstring& folder) {
    long long files = 0;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ++files;
        } else if (lstrcmpW(entry.cFileName, L".") && lstrcmpW(entry.cFileName, L"..")) {
            files += bareWalk(folder + entry.cFileName + L"\\");
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return files;
}

// The same drive walked by a bare FindFirstFileW loop, for comparison.
void timeFindLoop(const std::wstring& root) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    const long long files = bareWalk(root);
    std::printf("%.0f %lld\n", millisecondsSince(start), files);
}

void printControl(HWND hwnd) {
    int id = GetDlgCtrlID(hwnd);
    RECT r;
    GetWindowRect(hwnd, &r);
    wchar_t className[64] = L"";
    GetClassNameW(hwnd, className, 64);
    std::wstring text = windowText(hwnd);
    if (!lstrcmpiW(className, WC_COMBOBOXW)) {
        LRESULT selected = SendMessageW(hwnd, CB_GETCURSEL, 0, 0);
        wchar_t item[512] = L"";
        if (selected >= 0) SendMessageW(hwnd, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(item));
        text = item;
    }
    if (!lstrcmpiW(className, L"BUTTON") && (GetWindowLongW(hwnd, GWL_STYLE) & 0xF) == BS_AUTOCHECKBOX)
        text += SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? L" [ticked]" : L" [unticked]";
    if (!lstrcmpiW(className, PROGRESS_CLASSW)) text = std::to_wstring(SendMessageW(hwnd, PBM_GETPOS, 0, 0));
    wchar_t line[128];
    swprintf(line, 128, L"%d\t%d\t%ld %ld %ld %ld\t", id, IsWindowEnabled(hwnd) ? 1 : 0, r.left, r.top, r.right, r.bottom);
    printUtf8(line + escaped(text) + L"\n");
}

void printTabs() {
    HWND tab = FindWindowExW(mainWindow(), nullptr, WC_TABCONTROLW, nullptr);
    if (!tab) return;
    RemoteBuffer remote(tab, 4096);
    for (int i = 0, count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0)); i < count; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        printUtf8(remoteText(tab, remote, TCM_GETITEMW, static_cast<WPARAM>(i), item) + L"\n");
    }
}

// The open list of a drop-down: its screen rectangle, item height and first shown item.
void printDropDown() {
    HWND list = nullptr;
    while ((list = FindWindowExW(nullptr, list, L"ComboLBox", nullptr)) && !IsWindowVisible(list)) {
    }
    if (!list) {
        std::puts("none");
        return;
    }
    RECT r;
    GetWindowRect(list, &r);
    std::printf("%ld %ld %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom,
                static_cast<long>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)),
                static_cast<long>(SendMessageW(list, LB_GETTOPINDEX, 0, 0)));
}

void printState() {
    HWND main = mainWindow();
    if (!main) return;
    RECT r;
    GetWindowRect(main, &r);
    std::printf("window\t%d\t%ld %ld %ld %ld\t", IsWindowEnabled(main) ? 1 : 0, r.left, r.top, r.right, r.bottom);
    printUtf8(windowText(main) + L"\n");
    // Controls sit on the window or inside the tab pages.
    std::vector<HWND> all;
    EnumChildWindows(
        main,
        [](HWND hwnd, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    for (HWND hwnd : all) {
        int id = GetDlgCtrlID(hwnd);
        HWND parent = GetParent(hwnd);
        wchar_t parentClass[32] = L"";
        GetClassNameW(parent, parentClass, 32);
        bool onWindow = parent == main || !lstrcmpiW(parentClass, L"STATIC");
        if (onWindow && id >= 0 && id <= 29 && lstrcmpiW(parentClass, WC_COMBOBOXW)) printControl(hwnd);
    }
}

void printBox(HWND box) {
    if (!box) {
        std::puts("none");
        return;
    }
    printUtf8(windowText(box) + L"\t" + escaped(windowText(GetDlgItem(box, 0xFFFF))) + L"\n");
}

// Asks the window for an answer every 50 ms, as the system and other programs
// do, until the file `until` exists: prints how many answers came within a second
// of the question, and the longest silence, from one answer (or the start) to the
// next (or the end), with the tick count at which it began.
void pingUntil(const wchar_t* until) {
    HWND main = mainWindow();
    int asked = 0, answered = 0;
    double longest = 0;
    LARGE_INTEGER lastAnswer;
    QueryPerformanceCounter(&lastAnswer);
    DWORD lastAnswerTick = GetTickCount(), longestFrom = lastAnswerTick;
    auto silenceEnds = [&] {
        const double silence = millisecondsSince(lastAnswer);
        if (silence > longest) {
            longest = silence;
            longestFrom = lastAnswerTick;
        }
    };
    while (GetFileAttributesW(until) == INVALID_FILE_ATTRIBUTES) {
        DWORD_PTR result = 0;
        ++asked;
        if (SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result)) {
            ++answered;
            silenceEnds();
            QueryPerformanceCounter(&lastAnswer);
            lastAnswerTick = GetTickCount();
        }
        Sleep(50);
    }
    silenceEnds();
    std::printf("%d %d %.0f %lu\n", asked, answered, longest, static_cast<unsigned long>(longestFrom));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring command = argc > 1 ? argv[1] : L"state";
    if (command == L"state") printState();
    else if (command == L"rows") printRows();
    else if (command == L"status") printStatus();
    else if (command == L"status-changes" && argc > 2) printStatusChanges(_wtoi(argv[2]));
    else if (command == L"time-search") timeSearch();
    else if (command == L"time-extra-copies" && argc > 2) timeExtraCopies(_wtoi(argv[2]));
    else if (command == L"find-loop" && argc > 2) timeFindLoop(argv[2]);
    else if (command == L"tabs") printTabs();
    else if (command == L"tab-at" && argc > 2) printTabPoint(_wtoi(argv[2]));
    else if (command == L"list-rows" && argc > 2) printListRows(_wtoi(argv[2]));
    else if (command == L"selected-row" && argc > 2) printSelectedRow(_wtoi(argv[2]));
    else if (command == L"ping-until" && argc > 2) pingUntil(argv[2]);
    else if (command == L"dropdown") printDropDown();
    else if (command == L"tick" && argc > 3) tickRow(_wtoi(argv[2]), _wtoi(argv[3]) != 0);
    else if (command == L"clipboard") printClipboard();
    else if (command == L"menu") printMenu();
    else if (command == L"box") printBox(messageBox());
    else if (command == L"wait-box") {
        DWORD limit = argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 5000, start = GetTickCount();
        HWND box = nullptr;
        while (!(box = messageBox()) && GetTickCount() - start < limit) Sleep(50);
        printBox(box);
    } else if (command == L"answer") {
        HWND box = messageBox();
        int id = argc > 2 ? _wtoi(argv[2]) : IDOK;
        if (!box) return 1;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    } else if (command == L"dpi" && argc > 3) {
        // As the system tells a window moved onto a monitor of another scale: the
        // new dots per inch and the rectangle suggested there: width, height and,
        // where given, left and top (else where the window is).
        HWND main = mainWindow();
        RECT now{};
        GetWindowRect(main, &now);
        const LONG left = argc > 6 ? _wtoi(argv[5]) : now.left, top = argc > 6 ? _wtoi(argv[6]) : now.top;
        RECT suggested{left, top, left + _wtoi(argv[3]), top + (argc > 4 ? _wtoi(argv[4]) : 0)};
        const int dpi = _wtoi(argv[2]);
        // The rectangle is read in the window's own process, as the system's is.
        RemoteBuffer remote(main, sizeof suggested);
        if (!remote.address()) return 1;
        remote.write(&suggested, sizeof suggested);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote.address()),
                            SMTO_ABORTIFHUNG, 5000, &ignored);
    } else if (command == L"hold" && argc > 2) {
        HANDLE held = CreateFileW(argv[2], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        if (held == INVALID_HANDLE_VALUE) return 1;
        std::puts("held");
        std::fflush(stdout);
        while (std::getchar() != EOF) {
        }
        CloseHandle(held);
    } else {
        return 2;
    }
    return 0;
}
