#pragma once
#include "window/program.h"

// Reads the machine's facts into the program's record: folders, version, scale,
// paths and the writable probe.
void gatherEnvironment(Program& program);
