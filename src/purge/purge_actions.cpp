#include "purge/purge_actions.h"

// Deleting and moving arrive with the purge work. Until then the commands
// leave every file alone: doing nothing is the one safe answer.
void purgeTickedFiles(int) {}
void checkMoveTarget() {}
void browseForMoveTarget() {}
