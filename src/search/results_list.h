#pragma once
#include <string>

void clearResults();
// entryText: a collected entry without its leading blanks; rowIndex: the index the row gets.
void addResultRow(const std::wstring& entryText, int rowIndex);
