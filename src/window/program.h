#pragma once
// What the program knows about itself and the machine, found during start-up.
// The program keeps the one record (Application): start-up and the settings fill
// it, the main window alone writes the scale again when it moves to another monitor.
#include <string>

struct Program {
    std::wstring name;        // also the mutex, settings file and message box caption
    std::wstring version;
    std::wstring makerAddress;

    std::wstring windowsFolder;  // ends in "\"
    int windowsVersionCode = 200;
    double scale = 0.96;         // screen dots per inch / 100
    int scrollBarAllowance = 0;
    std::wstring executablePath;
    std::wstring programFolder;
    std::wstring settingsPath;
    bool firstRun = false;
    std::wstring manualPath;
    bool locationWritable = false;
    std::wstring tempFolder;

    int updateCheckYear = 0;
};

// Builds the name, version and address texts.
void nameProgram(Program& program);
// The manual beside the executable: its path with ".chm" added and every ".exe" removed.
std::wstring manualPathFor(const std::wstring& executablePath);
// A design coordinate in pixels: multiplied by the scale, halves rounded to even.
int scaled(double designUnits, double scale);
