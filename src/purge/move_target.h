#pragma once
// The move target: the folder the person typed or chose, kept in the purge's state.
#include "purge/purge_state.h"

#include <string>

class MainWindow;

// Takes the target field's text as the target, and recolours the field.
void takeTypedMoveTarget(PurgeState& purge, MainWindow& window);
// Recolours the target field; makes the target end in "\".
void checkMoveTarget(PurgeState& purge, MainWindow& window);
void browseForMoveTarget(PurgeState& purge, MainWindow& window);
// The check made when the move is asked for; shows the refusal itself. True when
// accepted. With the temporary files to be emptied (`emptiedTempFolder`, else
// empty), a target in or around them is refused.
bool acceptMoveTarget(const PurgeState& purge, MainWindow& window, const std::wstring& searchDrive,
                      const std::wstring& emptiedTempFolder);
