#include "window/info_pages.h"

#include "toolkit/controls.h"
#include "window/control_ids.h"
#include "window/main_window.h"

namespace {

const wchar_t* const placeholderPage =
    L"<html><body bgcolor=#FFFFFF><p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<center><font color=#808080>Double-click any "
    L"file result to see internet information here.</center></body></html>";

}  // namespace

const wchar_t* const searchingPage =
    L"<html><body bgcolor=#FFFFFF><p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<center><font "
    L"color=#888888>Searching...</center></body></html>";

void resetInfoPanel() {
    ControlSetItemText(idTypeInfoPanel, 1, placeholderPage);
    ControlSetItemText(idTabPanel, typeInfoTab, L"File type information");
    ControlSetItemText(idTabPanel, exactInfoTab, L"Exact file information");
    ControlSetItemText(idExactInfoPanel, 1, placeholderPage);
    ControlSetDisabled(idDeleteButton, 1);
    setMainStatus(L"Ready.");
}
