#include "window/main_window.h"

#include "toolkit/controls.h"
#include "toolkit/resources.h"
#include "toolkit/window.h"
#include "window/control_ids.h"
#include "window/icons.h"
#include "window/program.h"

#include <cmath>
#include <iterator>
#include <vector>

namespace {

enum ImageNumber {
    searchImage,
    optionsImage,
    actionImage,
    manualImage,
    resultsImage,
    typeInfoImage,
    exactInfoImage,
    folderSizesImage,
};

// A drive can hold hundreds of thousands of matches: the list asks for the rows it
// draws instead of holding a copy of each.
constexpr int resultsListFlags =
    listCheckBoxes | listMultiSelect | listShowSelectionAlways | listFullRowSelect | listRowsOnDemand;

int loadIcon(int number, const unsigned char* data) {
    ImageFromMemory(number, data, iconFileSize);
    return number;
}

const wchar_t* const mainFontFace = L"Microsoft Sans Serif";
constexpr int mainFontPoints = 8;

// Positions and sizes are design units; every one is scaled on its own.
struct Box {
    int x, y, w, h;
};
template <typename Placement>
Box scaledBox(const Placement& p, double scale) {
    return Box{scaled(p.x, scale), scaled(p.y, scale), scaled(p.w, scale), scaled(p.h, scale)};
}

// Control `id` and its box, where it is placed at every scale.
struct Placed {
    int id;
    Box box;
};

// Where each control lies in design units, kept by the window to lay itself out
// again at another scale.
template <typename Placement>
struct Layout {
    std::vector<Placement>& placements;
    const Program& program;
    Placed at(int id, double x, double y, double w, double h) {
        placements.push_back(Placement{id, x, y, w, h});
        return Placed{id, scaledBox(placements.back(), program.scale)};
    }
    int scaled(double designUnits) const { return ::scaled(designUnits, program.scale); }
};

void configureWebPanel(int id) {
    ControlSetAttribute(id, webBlockPopups, 1);
    ControlSetAttribute(id, webBlockContextMenu, 1);
    ControlSetAttribute(id, webSilent, 1);
}

// The controls of the rows, each placed by its box.
void rowIcon(Placed p, int image, const unsigned char* data) {
    ImageViewCreate(p.id, p.box.x, p.box.y, p.box.w, p.box.h, loadIcon(image, data));
}
void label(Placed p, const wchar_t* text, unsigned long flags = 0) {
    LabelCreate(p.id, p.box.x, p.box.y, p.box.w, p.box.h, text, flags);
}
void button(Placed p, const wchar_t* text, unsigned long flags = 0) {
    ButtonCreate(p.id, p.box.x, p.box.y, p.box.w, p.box.h, text, flags);
}
void field(Placed p, unsigned long flags = 0) { EditFieldCreate(p.id, p.box.x, p.box.y, p.box.w, p.box.h, L"", flags); }
void dropDown(Placed p) { ComboBoxCreate(p.id, p.box.x, p.box.y, p.box.w, p.box.h); }
void option(Placed p, const wchar_t* text, const wchar_t* tooltip) {
    CheckBoxCreate(p.id, p.box.x, p.box.y, p.box.w, p.box.h, text);
    ControlSetTooltip(p.id, tooltip);
}

template <typename Layout>
void addControlsOfTheSearchRow(Layout& layout) {
    rowIcon(layout.at(idSearchIcon, 10, 16, 40, 22), searchImage, searchRowIcon);
    label(layout.at(idSearchLabel, 34, 16, 40, 22), L"Search:");
    dropDown(layout.at(idDriveList, 82, 12, 160, 22));
    dropDown(layout.at(idCriterionSelector, 250, 12, 220, 22));
    label(layout.at(idTextLabel, 476, 17, 110, 22), L"Text or file extension:", controlDisabled | labelOneLine);
    field(layout.at(idTextField, 587, 12, 158, 22), controlDisabled);
    const Box manual = layout.at(idManualButton, 753, 11, 25, 25).box;
    ImageButtonCreate(idManualButton, manual.x, manual.y, manual.w, manual.h, loadIcon(manualImage, manualIcon));
}

template <typename Layout>
void addControlsOfTheOptionsRow(Layout& layout) {
    rowIcon(layout.at(idOptionsIcon, 10, 42, 40, 22), optionsImage, optionsRowIcon);
    label(layout.at(idOptionsLabel, 34, 44, 45, 22), L"Options:");
    option(layout.at(idWindowsFolderOption, 82, 41, 160, 22), L"Also search Windows folder.",
           L"If ticked, searching includes the Windows folder (not recommended)");
    option(layout.at(idReadOnlyOption, 250, 41, 220, 22), L"Delete files even if marked as read-only.",
           L"If ticked, deletes the ticked files even if set to read-only (dangerous!)");
    option(layout.at(idTempFilesOption, 477, 41, 305, 22), L"When purging, also delete temporary files that might exist.",
           L"If ticked, temporary files are also deleted");
    const Box line = layout.at(idSeparator, 10, 70, 768, 4).box;
    FrameCreate(idSeparator, line.x, line.y, line.w, line.h, L"", 2);
}

template <typename Layout>
void addControlsOfTheActionRow(Layout& layout) {
    rowIcon(layout.at(idActionIcon, 10, 85, 40, 22), actionImage, actionRowIcon);
    label(layout.at(idReadyLabel, 34, 87, 40, 22), L"Ready?");
    button(layout.at(idSearchButton, 81, 83, 162, 24), L"START SEARCHING FILES");
    button(layout.at(idDeleteButton, 249, 83, 110, 24), L"Delete ticked files", controlDisabled);
    button(layout.at(idMoveButton, 365, 83, 130, 24), L"Move ticked files to ->", controlDisabled);
    field(layout.at(idMoveTargetField, 501, 84, 130, 22));
    button(layout.at(idBrowseButton, 638, 83, 25, 23), L"...");
    ControlSetTooltip(idBrowseButton, L"Click to browse for a target drive");
    const Box bar = layout.at(idProgressBar, 670, 84, 107, 21).box;
    ProgressBarCreate(idProgressBar, bar.x, bar.y, bar.w, bar.h, 1, 100);
    ControlSetTooltip(idProgressBar, L"Progress of the current file being moved");
}

// The columns of the page's two lists, in design units; the last of each takes
// what the list's width leaves.
struct Column {
    const wchar_t* title;
    double width;
};
constexpr Column folderColumns[] = {
    {L"Folder", 140}, {L"On disk", 58}, {L"Share", 64}, {L"Files", 46}, {L"Latest change", 92}};
constexpr Column kindColumns[] = {{L"Kind", 70}, {L"On disk", 64}, {L"Share", 90}, {L"Files", 60}};
// The tree on the left; on the right the map above the kinds, its legend.
constexpr double folderTreeWidth = 410, fileKindsWidth = 322, pageListsTop = 36, pageListsHeight = 312;
constexpr double spaceMapHeight = 196, fileKindsTop = pageListsTop + spaceMapHeight + 6;

template <typename Layout>
void addColumns(Layout& layout, int id, const Column* columns, size_t count, double listWidth) {
    double left = listWidth;
    for (size_t i = 1; i < count; ++i) {
        left -= columns[i - 1].width;
        const double width = i + 1 == count ? left * layout.program.scale - layout.program.scrollBarAllowance - 4
                                            : layout.scaled(columns[i].width);
        ControlAddColumn(id, static_cast<int>(i), columns[i].title, static_cast<int>(std::nearbyint(width)));
    }
}

template <typename Layout>
void addFolderSizesPage(Layout& layout) {
    ControlAddImageItem(idTabPanel, -1, L"Folder sizes", loadIcon(folderSizesImage, folderSizesTabIcon));
    label(layout.at(idFolderSummary, 10, 6, 740, 28), L"Search a drive to see where its space went.");
    const Box tree = layout.at(idFolderTree, 10, pageListsTop, folderTreeWidth, pageListsHeight).box;
    TreeListCreate(idFolderTree, tree.x, tree.y, tree.w, tree.h, folderColumns[0].title,
                   layout.scaled(folderColumns[0].width));
    addColumns(layout, idFolderTree, folderColumns, std::size(folderColumns), folderTreeWidth);
    const Box map = layout.at(idSpaceMap, 10 + folderTreeWidth + 8, pageListsTop, fileKindsWidth, spaceMapHeight).box;
    PictureViewCreate(idSpaceMap, map.x, map.y, map.w, map.h, L"Map of the folder's space");
    const Box kinds = layout.at(idFileKinds, 10 + folderTreeWidth + 8, fileKindsTop, fileKindsWidth,
                                pageListsTop + pageListsHeight - fileKindsTop).box;
    CheckListCreate(idFileKinds, kinds.x, kinds.y, kinds.w, kinds.h, kindColumns[0].title,
                    layout.scaled(kindColumns[0].width), listRowsOnDemand | listFullRowSelect | listShowSelectionAlways);
    addColumns(layout, idFileKinds, kindColumns, std::size(kindColumns), fileKindsWidth);
}

template <typename Layout>
void addTabbedPanel(Layout& layout) {
    const Program& p = layout.program;
    const Box b = layout.at(idTabPanel, 10, 116, 768, 397).box;
    TabPanelCreate(idTabPanel, b.x, b.y, b.w, b.h);
    const Box page = layout.at(idResultsList, 10, 10, 740, 348).box;
    layout.at(idTypeInfoPanel, 10, 10, 740, 348);
    layout.at(idExactInfoPanel, 10, 10, 740, 348);

    ControlAddImageItem(idTabPanel, -1, L"File results", loadIcon(resultsImage, resultsTabIcon));
    CheckListCreate(idResultsList, page.x, page.y, page.w, page.h, L"Size", layout.scaled(85), resultsListFlags);
    const double pathWidth = (740 - 85) * p.scale - p.scrollBarAllowance - 1;
    ControlAddColumn(idResultsList, 1, L"File", static_cast<int>(std::nearbyint(pathWidth)));

    addFolderSizesPage(layout);

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

// The window moved to a monitor of another scale: every control where its design
// units put it at that scale, the font made anew for it, and the list's columns
// keeping their share of its width.
void MainWindow::followDpi(int dpi) {
    Program& p = program_;
    const double before = p.scale;
    p.scale = dpi / 100.0;
    FontLoad(mainFont, mainFontFace, mainFontPoints, dpi);
    for (const Placement& placement : placements_) {
        const Box b = scaledBox(placement, p.scale);
        ControlPlace(placement.id, b.x, b.y, b.w, b.h);
    }
    const struct {
        int id;
        int columns;
    } lists[] = {{idResultsList, 2},
                 {idFolderTree, static_cast<int>(std::size(folderColumns))},
                 {idFileKinds, static_cast<int>(std::size(kindColumns))}};
    for (const auto& list : lists) {
        for (int column = 0; column < list.columns; ++column) {
            const double width = static_cast<double>(ControlItemAttribute(list.id, column, 1));
            ControlSetItemAttribute(list.id, column, 1, std::lround(width * p.scale / before));
        }
    }
    WindowRedrawAll(mainWindowNumber);
}

bool MainWindow::build() {
    placements_.clear();
    FontLoad(mainFont, mainFontFace, mainFontPoints);
    const int flags = windowCentered | windowHidden | windowCaption | windowSystemMenu;
    if (!WindowOpen(mainWindowNumber, 0, 0, scaled(788, program_.scale), scaled(547, program_.scale), L"", flags))
        return false;
    if (!StatusBarCreate(mainStatusBar, mainWindowNumber)) return false;
    StatusBarAddField(statusFieldShare);

    Layout<Placement> layout{placements_, program_};
    addControlsOfTheSearchRow(layout);
    addControlsOfTheOptionsRow(layout);
    addControlsOfTheActionRow(layout);
    addTabbedPanel(layout);

    for (int id : everyControlButTheSearchIcon) ControlUseFont(id, mainFont);
    WindowFollowDpi(mainWindowNumber, [this](int dpi) { followDpi(dpi); });
    return true;
}

void MainWindow::setStatus(const std::wstring& text) { StatusBarSetText(mainStatusBar, 0, text); }

void MainWindow::setTitle(const std::wstring& title) { WindowSetTitle(mainWindowNumber, title); }
void MainWindow::show() { WindowShow(mainWindowNumber); }
void MainWindow::bringForward() { WindowBringForward(mainWindowNumber); }
