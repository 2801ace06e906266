#include "support/fixture.h"

#include "toolkit/handles.h"
#include "toolkit/paths.h"
#include "toolkit/person.h"
#include "toolkit/native.h"

#include <gtest/gtest.h>

namespace {

int escapeFrom = 0;
int queryCount = 0;

SHORT WINAPI scriptedKeyState(int virtualKey) {
    if (virtualKey != VK_ESCAPE) return 0;
    return ++queryCount >= escapeFrom ? static_cast<SHORT>(0x8000) : 0;
}

}  // namespace

std::wstring makeFixtureFolder(const std::wstring& drive) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    // Numbered within the process: a test may ask twice within one tick of the clock.
    static int made = 0;
    std::wstring folder = drive + L"\\" + std::wstring(name.begin(), name.end()) + L"-" +
                          std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) + L"-" +
                          std::to_wstring(++made);
    for (auto& c : folder)
        if (c == L'/') c = L'_';
    EXPECT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << "cannot make the fixture folder";
    return folder + L"\\";
}

void makeSizedFile(const std::wstring& path, long long size) {
    FileHandle file(CreateFileW(PathExactForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.valid()) << "cannot create a fixture file";
    LARGE_INTEGER end;
    end.QuadPart = size;
    ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file.get()));
}

void makeTextFile(const std::wstring& path, const std::string& bytes) {
    FileHandle file(CreateFileW(PathExactForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.valid()) << "cannot create a fixture file";
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

std::string readBytes(const std::wstring& path) {
    FileHandle file(CreateFileW(PathExactForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (file.valid() && ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

void makeFolder(const std::wstring& path) { EXPECT_TRUE(CreateDirectoryW(path.c_str(), nullptr)); }

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

EscapeHeldFrom::EscapeHeldFrom(int query) {
    escapeFrom = query;
    queryCount = 0;
    personCalls().keyState = scriptedKeyState;
}

EscapeHeldFrom::~EscapeHeldFrom() { personCalls().keyState = GetAsyncKeyState; }

int EscapeHeldFrom::queries() { return queryCount; }
