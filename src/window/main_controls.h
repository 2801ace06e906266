#pragma once
// What the loop and the commands do with the main window's controls, by what the
// controls are: nothing above the window layer names a control's number or
// knows its bits.
#include "toolkit/controls.h"

#include <optional>
#include <string>
#include <vector>

// The controls that raise events the program acts on, or take the focus.
enum class MainControl {
    driveList,
    criterion,
    textField,
    manualButton,
    tempFilesOption,
    searchButton,
    deleteButton,
    moveButton,
    moveTargetField,
    browseButton,
    resultsList,
    tabPanel,
};
// The control behind a toolkit event's control number; nothing for the others.
std::optional<MainControl> mainControlOf(int number);
std::optional<MainControl> focusedMainControl();
void focusMainControl(MainControl control);

enum class SearchOption { windowsFolder, readOnlyToo, tempFiles };
bool isOptionTicked(SearchOption option);

// The criterion list: filled once at start-up, its first entry chosen.
void addCriterion(const std::wstring& text);
void chooseFirstCriterion();
std::wstring chosenCriterionText();
bool criterionListOpen();
// Whether the criterion selector shows the name criterion, which it lists last.
bool nameCriterionChosen();
std::wstring typedText();

void setMainTitle(const std::wstring& title);
void showMainWindow();
// The main window in front of the others, the one the person works in.
void bringMainWindowForward();

// The drive list's first drive chosen.
void chooseFirstDrive();

std::wstring typedMoveTarget();
void showMoveTarget(const std::wstring& target);
// Red while the move target is no usable folder.
void markMoveTarget(bool unusable);

// The results list.
// Row by row as shown: whether a row's box is ticked, or the row
// selected; ticking a row; how many rows there are and are selected; the key of
// the found file a row shows.
bool isTicked(int row);
void setTicked(int row, bool ticked);
bool isSelected(int row);
int resultRowCount();
int selectedRowCount();
int resultRowKey(int row);
// The row that has the focus (-1 for none).
int focusedResultRow();
// The row a context menu was asked for (-1 for none), and the menu shown there:
// the number of the entry chosen, from 1, or 0.
int resultMenuRow();
int chooseFromResultsMenu(const std::vector<std::wstring>& entries);
void clearResultRows();
void showResultRows(int count, const RowSource& rows);
void removeResultRow(int row);
// Its path in red: the file stays (changed since the search, a link, refused).
void markResultRowLeft(int row);
void tickAllResultRows(bool ticked);
// The share of the current copy, in percent.
void showCopyProgress(int percent);
