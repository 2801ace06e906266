#include "fileinfo/info_command.h"

#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/paths.h"
#include "toolkit/system.h"
#include "toolkit/text.h"
#include "window/busy_state.h"
#include "window/control_ids.h"
#include "window/info_pages.h"

#include <cwchar>

namespace {

// A page that never stops being busy (no browser engine, a dead server) must not
// hold the program: the wait gives up after this long.
constexpr unsigned long busyWaitLimitMs = 5000;

std::wstring quoted(const std::wstring& text) { return L"\"" + TextTrim(text) + L"\""; }

}  // namespace

std::wstring searchAddress(const std::wstring& query) {
    // What a name may hold that means something in an address (&, #, +, %, =, ?),
    // control characters and everything past ASCII go as the %XX of their UTF-8
    // bytes, so that the engine is asked for exactly the name. Blanks and quotes
    // go as they are, as they always have: the browser sends them well.
    std::wstring address = L"http://www.google.com/search?q=";
    const wchar_t* digits = L"0123456789ABCDEF";
    for (const unsigned char byte : TextToUtf8(query)) {
        if (byte >= 0x20 && byte < 0x7F && !std::wcschr(L"&#+%=?", static_cast<wchar_t>(byte))) {
            address += static_cast<wchar_t>(byte);
        } else {
            address += L'%';
            address += digits[byte >> 4];
            address += digits[byte & 15];
        }
    }
    return address;
}

void showFileTypeInfo(const std::wstring& path) {
    const std::wstring quotedName = quoted(PathNamePart(path));
    const std::wstring extension = TextTrim(PathExtensionPart(PathNamePart(path)));
    showPage(idExactInfoPanel, searchingPage);
    showPage(idTypeInfoPanel, searchingPage);
    if (extension.empty()) {
        setTabTitle(typeInfoTab, L"(No type info)");
        showPage(idTypeInfoPanel, L"");
    } else {
        const std::wstring quotedExtension = L"\"" + extension + L"\"";
        ControlSetText(idTypeInfoPanel, searchAddress(L"what are " + quotedExtension + L" files"));
        setTabTitle(typeInfoTab, L"What are " + quotedExtension + L" files");
    }
    setTabTitle(exactInfoTab, L"What is " + quotedName);
    ControlSetText(idExactInfoPanel, searchAddress(quotedName));
    ControlSetState(idTabPanel, typeInfoTab);
    focusWebPage(idTypeInfoPanel);
}

void focusWebPage(int id) {
    if (ControlKindOf(id) != kindWebPanel) return;
    const unsigned long start = TickCount();
    for (;;) {
        drainEvents();
        if (!ControlAttribute(id, webBusy) || TickCount() - start > busyWaitLimitMs) break;
        SleepAnsweringSentMessages(1);
    }
    WebPanelFocusPage(id);
}
