#include "search/results_list.h"

#include "toolkit/controls.h"
#include "window/control_ids.h"
#include "window/found_files.h"

void clearResults() {
    ControlClearItems(idResultsList);
    foundFiles().rows.clear();
}
