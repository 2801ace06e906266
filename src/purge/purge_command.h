#pragma once
// The purge commands of the window: delete or move the ticked files.

// id: the delete button or the move button.
void purgeTickedFiles(int id);
