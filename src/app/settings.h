#pragma once
// The settings file beside the executable; it keeps the year of the last update reminder.
#include "window/program.h"

#include <string>
#include <vector>

void loadSettings(Program& program);
void saveSettings(const Program& program);

// The update-check year that these lines give (the last key line wins), or `year` when none has the key.
int updateYearFromLines(const std::vector<std::wstring>& lines, int year);
