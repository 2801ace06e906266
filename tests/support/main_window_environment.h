#pragma once
// Test programs that drive Ravlek's main window build it once, in-process.
#include "app/application.h"

#include <string>

// What the program keeps while it runs, as start-up makes it, for the tests.
Application& testApp();
// Registers the environment that builds the window before the first test.
void useMainWindow();
// Selects the drive in the drive list (after rebuilding it); false when it is not listed.
bool selectDrive(const std::wstring& drive);
// An empty `folder` on `drive`, the drive chosen and what earlier tests left
// forgotten; false when the drive is not listed.
bool startInEmptyFolder(const std::wstring& drive, const std::wstring& folder);
// Searches the chosen drive by name, as a person does, for `text`.
void searchByName(const std::wstring& text);
// Puts what the program keeps between events back as it is at start-up: the loop
// (with the search's results), the selection and the move target.
void forgetEarlierEvents();
