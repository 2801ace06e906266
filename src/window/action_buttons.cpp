#include "window/main_window.h"

#include "toolkit/controls.h"
#include "toolkit/paths.h"
#include "window/control_ids.h"

void MainWindow::updateActionButtons() {
    const bool anyTicked = ControlTickedCount(idResultsList) > 0;
    // The status names the one file selected; with none or several, the panels rest.
    if (ControlSelectedCount(idResultsList) == 1) {
        setStatus(PathNamePart(selectedPath_));
    } else {
        resetInfoPanel();
    }
    ControlSetDisabled(idDeleteButton, !(anyTicked || isOptionTicked(SearchOption::tempFiles)));
    ControlSetDisabled(idMoveButton, !anyTicked);

    const bool textMode = nameCriterionChosen();
    ControlSetDisabled(idTextLabel, !textMode);
    ControlSetDisabled(idTextField, !textMode);
}
