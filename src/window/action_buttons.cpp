#include "window/action_buttons.h"

#include "toolkit/controls.h"
#include "toolkit/paths.h"
#include "window/control_ids.h"
#include "window/info_pages.h"
#include "window/main_window.h"
#include "window/window_state.h"
#include "window/main_controls.h"

namespace {

void showSelection() {
    WindowState& state = windowState();
    const int selected = ControlSelectedCount(idResultsList);
    if (selected == 0) {
        resetInfoPanel();
    } else if (selected == 1) {
        setMainStatus(PathNamePart(state.selectedPath));
    } else {
        state.selectedPath.clear();
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
