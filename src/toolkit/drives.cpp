#include "toolkit/drives.h"

#include <windows.h>

#include <cwchar>

DriveReading DriveRead(wchar_t letter) {
    DriveReading reading;
    if (letter >= L'a' && letter <= L'z') letter = static_cast<wchar_t>(letter - L'a' + L'A');
    if (letter < L'A' || letter > L'Z') return reading;
    const std::wstring root = std::wstring(1, letter) + L":\\";
    const UINT type = GetDriveTypeW(root.c_str());
    if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR) return reading;
    reading.present = true;

    std::wstring label(990, L'\0');
    if (GetVolumeInformationW(root.c_str(), label.data(), 990, nullptr, nullptr, nullptr, nullptr, 0)) {
        label.resize(wcslen(label.c_str()));
        reading.label = label;
        reading.labelRead = true;
    }
    ULARGE_INTEGER freeToCaller, total;
    if (GetDiskFreeSpaceExW(root.c_str(), &freeToCaller, &total, nullptr)) {
        reading.totalBytes = static_cast<long long>(total.QuadPart);
        reading.freeBytes = static_cast<long long>(freeToCaller.QuadPart);
    }
    return reading;
}
