#pragma once
// The main window as one object: it builds and lays out the window, and offers
// what the loop and the commands do with it in their own words, so that nothing
// above the window layer names a control's number or knows its bits. The
// program makes one at start-up and hands it to every command.
#include "toolkit/controls.h"
#include "toolkit/picture_view.h"
#include "window/info_pages.h"
#include "window/program.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The colour of read-only results and of an unusable move target.
constexpr int warningRed = 220;

// The controls that raise events the program acts on, or take the focus.
enum class MainControl {
    driveList,
    criterion,
    textField,
    manualButton,
    tempFilesOption,
    searchButton,
    deleteButton,
    moveButton,
    moveTargetField,
    browseButton,
    resultsList,
    tabPanel,
    folderTree,
    fileKinds,
    spaceMap,
};

// The lists of the "Folder sizes" page.
enum class PageList { folders, kinds };

enum class SearchOption { windowsFolder, readOnlyToo, tempFiles };

class MainWindow {
public:
    // The window reads the program's facts and keeps its scale.
    explicit MainWindow(Program& program) : program_(program) {}
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Builds the window, hidden, with all its controls. False when the window or
    // its status bar could not be made.
    bool build();
    void setTitle(const std::wstring& title);
    void show();
    // In front of the others, the window the person works in.
    void bringForward();
    void setStatus(const std::wstring& text);
    // Tells the person something in a message box with the program's name as its
    // caption and an OK button, then waits until the key that closed it is let go.
    void tell(const std::wstring& text, unsigned icon);

    // The control behind a toolkit event's control number; nothing for the others.
    std::optional<MainControl> controlOf(int number) const;
    std::optional<MainControl> focusedControl() const;
    void focus(MainControl control);
    bool isOptionTicked(SearchOption option) const;

    // The criterion list: filled once at start-up, its first entry chosen.
    void addCriterion(const std::wstring& text);
    void chooseFirstCriterion();
    std::wstring chosenCriterionText() const;
    bool criterionListOpen() const;
    // Whether the criterion selector shows the name criterion, which it lists last.
    bool nameCriterionChosen() const;
    std::wstring typedText() const;

    // Empties the drive list and fills it with every drive whose label can be read,
    // A to Z. `betweenDrives` is called after each letter: each reading probes the
    // drive's root, and twenty-six of them take long enough that a busy window
    // must be tended.
    void rebuildDriveList(const std::function<void()>& betweenDrives = {});
    void chooseFirstDrive();
    // The drive the list shows, such as "C:".
    std::wstring listedDrive() const;
    // Selects the drive's entry again (after a rebuild), when it is still listed.
    void reselectDrive(const std::wstring& drive);

    std::wstring typedMoveTarget() const;
    void showMoveTarget(const std::wstring& target);
    // Red while the move target is no usable folder.
    void markMoveTarget(bool unusable);

    // The results list, row by row as shown: whether a row's box is ticked or the
    // row selected, ticking it, how many rows there are and are selected, the key
    // of the found file a row shows.
    bool isTicked(int row) const;
    void setTicked(int row, bool ticked);
    void tickAllRows(bool ticked);
    bool isSelected(int row) const;
    int rowCount() const;
    int selectedRowCount() const;
    int rowKey(int row) const;
    std::optional<int> focusedRow() const;
    // The row a context menu was asked for, if any, and the menu shown there: the
    // index of the entry chosen (an empty entry is a separator line), if any.
    std::optional<int> menuRow() const;
    std::optional<size_t> chooseFromMenu(const std::vector<std::wstring>& entries);
    void clearRows();
    void showRows(int count, const RowSource& rows);
    void removeRow(int row);
    // Its path in red: the file stays (changed since the search, a link, refused).
    void markRowLeft(int row);
    // The file the person selected last, which the status names and a double-click
    // asks about; the loop alone writes it.
    void setSelectedPath(const std::wstring& path) { selectedPath_ = path; }
    const std::wstring& selectedPath() const { return selectedPath_; }

    // The "Folder sizes" page: the line above its lists, the tree of folders (the
    // rows `top` first, the first of them open) and the list of kinds; emptied
    // for a search, drawn again when the figures changed.
    void showFolderSizes(const std::wstring& summary, const std::vector<int>& top, const TreeSource& rows);
    void showFileKinds(int count, const RowSource& rows);
    void clearFolderSizes(const std::wstring& summary);
    void redrawFolderSizes(const std::wstring& summary);
    int pageRowCount(PageList list) const;
    int pageRowKey(PageList list, int row) const;
    std::optional<int> pageMenuRow(PageList list) const;
    std::optional<size_t> chooseFromPageMenu(PageList list, const std::vector<std::wstring>& entries);
    // The tree's selected row's key; nothing when none is selected.
    std::optional<int> selectedFolderKey() const;
    // Opens the tree down to the last of `keys` (each a row's key, from a top row
    // down) and selects it; false when some row of the way is not there.
    bool revealFolderRow(const std::vector<int>& keys);

    // The map beside the tree: the picture drawn for it, the size it offers one,
    // where the pointer was at its last event, and its menu there.
    void showSpaceMap(std::vector<uint32_t> pixels, int width, int height);
    PicturePoint spaceMapSize() const;
    PicturePoint spaceMapPointer() const;
    std::optional<size_t> chooseFromMapMenu(const std::vector<std::wstring>& entries);

    // The tab panel's pages: the results, the folder sizes, and the two web panels.
    void showPage(InfoPage panel, const std::wstring& html);
    void openAddress(InfoPage panel, const std::wstring& address);
    void setTabTitle(InfoPage tab, const std::wstring& title);
    void showInfoPage(InfoPage page);
    InfoPage shownInfoPage() const;
    // Moves the focus into a web panel's page once it has loaded (at most a few
    // seconds: a page that never ends loading must not hold the program).
    void focusWebPage(InfoPage panel);
    // Both panels back to their placeholder, the tabs to their plain titles and
    // the status "Ready.".
    void resetInfoPanel();

    // The rule that enables the action buttons and the text field: delete and move
    // need a ticked row (delete also works with the temporary-files option alone),
    // and the text field belongs to the name criterion. The status names the one
    // selected file.
    void updateActionButtons();

    // The share of the current copy or comparison, in percent.
    void showProgress(int percent);
    // The busy notice's text in the status bar followed by how far the work has
    // come, at most four times a second however often it is asked.
    void showBusyProgress(const std::wstring& counts);

private:
    friend class BusyScope;
    struct Placement {
        int id;
        double x, y, w, h;
    };
    void followDpi(int dpi);
    // Greys the controls, or brings them back as the button rule has them.
    void setControlsDisabled(bool disabled);
    void showBusyNotice(const std::wstring& text);
    void hideBusyNotice();

    Program& program_;
    std::vector<Placement> placements_;  // each control in design units, to lay it out at another scale
    std::wstring selectedPath_;
    bool noticeShown_ = false;
    std::wstring noticeText_;
    unsigned long lastProgress_ = 0;
};

// The window greyed with the busy notice up, from its making to its end; the
// window comes back in one order: the notice goes, then the controls return.
class BusyScope {
public:
    BusyScope(MainWindow& window, const std::wstring& notice);
    ~BusyScope() { end(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    // Brings the window back before the scope ends.
    void end();

private:
    MainWindow& window_;
    bool ended_ = false;
};
