// Ravlek.exe started as a whole process, the way a person starts it.
#include "support/fixture.h"
#include "toolkit/handles.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

const std::wstring builtProgram = L"B:\\bin\\Ravlek.exe";

struct Started {
    KernelHandle process;
    DWORD id = 0;
};

Started start(const std::wstring& exe) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Started started;
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        started.process.reset(info.hProcess);
        started.id = info.dwProcessId;
    }
    return started;
}

// The exit code, or STILL_ACTIVE when it did not end within the time.
DWORD waitForExit(const Started& started, DWORD ms) {
    WaitForSingleObject(started.process.get(), ms);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(started.process.get(), &code);
    return code;
}

struct FoundWindow {
    DWORD process;
    const wchar_t* className;
    HWND found;
};

HWND windowOf(DWORD process, const wchar_t* className, DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        FoundWindow search{process, className, nullptr};
        EnumWindows(
            [](HWND hwnd, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<FoundWindow*>(data);
                DWORD owner = 0;
                GetWindowThreadProcessId(hwnd, &owner);
                wchar_t name[64] = L"";
                GetClassNameW(hwnd, name, 64);
                if (owner == s->process && IsWindowVisible(hwnd) && !lstrcmpW(name, s->className)) {
                    s->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(50);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

// Reads the message box of the process and presses its OK button.
std::wstring answerMessageBox(const Started& started, std::wstring* caption = nullptr) {
    HWND box = windowOf(started.id, L"#32770", 10000);
    if (!box) return L"(no message box)";
    wchar_t text[1024] = L"";
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    if (caption) {
        wchar_t title[128] = L"";
        GetWindowTextW(box, title, 128);
        *caption = title;
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    return text;
}

std::wstring installCopy(const std::wstring& name) {
    std::wstring folder = makeFixtureFolder();
    std::wstring exe = folder + name;
    EXPECT_TRUE(CopyFileW(builtProgram.c_str(), exe.c_str(), TRUE)) << "Ravlek.exe is built into B:\\bin";
    return exe;
}

}  // namespace

TEST(Startup, RunsClosesWithCodeZeroAndASecondCopyQuitsSilently) {
    const std::wstring exe = installCopy(L"Ravlek.exe");
    const std::wstring settings = exe.substr(0, exe.rfind(L'\\') + 1) + L"Ravlek.ini";
    Started first = start(exe);
    HWND window = windowOf(first.id, L"WindowClass_0", 20000);
    ASSERT_TRUE(window) << "the main window shows";
    EXPECT_TRUE(exists(settings)) << "written after the (skipped) first-run reminder";
    ASSERT_TRUE(DeleteFileW(settings.c_str()));

    Started second = start(exe);
    EXPECT_EQ(waitForExit(second, 15000), 0u);
    EXPECT_FALSE(exists(settings)) << "a refused start writes no settings";
    EXPECT_TRUE(IsWindow(window)) << "the first copy runs on";

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(waitForExit(first, 15000), 0u);
    EXPECT_NE(readBytes(settings).find("Update_Check = 0\r\n"), std::string::npos);
}

TEST(Startup, WindowsOlderThanXpIsRefused) {
    const std::wstring exe = installCopy(L"RavlekOnWindows2000.exe");
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\RavlekOnWindows2000.exe", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t version[] = L"win2k";
    RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), sizeof version);
    RegCloseKey(key);

    Started refused = start(exe);
    std::wstring caption;
    EXPECT_EQ(answerMessageBox(refused, &caption), L"Ravlek requires Windows XP or later.");
    EXPECT_EQ(caption, L"Startup Error");
    EXPECT_EQ(waitForExit(refused, 15000), 0u);
    EXPECT_FALSE(exists(exe.substr(0, exe.rfind(L'\\') + 1) + L"Ravlek.ini"));
}

TEST(Startup, ReadOnlyProgramFolderIsRefused) {
    // Laid out natively: a copy of Ravlek.exe in a folder nobody may write to.
    Started refused = start(L"D:\\native\\readonly-app\\Ravlek.exe");
    ASSERT_TRUE(refused.process.valid());
    EXPECT_EQ(answerMessageBox(refused),
              L"Ravlek must be run from a writable location.\nYou'll need to reinstall the product to a different "
              L"folder,\nor remove any lock or write-protection that is enabled.");
    EXPECT_EQ(waitForExit(refused, 15000), 0u);
    EXPECT_FALSE(exists(L"D:\\native\\readonly-app\\Ravlek.ini"));
}
