#pragma once
// Controls addressed by numbers, created into the current parent with the current
// default font, and driven through the generic operations below. Every operation
// on a number without a control does nothing and returns 0.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum ControlKindNumber {
    kindButton = 1,
    kindEditField = 2,
    kindLabel = 3,
    kindCheckBox = 4,
    kindFrame = 7,
    kindComboBox = 8,
    kindImageView = 9,
    kindCheckList = 12,
    kindProgressBar = 14,
    kindWebPanel = 18,
    kindImageButton = 19,
    kindTabPanel = 28,
    kindTreeList = 29,
};

// Flags of the multi-column list.
enum CheckListFlags {
    listCheckBoxes = 1,
    listMultiSelect = 4,
    listShowSelectionAlways = 8,
    listFullRowSelect = 0x40000000,
    // The rows are asked for when drawn or read (ControlShowRows) instead of held
    // by the control: a list of many rows costs little and fills at once.
    listRowsOnDemand = 0x100000,
};

// Where a list that asks for its rows gets them. Each row keeps the key it was
// shown under, however many rows above it go.
struct RowSource {
    std::function<std::wstring(int key, int column)> text;
    // The text colour of a row's cells in colorColumn, asked once per row when it
    // is first drawn or read; -1 for the list's own colour.
    std::function<int(int key)> color;
    int colorColumn = 0;
    // A row's share of the whole in thousandths, drawn as a bar in shareColumn
    // beside the cell's text; -1 for none.
    std::function<int(int key)> share;
    int shareColumn = -1;
};

// Where a tree of rows gets its rows: a row's texts, bar and colour as above,
// and the rows one level below a row, asked for when the row is opened.
struct TreeSource : RowSource {
    std::function<std::vector<int>(int key)> children;
    // Whether the row can be opened at all (it is drawn with a "+" then).
    std::function<bool(int key)> opens;
};

// The bit of a tree row's state (ControlItemState) that says it is open.
constexpr int rowOpen = 8;

// Attributes read and set with ControlAttribute and ControlSetAttribute.
enum ControlAttributeNumber {
    comboListOpen = 1,        // drop-down list: 1 while it shows its list
    webBlockPopups = 1,       // web panel: refuse pop-up windows
    webBlockContextMenu = 2,  // web panel: no context menu of the browser's own
    webSilent = 3,            // web panel: no dialog boxes of the browser's own
    webBusy = 4,              // web panel: 1 while a page is still loading
};

// The style flag of a control created disabled.
constexpr unsigned long controlDisabled = 0x08000000;
// A label's text kept on one line: a label sized to its text at one scale may
// be a pixel short at another, and would then wrap its first words out of sight.
constexpr unsigned long labelOneLine = 0x0000000C;

std::intptr_t LabelCreate(int number, int x, int y, int width, int height, const std::wstring& text,
                          unsigned long flags = 0);
std::intptr_t EditFieldCreate(int number, int x, int y, int width, int height, const std::wstring& text,
                              unsigned long flags = 0);
std::intptr_t CheckBoxCreate(int number, int x, int y, int width, int height, const std::wstring& text);
std::intptr_t ButtonCreate(int number, int x, int y, int width, int height, const std::wstring& text,
                           unsigned long flags = 0);
// type 0 group box, 1 sunken panel, 2 etched edge, other a bordered panel
std::intptr_t FrameCreate(int number, int x, int y, int width, int height, const std::wstring& text, int type);
// The image: the number of an image loaded with ImageFromMemory.
std::intptr_t ImageButtonCreate(int number, int x, int y, int width, int height, int image);
std::intptr_t ImageViewCreate(int number, int x, int y, int width, int height, int image);
std::intptr_t ComboBoxCreate(int number, int x, int y, int width, int height);
std::intptr_t ProgressBarCreate(int number, int x, int y, int width, int height, int minimum, int maximum);
std::intptr_t CheckListCreate(int number, int x, int y, int width, int height,
                              const std::wstring& firstColumnTitle, int firstColumnWidth, int flags);
std::intptr_t TabPanelCreate(int number, int x, int y, int width, int height);
// A list of rows in a tree, each level indented below the row it opens from:
// Right or "+" opens a row, Left or "-" closes it (or goes to the row above),
// Enter and a double-click turn it over.
std::intptr_t TreeListCreate(int number, int x, int y, int width, int height, const std::wstring& firstColumnTitle,
                             int firstColumnWidth);
std::intptr_t WebPanelCreate(int number, int x, int y, int width, int height, const std::wstring& address);

void ControlSetText(int number, const std::wstring& text);
std::wstring ControlText(int number);
long long ControlState(int number);
// From a worker thread the change is carried out on the user-interface thread.
void ControlSetState(int number, long long value);
void ControlAddItem(int number, int position, const std::wstring& text);
// An item with a picture: the number of an image loaded with ImageFromMemory.
void ControlAddImageItem(int number, int position, const std::wstring& text, int image);
void ControlRemoveItem(int number, int item);
void ControlClearItems(int number);
int ControlItemCount(int number);
std::wstring ControlItemText(int number, int item, int column = 0);
void ControlSetItemText(int number, int item, const std::wstring& text, int column = 0);
// bits: 1 selected, 2 ticked, 4 third state
int ControlItemState(int number, int item);
void ControlSetItemState(int number, int item, int state);
// A checkbox list: ticks or unticks every row at once.
void ControlTickAllItems(int number, bool ticked);
// A list: how many rows are selected.
int ControlSelectedCount(int number);
// A checkbox list: how many rows are ticked.
int ControlTickedCount(int number);
// A list that asks for its rows: shows `count` rows, keys 0 to count - 1, none ticked.
void ControlShowRows(int number, int count, const RowSource& source);
// A tree list: shows the rows `top`, the first of them opened.
void ControlShowTree(int number, const std::vector<int>& top, const TreeSource& source);
// Draws a list's rows again from their source (their figures changed).
void ControlRedrawRows(int number);
// The key a row was shown under (ControlShowRows); for other lists the row itself.
int ControlItemKey(int number, int row);
void ControlSetItemColor(int number, int item, int which, int color, int column = -1);
// The colour set on a cell, -1 when none is set.
int ControlItemColor(int number, int item, int which, int column);
void ControlSetColor(int number, int which, int color);
void ControlAddColumn(int number, int position, const std::wstring& title, int width);
void ControlSetAttribute(int number, int attribute, long long value);
long long ControlAttribute(int number, int attribute);
long long ControlItemAttribute(int number, int item, int attribute);
// Sets what ControlItemAttribute reads: a list's column width (attribute 1).
void ControlSetItemAttribute(int number, int item, int attribute, long long value);
// Moves and sizes a control within its parent, as its kind is sized when created.
void ControlPlace(int number, int x, int y, int width, int height);
// The font: the number of a font loaded with FontLoad. Number -1 sets the font of controls created later.
void ControlUseFont(int number, int font);
void ControlSetFocus(int number);
// A web panel: the keyboard focus goes into its page (not the panel's frame).
void WebPanelFocusPage(int number);
int ControlFocus();
void ControlSetDisabled(int number, int disabled);
int ControlKindOf(int number);
void ControlDestroy(int number);
// Brings the control above its siblings.
void ControlRaise(int number);
// Draws the control at once, over whatever its parent or siblings drew where it lies.
void ControlPaintNow(int number);
void ControlSetTooltip(int number, const std::wstring& text);
// The row of a list a context menu was last asked for over (kindMenu); -1 for none.
int ControlMenuRow(int number);
// A menu of `entries` where the control last asked for one, waiting for the
// person: the chosen entry's index + 1, 0 when none was chosen.
int ControlShowMenu(int number, const std::vector<std::wstring>& entries);

// Later controls go into this window until ContainerEnd.
void ContainerEnter(int window);
// The parent before the last tabbed panel or ContainerEnter becomes current again.
void ContainerEnd();
