#pragma once
// The main window's control numbers, known to the window layer alone (other
// programs and assistive tools find the controls by them, so they stay as they are).

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
    idFolderSummary = 26,
    idFolderTree = 27,
    idFileKinds = 28,
    idSpaceMap = 29,
};

// The controls that show the main font and are greyed while long work runs:
// every one but the search row's icon (and the busy notice, made and gone with the work).
constexpr ControlId everyControlButTheSearchIcon[] = {
    idSearchLabel,   idDriveList,     idCriterionSelector, idTextLabel,     idTextField,          idManualButton,
    idOptionsIcon,   idOptionsLabel,  idWindowsFolderOption, idReadOnlyOption, idTempFilesOption, idSeparator,
    idActionIcon,    idReadyLabel,    idSearchButton,      idDeleteButton,  idMoveButton,         idMoveTargetField,
    idBrowseButton,  idProgressBar,   idResultsList,       idTabPanel,      idTypeInfoPanel,      idExactInfoPanel,
    idFolderSummary, idFolderTree,    idFileKinds,         idSpaceMap,
};

constexpr int mainWindowNumber = 0;
constexpr int mainStatusBar = 0;
constexpr int mainFont = 0;
