#include "window/main_window.h"

#include "toolkit/controls.h"
#include "toolkit/resources.h"
#include "toolkit/window.h"
#include "window/control_ids.h"
#include "window/icons.h"
#include "window/program.h"

#include <cmath>

namespace {

enum ImageNumber { searchImage, optionsImage, actionImage, manualImage, resultsImage, typeInfoImage, exactInfoImage };

// A drive can hold hundreds of thousands of matches: the list asks for the rows it
// draws instead of holding a copy of each.
constexpr int resultsListFlags =
    listCheckBoxes | listMultiSelect | listShowSelectionAlways | listFullRowSelect | listRowsOnDemand;

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

// The controls of the rows, each placed by its box.
void rowIcon(int id, Box b, int image, const unsigned char* data) {
    ImageViewCreate(id, b.x, b.y, b.w, b.h, loadIcon(image, data));
}
void label(int id, Box b, const wchar_t* text, unsigned long flags = 0) {
    LabelCreate(id, b.x, b.y, b.w, b.h, text, flags);
}
void button(int id, Box b, const wchar_t* text, unsigned long flags = 0) {
    ButtonCreate(id, b.x, b.y, b.w, b.h, text, flags);
}
void field(int id, Box b, unsigned long flags = 0) { EditFieldCreate(id, b.x, b.y, b.w, b.h, L"", flags); }
void dropDown(int id, Box b) { ComboBoxCreate(id, b.x, b.y, b.w, b.h); }
void option(int id, Box b, const wchar_t* text, const wchar_t* tooltip) {
    CheckBoxCreate(id, b.x, b.y, b.w, b.h, text);
    ControlSetTooltip(id, tooltip);
}

void addControlsOfTheSearchRow() {
    rowIcon(idSearchIcon, at(10, 16, 40, 22), searchImage, searchRowIcon);
    label(idSearchLabel, at(34, 16, 40, 22), L"Search:");
    dropDown(idDriveList, at(82, 12, 160, 22));
    dropDown(idCriterionSelector, at(250, 12, 220, 22));
    label(idTextLabel, at(476, 17, 110, 22), L"Text or file extension:", controlDisabled);
    field(idTextField, at(587, 12, 158, 22), controlDisabled);
    const Box manual = at(753, 11, 25, 25);
    ImageButtonCreate(idManualButton, manual.x, manual.y, manual.w, manual.h, loadIcon(manualImage, manualIcon));
}

void addControlsOfTheOptionsRow() {
    rowIcon(idOptionsIcon, at(10, 42, 40, 22), optionsImage, optionsRowIcon);
    label(idOptionsLabel, at(34, 44, 45, 22), L"Options:");
    option(idWindowsFolderOption, at(82, 41, 160, 22), L"Also search Windows folder.",
           L"If ticked, searching includes the Windows folder (not recommended)");
    option(idReadOnlyOption, at(250, 41, 220, 22), L"Delete files even if marked as read-only.",
           L"If ticked, deletes the ticked files even if set to read-only (dangerous!)");
    option(idTempFilesOption, at(477, 41, 305, 22), L"When purging, also delete temporary files that might exist.",
           L"If ticked, temporary files are also deleted");
    const Box line = at(10, 70, 768, 4);
    FrameCreate(idSeparator, line.x, line.y, line.w, line.h, L"", 2);
}

void addControlsOfTheActionRow() {
    rowIcon(idActionIcon, at(10, 85, 40, 22), actionImage, actionRowIcon);
    label(idReadyLabel, at(34, 87, 40, 22), L"Ready?");
    button(idSearchButton, at(81, 83, 162, 24), L"START SEARCHING FILES");
    button(idDeleteButton, at(249, 83, 110, 24), L"Delete ticked files", controlDisabled);
    button(idMoveButton, at(365, 83, 130, 24), L"Move ticked files to ->", controlDisabled);
    field(idMoveTargetField, at(501, 84, 130, 22));
    button(idBrowseButton, at(638, 83, 25, 23), L"...");
    ControlSetTooltip(idBrowseButton, L"Click to browse for a target drive");
    const Box bar = at(670, 84, 107, 21);
    ProgressBarCreate(idProgressBar, bar.x, bar.y, bar.w, bar.h, 1, 100);
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

// A list row's state bit 2 is its tick.
bool isTicked(int row) { return (ControlItemState(idResultsList, row) & 2) != 0; }

// A check box's state bit 1 is its tick.
bool isOptionTicked(int id) { return (ControlState(id) & 1) != 0; }

bool nameCriterionChosen() {
    const int items = ControlItemCount(idCriterionSelector);
    return items > 0 && static_cast<int>(ControlState(idCriterionSelector)) == items - 1;
}
