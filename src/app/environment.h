#pragma once
// Reads the machine's facts into the program's record: folders, version, scale,
// paths and the writable probe; the search learns the Windows folder it leaves out.
void gatherEnvironment();
