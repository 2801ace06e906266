#pragma once
// The rule that enables the action buttons and the text field: delete and move
// need a ticked row (delete also works with the temporary-files option alone),
// and the text field belongs to the name criterion. The status line names the
// one selected file.
void updateActionButtons();
