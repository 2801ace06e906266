#pragma once
// The one place the window's controls are read into the commands' requests.
#include "purge/purge_command.h"
#include "search/search_command.h"

// The drive, criterion, text and Windows-folder option as the window shows them.
SearchRequest readSearchRequest();
// The ticked rows and the read-only and temporary-files options as the window shows them.
PurgeRequest readPurgeRequest(bool moving);
