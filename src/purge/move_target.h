#pragma once
#include <string>

// Recolours the target field; makes the target end in "\".
void checkMoveTarget();
void browseForMoveTarget();
// The check made when the move is asked for; shows the refusal itself. True when accepted.
bool acceptMoveTarget(const std::wstring& searchDrive);
