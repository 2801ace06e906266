#include "window/drive_info.h"

#include "toolkit/drives.h"
#include "toolkit/file_ops.h"
#include "toolkit/text.h"

DriveInfo readDriveInfo(const std::wstring& letter) {
    DriveInfo info;
    if (letter.empty()) return info;
    const DriveReading reading = DriveRead(letter[0]);
    if (!reading.present) return info;
    if (reading.labelRead) info.label = reading.label;
    if (reading.totalBytes >= 0) info.totalBytes = reading.totalBytes;
    if (reading.freeBytes >= 0) info.freeBytes = reading.freeBytes;
    info.writable = FolderWritable(TextUpper(letter.substr(0, 1)) + L":\\") ? Writable::yes : Writable::no;
    return info;
}

std::wstring driveItemText(wchar_t letter, const DriveInfo& info) {
    const std::wstring label = info.label.value_or(L"");
    std::wstring text = std::wstring(1, letter) + L":  (" + label;
    if (!label.empty()) text += L", ";
    // Unreadable space or an empty volume has no meaningful share: say so rather
    // than show a made-up figure.
    if (!info.totalBytes || !info.freeBytes || *info.totalBytes <= 0) return text + L"free space unknown)";
    return text + TextFromInteger(*info.freeBytes * 100 / *info.totalBytes) + L"% free)";
}
