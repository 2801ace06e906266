#include "toolkit/console.h"

#include "toolkit/text.h"
#include "toolkit/ui_objects.h"

#include <windows.h>
#include <shellapi.h>

#include <atomic>

namespace {

std::atomic<bool> stopRequested{false};

// Called on a thread of the system's own: the work looks at the flag and ends
// itself, writing nothing partial.
BOOL WINAPI heardStop(DWORD) {
    stopRequested.store(true);
    return TRUE;
}

// `taskkill` without /f, a task scheduler's end and the end of the session ask a
// program without a console to close through its windows: one that is never
// shown hears them as a stop.
LRESULT CALLBACK stopWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
    case WM_ENDSESSION:
        stopRequested.store(true);
        return 0;
    case WM_QUERYENDSESSION:
        stopRequested.store(true);
        return TRUE;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}


struct Output {
    HANDLE handle = nullptr;
    bool console = false;  // a console takes UTF-16; a file or pipe is given UTF-8
};

Output outputs[2];

bool usable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

Output outputOf(HANDLE handle) {
    Output output;
    if (!usable(handle)) return output;
    output.handle = handle;
    DWORD mode = 0;
    output.console = GetConsoleMode(handle, &mode) != 0;
    return output;
}

}  // namespace

std::vector<std::wstring> ProgramArguments() {
    std::vector<std::wstring> words;
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!list) return words;
    for (int i = 1; i < count; ++i) words.emplace_back(list[i]);
    LocalFree(list);
    return words;
}

void ConsoleAttach() {
    // A program of the window kind starts with no console of its own; what it
    // was given (a redirection) comes first, the starting program's console next.
    outputs[0] = outputOf(GetStdHandle(STD_OUTPUT_HANDLE));
    outputs[1] = outputOf(GetStdHandle(STD_ERROR_HANDLE));
    if ((!outputs[0].handle || !outputs[1].handle) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        // Lives until the process ends, as the console's own handles do.
        const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, 0, nullptr);
        for (Output& output : outputs)
            if (!output.handle) output = outputOf(console);
    }
    SetConsoleCtrlHandler(heardStop, TRUE);
    createHiddenWindow(L"RavlekScriptSearch", stopWindowProc, L"Ravlek search from a script");  // lives until the end
}

void ConsoleWriteLine(const std::wstring& text, bool toErrorOutput) {
    const Output& output = outputs[toErrorOutput ? 1 : 0];
    if (!output.handle) return;
    const std::wstring line = text + L"\r\n";
    DWORD written = 0;
    if (output.console) {
        WriteConsoleW(output.handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    } else {
        const std::string bytes = TextToUtf8(line);
        WriteFile(output.handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
}

bool ConsoleStopRequested() { return stopRequested.load(); }
