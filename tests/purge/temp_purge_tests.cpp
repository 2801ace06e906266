#include "purge/temp_purge.h"

#include <gtest/gtest.h>

TEST(TemporaryFolder, WholeDrivesWindowsAndTheProfileAreTooDangerousToEmpty) {
    const std::wstring windows = L"C:\\windows\\";
    for (const wchar_t* folder : {L"", L"\\", L"C:", L"C:\\", L"e:\\", L"\\\\server\\share\\", L"\\\\server\\share",
                                  L"Temp\\", L"C:\\windows\\", L"C:\\WINDOWS", L"c:\\users\\"})
        EXPECT_TRUE(reasonNotToEmpty(folder, windows)) << testing::PrintToString(std::wstring(folder));
    for (const wchar_t* folder : {L"C:\\users\\root\\Temp\\", L"D:\\Temp\\", L"\\\\server\\share\\temp\\", L"C:\\windows\\Temp\\"})
        EXPECT_FALSE(reasonNotToEmpty(folder, windows)) << testing::PrintToString(std::wstring(folder));
}
