// The main window's controls by what they are: the one file above the toolkit
// that reads and writes them by number, besides the layout.
#include "window/main_window.h"

#include "toolkit/window.h"
#include "window/control_ids.h"

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
    {MainControl::folderTree, idFolderTree},       {MainControl::fileKinds, idFileKinds},
    {MainControl::spaceMap, idSpaceMap},
};

int idOf(MainControl control) {
    for (const auto& entry : mainControls)
        if (entry.control == control) return entry.id;
    return -1;
}

}  // namespace

std::optional<MainControl> MainWindow::controlOf(int number) const {
    for (const auto& entry : mainControls)
        if (entry.id == number) return entry.control;
    return std::nullopt;
}

std::optional<MainControl> MainWindow::focusedControl() const { return controlOf(ControlFocus()); }

void MainWindow::focus(MainControl control) { ControlSetFocus(idOf(control)); }

bool MainWindow::isOptionTicked(SearchOption option) const {
    const int id = option == SearchOption::windowsFolder ? idWindowsFolderOption
                   : option == SearchOption::readOnlyToo ? idReadOnlyOption
                                                         : idTempFilesOption;
    return (ControlState(id) & 1) != 0;  // a check box's state bit 1 is its tick
}

void MainWindow::addCriterion(const std::wstring& text) { ControlAddItem(idCriterionSelector, -1, text); }
void MainWindow::chooseFirstCriterion() { ControlSetState(idCriterionSelector, 0); }
std::wstring MainWindow::chosenCriterionText() const { return ControlText(idCriterionSelector); }
bool MainWindow::criterionListOpen() const { return ControlAttribute(idCriterionSelector, comboListOpen) != 0; }
std::wstring MainWindow::typedText() const { return ControlText(idTextField); }

void MainWindow::chooseFirstDrive() { ControlSetState(idDriveList, 0); }

std::wstring MainWindow::typedMoveTarget() const { return ControlText(idMoveTargetField); }
void MainWindow::showMoveTarget(const std::wstring& target) { ControlSetText(idMoveTargetField, target); }
void MainWindow::markMoveTarget(bool unusable) { ControlSetColor(idMoveTargetField, 1, unusable ? warningRed : -1); }

void MainWindow::clearRows() { ControlClearItems(idResultsList); }
void MainWindow::showRows(int count, const RowSource& rows) { ControlShowRows(idResultsList, count, rows); }
void MainWindow::removeRow(int row) { ControlRemoveItem(idResultsList, row); }
void MainWindow::markRowLeft(int row) { ControlSetItemColor(idResultsList, row, 1, warningRed, 1); }
void MainWindow::tickAllRows(bool ticked) { ControlTickAllItems(idResultsList, ticked); }
void MainWindow::showProgress(int percent) { ControlSetState(idProgressBar, percent); }

// A list row's state: bit 1 its selection, bit 2 its tick.
constexpr int rowSelected = 1, rowTicked = 2;

bool MainWindow::isTicked(int row) const { return (ControlItemState(idResultsList, row) & rowTicked) != 0; }

void MainWindow::setTicked(int row, bool ticked) {
    ControlSetItemState(idResultsList, row, (ControlItemState(idResultsList, row) & rowSelected) | (ticked ? rowTicked : 0));
}

bool MainWindow::isSelected(int row) const { return (ControlItemState(idResultsList, row) & rowSelected) != 0; }

int MainWindow::rowCount() const { return ControlItemCount(idResultsList); }

int MainWindow::selectedRowCount() const { return ControlSelectedCount(idResultsList); }

int MainWindow::rowKey(int row) const { return ControlItemKey(idResultsList, row); }

std::optional<int> MainWindow::focusedRow() const {
    const int row = static_cast<int>(ControlState(idResultsList));
    return row >= 0 ? std::optional<int>(row) : std::nullopt;
}

std::optional<int> MainWindow::menuRow() const {
    const int row = ControlMenuRow(idResultsList);
    return row >= 0 ? std::optional<int>(row) : std::nullopt;
}

std::optional<size_t> MainWindow::chooseFromMenu(const std::vector<std::wstring>& entries) {
    const int chosen = ControlShowMenu(idResultsList, entries);
    return chosen >= 1 && static_cast<size_t>(chosen) <= entries.size() ? std::optional<size_t>(chosen - 1) : std::nullopt;
}


bool MainWindow::nameCriterionChosen() const {
    const int items = ControlItemCount(idCriterionSelector);
    return items > 0 && static_cast<int>(ControlState(idCriterionSelector)) == items - 1;
}

void MainWindow::showFolderSizes(const std::wstring& summary, const std::vector<int>& top, const TreeSource& rows) {
    ControlSetText(idFolderSummary, summary);
    ControlShowTree(idFolderTree, top, rows);
}

void MainWindow::showFileKinds(int count, const RowSource& rows) { ControlShowRows(idFileKinds, count, rows); }

void MainWindow::clearFolderSizes(const std::wstring& summary) {
    ControlSetText(idFolderSummary, summary);
    ControlClearItems(idFolderTree);
    ControlClearItems(idFileKinds);
    PictureViewShow(idSpaceMap, {}, 0, 0);
}

void MainWindow::redrawFolderSizes(const std::wstring& summary) {
    ControlSetText(idFolderSummary, summary);
    ControlRedrawRows(idFolderTree);
    ControlRedrawRows(idFileKinds);
}

namespace {

int idOfPageList(PageList list) { return list == PageList::folders ? idFolderTree : idFileKinds; }

}  // namespace

int MainWindow::pageRowCount(PageList list) const { return ControlItemCount(idOfPageList(list)); }
int MainWindow::pageRowKey(PageList list, int row) const { return ControlItemKey(idOfPageList(list), row); }

std::optional<int> MainWindow::pageMenuRow(PageList list) const {
    const int row = ControlMenuRow(idOfPageList(list));
    return row >= 0 ? std::optional<int>(row) : std::nullopt;
}

std::optional<size_t> MainWindow::chooseFromPageMenu(PageList list, const std::vector<std::wstring>& entries) {
    const int chosen = ControlShowMenu(idOfPageList(list), entries);
    return chosen >= 1 && static_cast<size_t>(chosen) <= entries.size() ? std::optional<size_t>(chosen - 1) : std::nullopt;
}

std::optional<int> MainWindow::selectedFolderKey() const {
    for (int row = 0, rows = ControlItemCount(idFolderTree); row < rows; ++row)
        if (ControlItemState(idFolderTree, row) & 1) return ControlItemKey(idFolderTree, row);
    return std::nullopt;
}

bool MainWindow::revealFolderRow(const std::vector<int>& keys) {
    int from = 0, found = -1;
    for (size_t i = 0; i < keys.size(); ++i) {
        found = -1;
        for (int row = from, rows = ControlItemCount(idFolderTree); row < rows; ++row)
            if (ControlItemKey(idFolderTree, row) == keys[i]) {
                found = row;
                break;
            }
        if (found < 0) return false;
        const int state = ControlItemState(idFolderTree, found);
        if (i + 1 < keys.size() && !(state & rowOpen)) ControlSetItemState(idFolderTree, found, state | rowOpen);
        from = found + 1;
    }
    if (found < 0) return false;
    ControlSetItemState(idFolderTree, found, (ControlItemState(idFolderTree, found) & rowOpen) | 1);
    return true;
}

void MainWindow::showSpaceMap(std::vector<uint32_t> pixels, int width, int height) {
    PictureViewShow(idSpaceMap, std::move(pixels), width, height);
}

PicturePoint MainWindow::spaceMapSize() const { return PictureViewSize(idSpaceMap); }
PicturePoint MainWindow::spaceMapPointer() const { return PictureViewPointer(idSpaceMap); }

std::optional<size_t> MainWindow::chooseFromMapMenu(const std::vector<std::wstring>& entries) {
    const int chosen = ControlShowMenu(idSpaceMap, entries);
    return chosen >= 1 && static_cast<size_t>(chosen) <= entries.size() ? std::optional<size_t>(chosen - 1) : std::nullopt;
}
