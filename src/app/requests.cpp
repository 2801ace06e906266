#include "app/requests.h"

#include "search/criteria.h"

SearchRequest readSearchRequest(const MainWindow& window, const Program& program) {
    SearchRequest request;
    request.drive = window.listedDrive();
    request.sizeThreshold = thresholdForCriterion(window.chosenCriterionText());
    request.textMode = window.nameCriterionChosen();
    if (request.textMode) request.text = window.typedText();
    request.searchWindowsFolder = window.isOptionTicked(SearchOption::windowsFolder);
    request.windowsFolder = program.windowsFolder;
    return request;
}

PurgeRequest readPurgeRequest(const MainWindow& window, const Program& program, bool moving) {
    PurgeRequest request;
    request.moving = moving;
    request.readOnlyToo = window.isOptionTicked(SearchOption::readOnlyToo);
    request.purgeTempFiles = window.isOptionTicked(SearchOption::tempFiles);
    request.listedDrive = window.listedDrive();
    request.windowsFolder = program.windowsFolder;
    request.tempFolder = program.tempFolder;
    request.programFolder = program.programFolder;
    for (int row = 0, rows = window.rowCount(); row < rows; ++row)
        if (window.isTicked(row)) request.ticked.push_back(TickedRow{row, window.rowKey(row)});
    return request;
}
