#pragma once
// Controls addressed by numbers, created into the current parent with the current
// default font, and driven through the generic operations below. Every operation
// on a number without a control does nothing and returns 0.
#include <windows.h>

#include <string>

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
};

// Flags of the multi-column list.
enum CheckListFlags {
    listCheckBoxes = 1,
    listMultiSelect = 4,
    listShowSelectionAlways = 8,
    listTriState = 0x40,
    listGridLines = 0x10000,
    listHeaderDragDrop = 0x10000000,
    listFullRowSelect = 0x40000000,
};

// Attributes read with ControlAttribute.
enum ControlAttributeNumber {
    comboListOpen = 1,  // 1 while a drop-down list shows its list
};

INT_PTR LabelCreate(int number, int x, int y, int width, int height, const std::wstring& text, DWORD flags = 0);
INT_PTR EditFieldCreate(int number, int x, int y, int width, int height, const std::wstring& text, DWORD flags = 0);
INT_PTR CheckBoxCreate(int number, int x, int y, int width, int height, const std::wstring& text);
INT_PTR ButtonCreate(int number, int x, int y, int width, int height, const std::wstring& text, DWORD flags = 0);
// type 0 group box, 1 sunken panel, 2 etched edge, other a bordered panel
INT_PTR FrameCreate(int number, int x, int y, int width, int height, const std::wstring& text, int type);
INT_PTR ImageButtonCreate(int number, int x, int y, int width, int height, HANDLE image);
INT_PTR ImageViewCreate(int number, int x, int y, int width, int height, HANDLE image);
INT_PTR ComboBoxCreate(int number, int x, int y, int width, int height);
INT_PTR ProgressBarCreate(int number, int x, int y, int width, int height, int minimum, int maximum);
INT_PTR CheckListCreate(int number, int x, int y, int width, int height, const std::wstring& firstColumnTitle,
                        int firstColumnWidth, int flags);
INT_PTR TabPanelCreate(int number, int x, int y, int width, int height);
INT_PTR WebPanelCreate(int number, int x, int y, int width, int height, const std::wstring& address);

void ControlSetText(int number, const std::wstring& text);
std::wstring ControlText(int number);
long long ControlState(int number);
// From a worker thread the change is carried out on the user-interface thread.
void ControlSetState(int number, long long value);
void ControlAddItem(int number, int position, const std::wstring& text, HANDLE image = nullptr);
void ControlRemoveItem(int number, int item);
void ControlClearItems(int number);
int ControlItemCount(int number);
std::wstring ControlItemText(int number, int item, int column = 0);
void ControlSetItemText(int number, int item, const std::wstring& text, int column = 0);
// bits: 1 selected, 2 ticked, 4 third state
int ControlItemState(int number, int item);
void ControlSetItemState(int number, int item, int state);
void ControlSetItemColor(int number, int item, int which, int color, int column = -1);
// The colour set on a cell, -1 when none is set.
int ControlItemColor(int number, int item, int which, int column);
void ControlSetColor(int number, int which, int color);
void ControlAddColumn(int number, int position, const std::wstring& title, int width);
void ControlSetAttribute(int number, int attribute, long long value);
long long ControlAttribute(int number, int attribute);
void ControlSetItemAttribute(int number, int item, int attribute, long long value);
long long ControlItemAttribute(int number, int item, int attribute);
// A font handle of -1 restores the default GUI font; number -1 sets the font of controls created later.
void ControlSetFont(int number, INT_PTR font);
void ControlSetFocus(int number);
int ControlFocus();
void ControlSetDisabled(int number, int disabled);
int ControlKindOf(int number);
HWND ControlNativeHandle(int number);
void ControlDestroy(int number);
void ControlSetTooltip(int number, const std::wstring& text);

// The parent before the last tabbed panel becomes current again.
void ContainerEnd();
// Later controls go into this window; returns the previous parent.
HWND ContainerUseWindow(HWND window);
