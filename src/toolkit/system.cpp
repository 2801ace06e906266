#include "toolkit/system.h"

#include "toolkit/handles.h"
#include "toolkit/native.h"
#include "toolkit/paths.h"
#include "toolkit/person.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

std::wstring ProgramPath() {
    // A path that fills the buffer may have been cut: ask again with more room.
    std::wstring path(MAX_PATH + 1, L'\0');
    DWORD length = 0;
    for (;;) {
        length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size() || path.size() >= 32768) break;
        path.resize(path.size() * 2);
    }
    path.resize(length);
    if (path.compare(0, 4, L"\\\\?\\") == 0) path.erase(0, 4);
    return path;
}

int WindowsVersionCodeFor(unsigned long platform, unsigned long major, unsigned long minor, bool workstation) {
    if (platform == VER_PLATFORM_WIN32_WINDOWS) {
        if (minor == 0) return 10;
        if (minor == 10) return 30;
        if (minor == 90) return 40;
        return 200;
    }
    if (platform != VER_PLATFORM_WIN32_NT) return 200;
    const auto pick = [workstation](int forWorkstation, int forServer) { return workstation ? forWorkstation : forServer; };
    switch (major) {
        case 3: return 5;
        case 4: return 20;
        case 5:
            if (minor == 0) return 50;
            if (minor == 1) return 60;
            if (minor == 2) return pick(60, 65);
            return 200;
        case 6:
            switch (minor) {
                case 0: return pick(70, 75);
                case 1: return pick(80, 85);
                case 2: return pick(90, 95);
                case 3: return pick(100, 105);
                default: return 200;
            }
        case 10: return minor == 0 ? 110 : 200;
        default: return 200;
    }
}

int WindowsVersionCode() {
    // RtlGetVersion tells the real release; GetVersionEx may be shimmed for compatibility.
    using RtlGetVersionProc = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto rtlGetVersion = ntdll ? reinterpret_cast<RtlGetVersionProc>(
                                     reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                               : nullptr;
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (rtlGetVersion && rtlGetVersion(&version) == 0)
        return WindowsVersionCodeFor(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion,
                                     version.wProductType == VER_NT_WORKSTATION);
    OSVERSIONINFOEXA fallback{};
    fallback.dwOSVersionInfoSize = sizeof fallback;
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&fallback))) return 200;
    return WindowsVersionCodeFor(fallback.dwPlatformId, fallback.dwMajorVersion, fallback.dwMinorVersion,
                                 fallback.wProductType == VER_NT_WORKSTATION);
}

int RunProgram(const std::wstring& path) {
    if (path.empty()) return 0;
    std::wstring commandLine = path[0] == L'"' ? path : L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                       &startup, &process)) {
        // The program runs on by itself: nothing here waits for it.
        KernelHandle thread(process.hThread), started(process.hProcess);
        return 1;
    }
    std::wstring folder = path.substr(0, path.find_last_of(L"\\/") == std::wstring::npos ? 0 : path.find_last_of(L"\\/") + 1);
    return personCalls().shellOpen(nullptr, path, folder, SW_SHOWNORMAL, true) ? 1 : 0;
}

namespace {

struct StartedThread {
    KernelHandle handle;
    int number;
};

std::vector<StartedThread> threads;
int nextThreadNumber = 1;

struct ThreadStartup {
    ThreadProcedure procedure;
    void* parameter;
};

DWORD WINAPI threadEntry(void* startup) {
    ThreadStartup copy = *static_cast<ThreadStartup*>(startup);
    delete static_cast<ThreadStartup*>(startup);
    copy.procedure(copy.parameter);
    return 0;
}

}  // namespace

namespace {

std::vector<StartedThread>::iterator startedThread(int number) {
    return std::find_if(threads.begin(), threads.end(), [number](const StartedThread& t) { return t.number == number; });
}

}  // namespace

int ThreadStart(ThreadProcedure procedure, void* parameter, unsigned long stackBytes) {
    // Handles of threads that have ended are let go here.
    std::erase_if(threads, [](const StartedThread& t) { return WaitForSingleObject(t.handle.get(), 0) == WAIT_OBJECT_0; });
    auto* startup = new ThreadStartup{procedure, parameter};
    HANDLE handle = CreateThread(nullptr, stackBytes ? stackBytes : 4096, threadEntry, startup,
                                 stackBytes ? STACK_SIZE_PARAM_IS_A_RESERVATION : 0, nullptr);
    if (!handle) {
        delete startup;
        return 0;
    }
    threads.push_back(StartedThread{KernelHandle(handle), nextThreadNumber});
    return nextThreadNumber++;
}

void ThreadFinish(int number) {
    auto started = startedThread(number);
    if (started == threads.end()) return;
    WaitForSingleObject(started->handle.get(), INFINITE);
    threads.erase(started);
}

bool ThreadEnded(int number) {
    auto started = startedThread(number);
    return started == threads.end() || WaitForSingleObject(started->handle.get(), 0) == WAIT_OBJECT_0;
}

HANDLE ThreadNativeHandle(int number) {
    auto started = startedThread(number);
    return started == threads.end() ? nullptr : started->handle.get();
}

void closeThreadHandles() { threads.clear(); }

namespace {

constexpr UINT_PTR reselectTimer = 1;

struct ChooserState {
    std::wstring initialPath;
};

VOID CALLBACK reselectInitialFolder(HWND dialog, UINT, UINT_PTR timer, DWORD) {
    KillTimer(dialog, timer);
    if (auto* state = reinterpret_cast<ChooserState*>(GetPropW(dialog, L"RavlekChooser")))
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(state->initialPath.c_str()));
}

int CALLBACK chooserCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
    auto* state = reinterpret_cast<ChooserState*>(data);
    if (message == BFFM_INITIALIZED) {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(state->initialPath.c_str()));
        // Selected again a moment later: the tree is not always ready at first.
        SetTimer(dialog, reselectTimer, 200, reselectInitialFolder);
        SetPropW(dialog, L"RavlekChooser", state);
    }
    return 0;
}

struct DisabledWindows {
    std::vector<HWND> disabled, wasTopmost;
};

BOOL CALLBACK disableOne(HWND hwnd, LPARAM data) {
    auto* windows = reinterpret_cast<DisabledWindows*>(data);
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        windows->disabled.push_back(hwnd);
    }
    if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) {
        SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        windows->wasTopmost.push_back(hwnd);
    }
    return TRUE;
}

}  // namespace

std::wstring chooseFolderDialog(const std::wstring& title, const std::wstring& initialPath) {
    HMODULE shell = LoadLibraryW(L"shell32.dll");
    if (!shell) return {};
    using Browse = PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOW);
    using PathFromList = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPWSTR);
    auto browse = reinterpret_cast<Browse>(reinterpret_cast<void*>(GetProcAddress(shell, "SHBrowseForFolderW")));
    auto pathFromList = reinterpret_cast<PathFromList>(reinterpret_cast<void*>(GetProcAddress(shell, "SHGetPathFromIDListW")));
    std::wstring chosen;
    if (browse && pathFromList) {
        ChooserState state{initialPath};
        HWND foreground = GetForegroundWindow();
        DWORD owner = 0;
        if (foreground) GetWindowThreadProcessId(foreground, &owner);
        BROWSEINFOW info{};
        info.hwndOwner = owner == GetCurrentProcessId() ? foreground : nullptr;
        info.lpszTitle = title.c_str();
        info.ulFlags = BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
        info.lpfn = chooserCallback;
        info.lParam = reinterpret_cast<LPARAM>(&state);

        DisabledWindows windows;
        EnumThreadWindows(GetCurrentThreadId(), disableOne, reinterpret_cast<LPARAM>(&windows));
        OleInitialize(nullptr);
        PIDLIST_ABSOLUTE list = browse(&info);
        OleUninitialize();
        for (HWND hwnd : windows.disabled) EnableWindow(hwnd, TRUE);
        for (HWND hwnd : windows.wasTopmost) SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (list) {
            wchar_t path[MAX_PATH + 1] = L"";
            if (pathFromList(list, path)) chosen = path;
            CoTaskMemFree(list);
        }
    }
    FreeLibrary(shell);
    return chosen;
}

std::wstring ChooseFolder(const std::wstring& title, const std::wstring& initialPath) {
    std::wstring initial = initialPath.substr(0, 259);
    // A drive root keeps its backslash; a longer folder path is selected without it.
    if (initial.size() > 3 && initial.back() == L'\\') initial.pop_back();
    std::wstring chosen = personCalls().chooseFolder(title, initial);
    if (chosen.empty()) return chosen;
    if (chosen.size() > MAX_PATH) chosen.resize(MAX_PATH);
    return PathAsFolder(chosen);
}

std::wstring WindowsFolder() {
    std::wstring buffer(999, L' ');
    const UINT length = GetWindowsDirectoryW(buffer.data(), 990);
    buffer.resize(length < 990 ? length : 0);
    return PathAsFolder(buffer);
}

int ScreenDotsPerInch() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi;
}

int ScrollBarAllowance() { return GetSystemMetrics(SM_CXVSCROLL) + GetSystemMetrics(SM_CXDRAG); }

bool ClaimSingleInstance(const std::wstring& name) {
    const UINT activation = RegisterWindowMessageW((L"WM_ACTIVATEOLDINST_" + name).c_str());
    HANDLE mutex = CreateMutexW(nullptr, TRUE, name.c_str());
    if (mutex && GetLastError() == 0) return true;  // kept until the process ends
    // A hung window anywhere on the desktop must not hang this copy too.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(HWND_BROADCAST, activation, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    return false;
}

void EnableDebugPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    KernelHandle owner(token);
    TOKEN_PRIVILEGES privileges{};
    if (LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &privileges.Privileges[0].Luid)) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    }
}

void QuietCriticalErrors() { SetErrorMode(SEM_FAILCRITICALERRORS); }

void ProcessEnd(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

unsigned long TickCount() { return GetTickCount(); }

SystemColours SystemColoursNow() {
    auto rgb = [](int which) {
        const COLORREF colour = GetSysColor(which);
        return static_cast<unsigned long>((GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour));
    };
    SystemColours colours;
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    colours.highContrast = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    colours.window = rgb(COLOR_WINDOW);
    colours.windowText = rgb(COLOR_WINDOWTEXT);
    colours.highlight = rgb(COLOR_HIGHLIGHT);
    return colours;
}

bool ClipboardSetText(const std::wstring& text) {
    // The clipboard takes text only from a window that owns it while open: a
    // window of its own, never shown, lives as long as the program.
    static const HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    // Another program may hold the clipboard for a moment: a few tries.
    bool open = false;
    for (int attempt = 0; attempt < 10 && !(open = OpenClipboard(owner)); ++attempt) Sleep(20);
    if (!open) return false;
    bool placed = false;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (EmptyClipboard()) {
        if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
            if (void* at = GlobalLock(memory)) {
                std::memcpy(at, text.c_str(), bytes);
                GlobalUnlock(memory);
                placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
            }
            if (!placed) GlobalFree(memory);  // the clipboard owns it only once placed
        }
    }
    CloseClipboard();
    return placed;
}
