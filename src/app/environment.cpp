#include "app/environment.h"

#include "toolkit/file_ops.h"
#include "toolkit/paths.h"
#include "toolkit/system.h"
#include "window/program.h"

void gatherEnvironment(Program& p) {
    p.windowsFolder = WindowsFolder();
    p.windowsVersionCode = WindowsVersionCode();
    p.tempFolder = TempFilesFolder();
    p.executablePath = ProgramPath();
    p.programFolder = PathFolderPart(p.executablePath);
    p.settingsPath = p.programFolder + p.name + L".ini";
    p.firstRun = PathSize(p.settingsPath) == sizeMissing;
    p.manualPath = manualPathFor(p.executablePath);
    p.locationWritable = FolderWritable(p.programFolder);
    p.scale = ScreenDotsPerInch() / 100.0;
}
