#pragma once
// Once a calendar year, offers to open the maker's site; always ends by saving the settings.
#include "window/program.h"

#include <string>

void runUpdateReminder(Program& program);
// The reminder's text for a program name, version and address.
std::wstring updateReminderText(const std::wstring& name, const std::wstring& version, const std::wstring& address);
