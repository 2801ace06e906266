#include "window/action_buttons.h"

#include "toolkit/controls.h"
#include "toolkit/paths.h"
#include "window/control_ids.h"
#include "window/info_pages.h"
#include "window/main_window.h"
#include "window/window_state.h"
#include "window/main_controls.h"

namespace {

// The status names the one file selected; with none or several, the panels rest.
void showSelection() {
    if (ControlSelectedCount(idResultsList) == 1) {
        setMainStatus(PathNamePart(windowState().selectedPath));
    } else {
        resetInfoPanel();
    }
}

}  // namespace

void updateActionButtons() {
    const bool anyTicked = ControlTickedCount(idResultsList) > 0;
    showSelection();
    ControlSetDisabled(idDeleteButton, !(anyTicked || isOptionTicked(SearchOption::tempFiles)));
    ControlSetDisabled(idMoveButton, !anyTicked);

    const bool textMode = nameCriterionChosen();
    ControlSetDisabled(idTextLabel, !textMode);
    ControlSetDisabled(idTextField, !textMode);
}
