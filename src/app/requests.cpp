#include "app/requests.h"

#include "search/criteria.h"
#include "toolkit/controls.h"
#include "toolkit/text.h"
#include "window/control_ids.h"
#include "window/drive_list.h"
#include "window/main_window.h"

SearchRequest readSearchRequest() {
    SearchRequest request;
    request.drive = listedDrive();
    request.sizeThreshold = thresholdForCriterion(ControlText(idCriterionSelector));
    request.textMode = nameCriterionChosen();
    if (request.textMode) request.text = ControlText(idTextField);
    request.searchWindowsFolder = isOptionTicked(idWindowsFolderOption);
    return request;
}

PurgeRequest readPurgeRequest(bool moving) {
    PurgeRequest request;
    request.moving = moving;
    request.readOnlyToo = isOptionTicked(idReadOnlyOption);
    request.purgeTempFiles = isOptionTicked(idTempFilesOption);
    request.listedDrive = listedDrive();
    for (int row = 0, rows = ControlItemCount(idResultsList); row < rows; ++row)
        if (isTicked(row)) request.ticked.push_back(TickedRow{row, ControlItemKey(idResultsList, row)});
    return request;
}
