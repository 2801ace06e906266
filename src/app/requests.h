#pragma once
// The one place the window's controls are read into the commands' requests.
#include "purge/purge_command.h"
#include "search/search_command.h"
#include "window/main_window.h"

// The drive, criterion, text and Windows-folder option as the window shows them.
SearchRequest readSearchRequest(const MainWindow& window, const Program& program);
// The ticked rows and the read-only and temporary-files options as the window shows them.
PurgeRequest readPurgeRequest(const MainWindow& window, const Program& program, bool moving);
