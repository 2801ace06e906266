#include "window/main_window.h"

#include "toolkit/controls.h"
#include "toolkit/resources.h"
#include "toolkit/window.h"
#include "window/control_ids.h"
#include "window/criteria.h"
#include "window/icons.h"
#include "window/program.h"

#include <cmath>

namespace {

enum ImageNumber { searchImage, optionsImage, actionImage, manualImage, resultsImage, typeInfoImage, exactInfoImage };

constexpr int resultsListFlags = listCheckBoxes | listMultiSelect | listShowSelectionAlways | listFullRowSelect;

int loadIcon(int number, const unsigned char* data) {
    ImageFromMemory(number, data, iconFileSize);
    return number;
}

// Positions and sizes are design units; every one is scaled on its own.
struct Box {
    int x, y, w, h;
};

Box at(double x, double y, double w, double h) { return Box{scaled(x), scaled(y), scaled(w), scaled(h)}; }

void configureWebPanel(int id) {
    ControlSetAttribute(id, webBlockPopups, 1);
    ControlSetAttribute(id, webBlockContextMenu, 1);
    ControlSetAttribute(id, webSilent, 1);
}

void addControlsOfTheSearchRow() {
    Box b = at(10, 16, 40, 22);
    ImageViewCreate(idSearchIcon, b.x, b.y, b.w, b.h, loadIcon(searchImage, searchRowIcon));
    b = at(34, 16, 40, 22);
    LabelCreate(idSearchLabel, b.x, b.y, b.w, b.h, L"Search:");
    b = at(82, 12, 160, 22);
    ComboBoxCreate(idDriveList, b.x, b.y, b.w, b.h);
    b = at(250, 12, 220, 22);
    ComboBoxCreate(idCriterionSelector, b.x, b.y, b.w, b.h);
    for (const Criterion& criterion : criteria) ControlAddItem(idCriterionSelector, -1, criterion.text);
    ControlSetState(idCriterionSelector, 0);
    b = at(476, 17, 110, 22);
    LabelCreate(idTextLabel, b.x, b.y, b.w, b.h, L"Text or file extension:", controlDisabled);
    b = at(587, 12, 158, 22);
    EditFieldCreate(idTextField, b.x, b.y, b.w, b.h, L"", controlDisabled);
    b = at(753, 11, 25, 25);
    ImageButtonCreate(idManualButton, b.x, b.y, b.w, b.h, loadIcon(manualImage, manualIcon));
}

void addControlsOfTheOptionsRow() {
    Box b = at(10, 42, 40, 22);
    ImageViewCreate(idOptionsIcon, b.x, b.y, b.w, b.h, loadIcon(optionsImage, optionsRowIcon));
    b = at(34, 44, 45, 22);
    LabelCreate(idOptionsLabel, b.x, b.y, b.w, b.h, L"Options:");
    b = at(82, 41, 160, 22);
    CheckBoxCreate(idWindowsFolderOption, b.x, b.y, b.w, b.h, L"Also search Windows folder.");
    ControlSetTooltip(idWindowsFolderOption, L"If ticked, searching includes the Windows folder (not recommended)");
    b = at(250, 41, 220, 22);
    CheckBoxCreate(idReadOnlyOption, b.x, b.y, b.w, b.h, L"Delete files even if marked as read-only.");
    ControlSetTooltip(idReadOnlyOption, L"If ticked, deletes the ticked files even if set to read-only (dangerous!)");
    b = at(477, 41, 305, 22);
    CheckBoxCreate(idTempFilesOption, b.x, b.y, b.w, b.h, L"When purging, also delete temporary files that might exist.");
    ControlSetTooltip(idTempFilesOption, L"If ticked, temporary files are also deleted");
    b = at(10, 70, 768, 4);
    FrameCreate(idSeparator, b.x, b.y, b.w, b.h, L"", 2);
}

void addControlsOfTheActionRow() {
    Box b = at(10, 85, 40, 22);
    ImageViewCreate(idActionIcon, b.x, b.y, b.w, b.h, loadIcon(actionImage, actionRowIcon));
    b = at(34, 87, 40, 22);
    LabelCreate(idReadyLabel, b.x, b.y, b.w, b.h, L"Ready?");
    b = at(81, 83, 162, 24);
    ButtonCreate(idSearchButton, b.x, b.y, b.w, b.h, L"START SEARCHING FILES");
    b = at(249, 83, 110, 24);
    ButtonCreate(idDeleteButton, b.x, b.y, b.w, b.h, L"Delete ticked files", controlDisabled);
    b = at(365, 83, 130, 24);
    ButtonCreate(idMoveButton, b.x, b.y, b.w, b.h, L"Move ticked files to ->", controlDisabled);
    b = at(501, 84, 130, 22);
    EditFieldCreate(idMoveTargetField, b.x, b.y, b.w, b.h, L"");
    b = at(638, 83, 25, 23);
    ButtonCreate(idBrowseButton, b.x, b.y, b.w, b.h, L"...");
    ControlSetTooltip(idBrowseButton, L"Click to browse for a target drive");
    b = at(670, 84, 107, 21);
    ProgressBarCreate(idProgressBar, b.x, b.y, b.w, b.h, 1, 100);
    ControlSetTooltip(idProgressBar, L"Progress of the current file being moved");
}

void addTabbedPanel() {
    const Program& p = program();
    Box b = at(10, 116, 768, 397);
    TabPanelCreate(idTabPanel, b.x, b.y, b.w, b.h);
    const Box page = at(10, 10, 740, 348);

    ControlAddImageItem(idTabPanel, -1, L"File results", loadIcon(resultsImage, resultsTabIcon));
    CheckListCreate(idResultsList, page.x, page.y, page.w, page.h, L"Size", scaled(85), resultsListFlags);
    const double pathWidth = (740 - 85) * p.scale - p.scrollBarAllowance - 1;
    ControlAddColumn(idResultsList, 1, L"File", static_cast<int>(std::nearbyint(pathWidth)));

    ControlAddImageItem(idTabPanel, -1, L"", loadIcon(typeInfoImage, typeInfoTabIcon));
    WebPanelCreate(idTypeInfoPanel, page.x, page.y, page.w, page.h, L"");
    configureWebPanel(idTypeInfoPanel);
    ControlAddImageItem(idTabPanel, -1, L"", loadIcon(exactInfoImage, exactInfoTabIcon));
    WebPanelCreate(idExactInfoPanel, page.x, page.y, page.w, page.h, L"");
    configureWebPanel(idExactInfoPanel);
    ContainerEnd();
    ControlSetState(idTabPanel, 0);
}

}  // namespace

bool buildMainWindow() {
    const int flags = windowCentered | windowHidden | windowCaption | windowSystemMenu;
    if (!WindowOpen(mainWindowNumber, 0, 0, scaled(788), scaled(547), L"", flags)) return false;
    if (!StatusBarCreate(mainStatusBar, mainWindowNumber)) return false;
    StatusBarAddField(statusFieldShare);

    addControlsOfTheSearchRow();
    addControlsOfTheOptionsRow();
    addControlsOfTheActionRow();
    addTabbedPanel();

    for (int id = idSearchLabel; id <= idExactInfoPanel; ++id) ControlUseFont(id, mainFont);
    return true;
}

void setMainStatus(const std::wstring& text) { StatusBarSetText(mainStatusBar, 0, text); }
