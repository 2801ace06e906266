#include "app/requests.h"

#include "search/criteria.h"
#include "toolkit/text.h"
#include "window/drive_list.h"
#include "window/main_window.h"
#include "window/main_controls.h"

SearchRequest readSearchRequest() {
    SearchRequest request;
    request.drive = listedDrive();
    request.sizeThreshold = thresholdForCriterion(chosenCriterionText());
    request.textMode = nameCriterionChosen();
    if (request.textMode) request.text = typedText();
    request.searchWindowsFolder = isOptionTicked(SearchOption::windowsFolder);
    return request;
}

PurgeRequest readPurgeRequest(bool moving) {
    PurgeRequest request;
    request.moving = moving;
    request.readOnlyToo = isOptionTicked(SearchOption::readOnlyToo);
    request.purgeTempFiles = isOptionTicked(SearchOption::tempFiles);
    request.listedDrive = listedDrive();
    for (int row = 0, rows = resultRowCount(); row < rows; ++row)
        if (isTicked(row)) request.ticked.push_back(TickedRow{row, resultRowKey(row)});
    return request;
}
