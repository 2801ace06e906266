#include "window/program.h"

#include "toolkit/paths.h"
#include "toolkit/text.h"

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
