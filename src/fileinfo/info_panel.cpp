#include "fileinfo/info_panel.h"

#include "app/control_ids.h"
#include "app/main_window.h"
#include "search/busy_state.h"
#include "toolkit/controls.h"
#include "toolkit/paths.h"
#include "toolkit/text.h"

#include <exdisp.h>
#include <mshtml.h>

#include "toolkit/com_ptr.h"

namespace {

const wchar_t* const placeholderPage =
    L"<html><body bgcolor=#FFFFFF><p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<center><font color=#808080>Double-click any "
    L"file result to see internet information here.</center></body></html>";
const wchar_t* const searchingPage =
    L"<html><body bgcolor=#FFFFFF><p>&nbsp;<p>&nbsp;<p>&nbsp;<p>&nbsp;<center><font "
    L"color=#888888>Searching...</center></body></html>";

constexpr int typeInfoTab = 1, exactInfoTab = 2;

// A page that never stops being busy (no browser engine, a dead server) must not
// hold the program: the wait gives up after this long.
constexpr DWORD busyWaitLimitMs = 5000;

std::wstring quoted(const std::wstring& text) { return L"\"" + TextTrim(text) + L"\""; }

}  // namespace

std::wstring searchAddress(const std::wstring& query) { return L"http://www.google.com/search?q=" + query; }

void resetInfoPanel() {
    ControlSetItemText(idTypeInfoPanel, 1, placeholderPage);
    ControlSetItemText(idTabPanel, typeInfoTab, L"File type information");
    ControlSetItemText(idTabPanel, exactInfoTab, L"Exact file information");
    ControlSetItemText(idExactInfoPanel, 1, placeholderPage);
    ControlSetDisabled(idDeleteButton, 1);
    setMainStatus(L"Ready.");
}

void showFileTypeInfo(const std::wstring& path) {
    const std::wstring quotedName = quoted(PathNamePart(path));
    const std::wstring extension = TextTrim(PathExtensionPart(PathNamePart(path)));
    ControlSetItemText(idExactInfoPanel, 1, searchingPage);
    ControlSetItemText(idTypeInfoPanel, 1, searchingPage);
    if (extension.empty()) {
        ControlSetItemText(idTabPanel, typeInfoTab, L"(No type info)");
        ControlSetItemText(idTypeInfoPanel, 1, L"");
    } else {
        const std::wstring quotedExtension = L"\"" + extension + L"\"";
        ControlSetText(idTypeInfoPanel, searchAddress(L"what are " + quotedExtension + L" files"));
        ControlSetItemText(idTabPanel, typeInfoTab, L"What are " + quotedExtension + L" files");
    }
    ControlSetItemText(idTabPanel, exactInfoTab, L"What is " + quotedName);
    ControlSetText(idExactInfoPanel, searchAddress(quotedName));
    ControlSetState(idTabPanel, typeInfoTab);
    focusWebPage(idTypeInfoPanel);
}

void focusWebPage(int id) {
    auto* browser = reinterpret_cast<IWebBrowser2*>(GetWindowLongPtrW(ControlNativeHandle(id), GWLP_USERDATA));
    if (!browser) return;
    const DWORD start = GetTickCount();
    for (;;) {
        drainEvents();
        VARIANT_BOOL busy = VARIANT_FALSE;
        if (FAILED(browser->get_Busy(&busy)) || !busy || GetTickCount() - start > busyWaitLimitMs) break;
        Sleep(1);
    }
    ComPtr<IDispatch> document;
    if (FAILED(browser->get_Document(document.put())) || !document) return;
    auto html = document.query<IHTMLDocument2>(IID_IHTMLDocument2);
    if (!html) return;
    ComPtr<IHTMLWindow2> window;
    if (SUCCEEDED(html->get_parentWindow(window.put())) && window) window->focus();
}
