#include "purge/drive_info.h"

#include "app/control_ids.h"
#include "purge/probe_file.h"
#include "toolkit/controls.h"
#include "toolkit/text.h"

#include <windows.h>

DriveInfo& driveInfo() {
    static DriveInfo info;
    return info;
}

void readDriveInfo(const std::wstring& letter) {
    DriveInfo& info = driveInfo();
    info = DriveInfo{};
    std::wstring drive = TextUpper(TextLeft(letter, 1));
    if (drive.empty() || drive[0] < L'A' || drive[0] > L'Z') return;
    const std::wstring root = drive + L":\\";
    UINT type = GetDriveTypeW(root.c_str());
    if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR) return;

    std::wstring label(990, L'\0');
    if (GetVolumeInformationW(root.c_str(), label.data(), 990, nullptr, nullptr, nullptr, nullptr, 0)) {
        label.resize(wcslen(label.c_str()));
        info.label = label;
        info.labelRead = true;
    }
    ULARGE_INTEGER freeToCaller, total;
    if (GetDiskFreeSpaceExW(root.c_str(), &freeToCaller, &total, nullptr)) {
        info.totalBytes = static_cast<long long>(total.QuadPart);
        info.freeBytes = static_cast<long long>(freeToCaller.QuadPart);
    }
    info.writable = probeWritable(root) ? Writable::yes : Writable::no;
}

std::wstring driveItemText(wchar_t letter, const DriveInfo& info) {
    std::wstring text = std::wstring(1, letter) + L":  (" + info.label;
    if (!info.label.empty()) text += L", ";
    // Unreadable space or an empty volume has no meaningful share: say so rather
    // than show a made-up figure.
    if (info.totalBytes <= 0 || info.freeBytes < 0) return text + L"free space unknown)";
    return text + TextFromInteger(info.freeBytes * 100 / info.totalBytes) + L"% free)";
}

void rebuildDriveList() {
    ControlClearItems(idDriveList);
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        readDriveInfo(std::wstring(1, letter));
        if (driveInfo().labelRead) ControlAddItem(idDriveList, -1, driveItemText(letter, driveInfo()));
    }
}
