#pragma once
// The main window's control numbers, shared by every part of the program. Their
// order matters: the busy state greys idSearchLabel to idExactInfoPanel in one
// loop, so a control added between them is greyed with the others.

enum ControlId {
    idSearchIcon = 0,
    idSearchLabel = 1,
    idDriveList = 2,
    idCriterionSelector = 3,
    idTextLabel = 4,
    idTextField = 5,
    idManualButton = 6,
    idOptionsIcon = 7,
    idOptionsLabel = 8,
    idWindowsFolderOption = 9,
    idReadOnlyOption = 10,
    idTempFilesOption = 11,
    idSeparator = 12,
    idActionIcon = 13,
    idReadyLabel = 14,
    idSearchButton = 15,
    idDeleteButton = 16,
    idMoveButton = 17,
    idMoveTargetField = 18,
    idBrowseButton = 19,
    idProgressBar = 20,
    idResultsList = 21,
    idTabPanel = 22,
    idTypeInfoPanel = 23,
    idExactInfoPanel = 24,
    idBusyNotice = 25,
};

constexpr int mainWindowNumber = 0;
constexpr int mainStatusBar = 0;
constexpr int mainFont = 0;
