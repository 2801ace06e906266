#include "app/program.h"

#include "purge/probe_file.h"
#include "search/search_state.h"
#include "toolkit/file_ops.h"
#include "toolkit/paths.h"
#include "toolkit/system.h"
#include "toolkit/text.h"

#include <windows.h>

#include <cmath>

Program& program() {
    static Program state;
    return state;
}

void nameProgram() {
    Program& p = program();
    p.name = L"Ravlek";
    p.version = TextFromInteger(1) + L"." + TextFromInteger(0);
    p.makerAddress = L"http://ravlek.example.com/";
}

std::wstring manualPathFor(const std::wstring& executablePath) {
    // Only the file's own name loses ".exe": a folder such as D:\\Tools.exe\\ keeps its name.
    return PathFolderPart(executablePath) + TextRemove(PathNamePart(executablePath) + L".chm", L".exe", 1);
}

int scaled(double designUnits) { return static_cast<int>(std::nearbyint(designUnits * program().scale)); }

namespace {

std::wstring readWindowsFolder() {
    std::wstring buffer(999, L' ');
    UINT length = GetWindowsDirectoryW(buffer.data(), 990);
    buffer.resize(length < 990 ? length : 0);
    if (buffer.empty() || buffer.back() != L'\\') buffer += L'\\';
    return buffer;
}

double screenScale() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi / 100.0;
}

}  // namespace

void gatherEnvironment() {
    Program& p = program();
    p.windowsFolder = readWindowsFolder();
    setWindowsFolder(p.windowsFolder);
    p.windowsVersionCode = WindowsVersionCode();
    p.tempFolder = TempFilesFolder();
    p.executablePath = ProgramPath();
    p.programFolder = PathFolderPart(p.executablePath);
    p.settingsPath = p.programFolder + p.name + L".ini";
    p.firstRun = PathSize(p.settingsPath) == sizeMissing;
    p.manualPath = manualPathFor(p.executablePath);
    p.locationWritable = probeWritable(p.programFolder);
    p.scale = screenScale();
}
