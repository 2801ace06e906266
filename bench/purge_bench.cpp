// Times a delete of many ticked files through the window, as a person starts it:
// the files are listed by a name search, every row ticked, and Delete answered OK.
//   purge_bench [COUNT [ROUNDS]]   (COUNT files of 1 KB in D:\purge-bench\, default 5000;
//                                   ROUNDS, default 5: the median is printed)
#include "bench_window.h"
#include "app/event_loop.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/native.h"  // native: the confirmation is answered by a stand-in for the message box
#include "toolkit/toolkit.h"
#include "window/control_ids.h"
#include "window/main_window.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const std::wstring folder = L"D:\\purge-bench\\";

int WINAPI sayOk(HWND, LPCWSTR, LPCWSTR, UINT) { return IDOK; }

void makeFiles(int count) {
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::string bytes(1024, 'x');
    for (int i = 0; i < count; ++i) {
        const std::wstring path = folder + L"pb-" + std::to_wstring(i) + L".bin";
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int count = argc > 1 ? _wtoi(argv[1]) : 5000;
    const int rounds = argc > 2 ? _wtoi(argv[2]) : 5;
    if (!openMainWindow(L"D:")) return 1;
    personCalls().messageBox = sayOk;
    ControlSetState(idCriterionSelector, 6);
    dispatchControlEvent(benchApp(), idCriterionSelector, kindChange);
    ControlSetText(idTextField, L"pb-");

    std::vector<double> seconds;
    for (int round = 0; round < rounds; ++round) {
        makeFiles(count);
        dispatchControlEvent(benchApp(), idSearchButton, kindClick);
        const int listed = ControlItemCount(idResultsList);
        ControlTickAllItems(idResultsList, true);
        const auto start = std::chrono::steady_clock::now();
        dispatchControlEvent(benchApp(), idDeleteButton, kindClick);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        std::printf("round %d: %d listed, %d left, %.2f s\n", round + 1, listed, ControlItemCount(idResultsList),
                    seconds.back());
        std::fflush(stdout);
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("delete of %d ticked files: median %.2f s over %d rounds\n", count, seconds[seconds.size() / 2], rounds);
    return 0;
}
