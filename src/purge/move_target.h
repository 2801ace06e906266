#pragma once
#include <string>

// Recolours the target field; makes the target end in "\".
void checkMoveTarget();
void browseForMoveTarget();
// The check made when the move is asked for; shows the refusal itself. True when accepted.
bool acceptMoveTarget(const std::wstring& searchDrive);
// The first name in the folder that nothing uses yet: "name.ext", then "name (2).ext", ...
std::wstring freeNameIn(const std::wstring& folder, const std::wstring& fileName);
