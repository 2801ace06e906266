#include "toolkit/person.h"
#include "toolkit/system.h"
#include "toolkit/native.h"

#include <gtest/gtest.h>

TEST(WindowsVersionCode, TableOfReleases) {
    struct Row {
        DWORD platform, major, minor;
        bool workstation;
        int code;
    } rows[] = {
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, true, 10},  {VER_PLATFORM_WIN32_WINDOWS, 4, 10, true, 30},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 90, true, 40}, {VER_PLATFORM_WIN32_WINDOWS, 4, 50, true, 200},
        {VER_PLATFORM_WIN32_NT, 3, 51, true, 5},       {VER_PLATFORM_WIN32_NT, 4, 0, true, 20},
        {VER_PLATFORM_WIN32_NT, 5, 0, true, 50},       {VER_PLATFORM_WIN32_NT, 5, 1, true, 60},
        {VER_PLATFORM_WIN32_NT, 5, 2, true, 60},       {VER_PLATFORM_WIN32_NT, 5, 2, false, 65},
        {VER_PLATFORM_WIN32_NT, 6, 0, true, 70},       {VER_PLATFORM_WIN32_NT, 6, 0, false, 75},
        {VER_PLATFORM_WIN32_NT, 6, 1, true, 80},       {VER_PLATFORM_WIN32_NT, 6, 1, false, 85},
        {VER_PLATFORM_WIN32_NT, 6, 2, true, 90},       {VER_PLATFORM_WIN32_NT, 6, 2, false, 95},
        {VER_PLATFORM_WIN32_NT, 6, 3, true, 100},      {VER_PLATFORM_WIN32_NT, 6, 3, false, 105},
        {VER_PLATFORM_WIN32_NT, 10, 0, true, 110},     {VER_PLATFORM_WIN32_NT, 10, 0, false, 110},
        {VER_PLATFORM_WIN32_NT, 6, 4, true, 200},      {VER_PLATFORM_WIN32_NT, 11, 0, true, 200},
        {VER_PLATFORM_WIN32s, 3, 1, true, 200},
    };
    for (const Row& row : rows)
        EXPECT_EQ(WindowsVersionCodeFor(row.platform, row.major, row.minor, row.workstation), row.code)
            << row.platform << " " << row.major << "." << row.minor << (row.workstation ? " workstation" : " server");
    EXPECT_EQ(WindowsVersionCode(), 80) << "the test prefix reports Windows 7";
}

TEST(ProgramPath, IsTheRunningExecutable) {
    std::wstring path = ProgramPath();
    EXPECT_EQ(path.substr(path.size() - 4), L".exe");
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

namespace {

std::wstring askedFor;
std::wstring answer;

std::wstring scriptedChooser(const std::wstring&, const std::wstring& initial) {
    askedFor = initial;
    return answer;
}

}  // namespace

TEST(ChooseFolder, TrimsTheInitialPathAndEndsTheAnswerInBackslash) {
    personCalls().chooseFolder = scriptedChooser;
    answer = L"E:\\Target";
    EXPECT_EQ(ChooseFolder(L"Pick", L"D:\\"), L"E:\\Target\\");
    EXPECT_EQ(askedFor, L"D:\\") << "a drive root keeps its backslash";
    answer = L"E:\\";
    EXPECT_EQ(ChooseFolder(L"Pick", L"D:\\Some\\Folder\\"), L"E:\\");
    EXPECT_EQ(askedFor, L"D:\\Some\\Folder");
    ChooseFolder(L"Pick", std::wstring(300, L'a'));
    EXPECT_EQ(askedFor.size(), 259u);
    answer = L"";
    EXPECT_EQ(ChooseFolder(L"Pick", L"D:\\"), L"") << "cancel";
    personCalls().chooseFolder = chooseFolderDialog;
}

namespace {

std::wstring openedFile, openedFolder;

bool scriptedShell(const wchar_t*, const std::wstring& file, const std::wstring& folder, int, bool) {
    openedFile = file;
    openedFolder = folder;
    return true;
}

}  // namespace

TEST(RunProgram, StartsProgramsAndHandsDocumentsToTheShell) {
    personCalls().shellOpen = scriptedShell;
    EXPECT_TRUE(RunProgram(L"D:\\manuals\\Ravlek.chm"));
    EXPECT_EQ(openedFile, L"D:\\manuals\\Ravlek.chm");
    EXPECT_EQ(openedFolder, L"D:\\manuals\\");
    openedFile.clear();
    EXPECT_TRUE(RunProgram(L"C:\\windows\\system32\\cmd.exe /c exit")) << "quoted as one path: not found, so the shell gets it";
    EXPECT_EQ(RunProgram(L""), 0);
    personCalls().shellOpen = shellExecute;
}

