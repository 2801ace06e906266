#include "app/startup.h"

#include <windows.h>  // native: the entry point the system calls has its signature

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return startProgram(); }
