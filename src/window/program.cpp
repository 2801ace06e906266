#include "window/program.h"

#include "toolkit/paths.h"
#include "toolkit/text.h"

#include <cmath>

void nameProgram(Program& p) {
    p.name = L"Ravlek";
    p.version = TextFromInteger(1) + L"." + TextFromInteger(0);
    p.makerAddress = L"http://ravlek.example.com/";
}

std::wstring manualPathFor(const std::wstring& executablePath) {
    // Only the file's own name loses ".exe": a folder such as D:\\Tools.exe\\ keeps its name.
    return PathFolderPart(executablePath) + TextRemove(PathNamePart(executablePath) + L".chm", L".exe", 1);
}

int scaled(double designUnits, double scale) { return static_cast<int>(std::nearbyint(designUnits * scale)); }
