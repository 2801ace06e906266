#pragma once
#include <string>
#include <vector>

// The colour of read-only results and of an unusable move target.
constexpr int warningRed = 220;

// Builds the main window, hidden, with all its controls. False when the window or
// its status bar could not be made.
bool buildMainWindow();
void setMainStatus(const std::wstring& text);
// The results list, row by row as shown: whether a row's box is ticked, or the row
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
// Whether the criterion selector shows the name criterion, which it lists last.
bool nameCriterionChosen();
