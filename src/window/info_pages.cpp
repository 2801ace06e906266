#include "window/main_window.h"

#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/system.h"
#include "window/busy_state.h"
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

namespace {

int panelOf(InfoPage page) { return page == InfoPage::fileType ? idTypeInfoPanel : idExactInfoPanel; }

// A page that never stops being busy (no browser engine, a dead server) must not
// hold the program: the wait gives up after this long.
constexpr unsigned long busyWaitLimitMs = 5000;

}  // namespace

// A web panel's item 1 is the page it shows.
void MainWindow::showPage(InfoPage panel, const std::wstring& html) { ControlSetItemText(panelOf(panel), 1, html); }

void MainWindow::openAddress(InfoPage panel, const std::wstring& address) { ControlSetText(panelOf(panel), address); }

void MainWindow::setTabTitle(InfoPage tab, const std::wstring& title) { ControlSetItemText(idTabPanel, static_cast<int>(tab), title); }

void MainWindow::showInfoPage(InfoPage page) { ControlSetState(idTabPanel, static_cast<int>(page)); }

InfoPage MainWindow::shownInfoPage() const {
    switch (ControlState(idTabPanel)) {
        case 1: return InfoPage::folderSizes;
        case 2: return InfoPage::fileType;
        case 3: return InfoPage::exactFile;
        default: return InfoPage::results;
    }
}

void MainWindow::focusWebPage(InfoPage panel) {
    const int id = panelOf(panel);
    if (ControlKindOf(id) != kindWebPanel) return;
    const unsigned long start = TickCount();
    for (;;) {
        drainEvents();
        if (!ControlAttribute(id, webBusy) || TickCount() - start > busyWaitLimitMs) break;
        SleepAnsweringSentMessages(1);
    }
    WebPanelFocusPage(id);
}

void MainWindow::resetInfoPanel() {
    showPage(InfoPage::fileType, placeholderPage);
    setTabTitle(InfoPage::fileType, L"File type information");
    setTabTitle(InfoPage::exactFile, L"Exact file information");
    showPage(InfoPage::exactFile, placeholderPage);
    setStatus(L"Ready.");
}
