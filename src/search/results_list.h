#pragma once
#include <string>

// warningRed: read-only results and an unusable move target.
constexpr int warningRed = 220;

void clearResults();
// entryText: a collected entry without its leading blanks; rowIndex: the index the row gets.
void addResultRow(const std::wstring& entryText, int rowIndex);
