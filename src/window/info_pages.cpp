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

// A web panel's item 1 is the page it shows.
void showPage(int panel, const std::wstring& html) { ControlSetItemText(panel, 1, html); }

void setTabTitle(int tab, const std::wstring& title) { ControlSetItemText(idTabPanel, tab, title); }

void resetInfoPanel() {
    showPage(idTypeInfoPanel, placeholderPage);
    setTabTitle(typeInfoTab, L"File type information");
    setTabTitle(exactInfoTab, L"Exact file information");
    showPage(idExactInfoPanel, placeholderPage);
    setMainStatus(L"Ready.");
}
