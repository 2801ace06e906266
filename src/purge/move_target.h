#pragma once
// The move target: the folder the person typed or chose, kept in purgeState().
#include <string>

// Takes the target field's text as the target, and recolours the field.
void takeTypedMoveTarget();
// Recolours the target field; makes the target end in "\".
void checkMoveTarget();
void browseForMoveTarget();
// The check made when the move is asked for; shows the refusal itself. True when
// accepted. With the temporary files purged too, a target in or around them is refused.
bool acceptMoveTarget(const std::wstring& searchDrive, bool purgeTempFiles);
