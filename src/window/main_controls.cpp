#include "window/main_controls.h"

#include "toolkit/window.h"
#include "window/control_ids.h"
#include "window/main_window.h"

namespace {

constexpr struct {
    MainControl control;
    int id;
} mainControls[] = {
    {MainControl::driveList, idDriveList},         {MainControl::criterion, idCriterionSelector},
    {MainControl::textField, idTextField},         {MainControl::manualButton, idManualButton},
    {MainControl::tempFilesOption, idTempFilesOption}, {MainControl::searchButton, idSearchButton},
    {MainControl::deleteButton, idDeleteButton},   {MainControl::moveButton, idMoveButton},
    {MainControl::moveTargetField, idMoveTargetField}, {MainControl::browseButton, idBrowseButton},
    {MainControl::resultsList, idResultsList},     {MainControl::tabPanel, idTabPanel},
};

int idOf(MainControl control) {
    for (const auto& entry : mainControls)
        if (entry.control == control) return entry.id;
    return -1;
}

}  // namespace

std::optional<MainControl> mainControlOf(int number) {
    for (const auto& entry : mainControls)
        if (entry.id == number) return entry.control;
    return std::nullopt;
}

std::optional<MainControl> focusedMainControl() { return mainControlOf(ControlFocus()); }

void focusMainControl(MainControl control) { ControlSetFocus(idOf(control)); }

bool isOptionTicked(SearchOption option) {
    const int id = option == SearchOption::windowsFolder ? idWindowsFolderOption
                   : option == SearchOption::readOnlyToo ? idReadOnlyOption
                                                         : idTempFilesOption;
    return (ControlState(id) & 1) != 0;  // a check box's state bit 1 is its tick
}

void addCriterion(const std::wstring& text) { ControlAddItem(idCriterionSelector, -1, text); }
void chooseFirstCriterion() { ControlSetState(idCriterionSelector, 0); }
std::wstring chosenCriterionText() { return ControlText(idCriterionSelector); }
bool criterionListOpen() { return ControlAttribute(idCriterionSelector, comboListOpen) != 0; }
std::wstring typedText() { return ControlText(idTextField); }

void setMainTitle(const std::wstring& title) { WindowSetTitle(mainWindowNumber, title); }
void showMainWindow() { WindowShow(mainWindowNumber); }
void bringMainWindowForward() { WindowBringForward(mainWindowNumber); }

void chooseFirstDrive() { ControlSetState(idDriveList, 0); }

std::wstring typedMoveTarget() { return ControlText(idMoveTargetField); }
void showMoveTarget(const std::wstring& target) { ControlSetText(idMoveTargetField, target); }
void markMoveTarget(bool unusable) { ControlSetColor(idMoveTargetField, 1, unusable ? warningRed : -1); }

void clearResultRows() { ControlClearItems(idResultsList); }
void showResultRows(int count, const RowSource& rows) { ControlShowRows(idResultsList, count, rows); }
void removeResultRow(int row) { ControlRemoveItem(idResultsList, row); }
void markResultRowLeft(int row) { ControlSetItemColor(idResultsList, row, 1, warningRed, 1); }
void tickAllResultRows(bool ticked) { ControlTickAllItems(idResultsList, ticked); }
void showCopyProgress(int percent) { ControlSetState(idProgressBar, percent); }

// A list row's state: bit 1 its selection, bit 2 its tick.
constexpr int rowSelected = 1, rowTicked = 2;

bool isTicked(int row) { return (ControlItemState(idResultsList, row) & rowTicked) != 0; }

void setTicked(int row, bool ticked) {
    ControlSetItemState(idResultsList, row, (ControlItemState(idResultsList, row) & rowSelected) | (ticked ? rowTicked : 0));
}

bool isSelected(int row) { return (ControlItemState(idResultsList, row) & rowSelected) != 0; }

int resultRowCount() { return ControlItemCount(idResultsList); }

int selectedRowCount() { return ControlSelectedCount(idResultsList); }

int resultRowKey(int row) { return ControlItemKey(idResultsList, row); }

int focusedResultRow() { return static_cast<int>(ControlState(idResultsList)); }

int resultMenuRow() { return ControlMenuRow(idResultsList); }

int chooseFromResultsMenu(const std::vector<std::wstring>& entries) { return ControlShowMenu(idResultsList, entries); }


bool nameCriterionChosen() {
    const int items = ControlItemCount(idCriterionSelector);
    return items > 0 && static_cast<int>(ControlState(idCriterionSelector)) == items - 1;
}
