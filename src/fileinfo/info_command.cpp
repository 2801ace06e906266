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
    auto escape = [&address](unsigned byte) {
        const wchar_t* digits = L"0123456789ABCDEF";
        address += L'%';
        address += digits[byte >> 4];
        address += digits[byte & 15];
    };
    for (size_t i = 0; i < query.size(); ++i) {
        unsigned long c = static_cast<unsigned short>(query[i]);
        if (c >= 0x20 && c < 0x7F && !std::wcschr(L"&#+%=?", static_cast<wchar_t>(c))) {
            address += static_cast<wchar_t>(c);
            continue;
        }
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < query.size() && query[i + 1] >= 0xDC00 && query[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<unsigned short>(query[++i]) - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;  // half a pair is no character
        if (c < 0x80) {
            escape(c);
        } else if (c < 0x800) {
            escape(0xC0 | (c >> 6));
            escape(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            escape(0xE0 | (c >> 12));
            escape(0x80 | ((c >> 6) & 0x3F));
            escape(0x80 | (c & 0x3F));
        } else {
            escape(0xF0 | (c >> 18));
            escape(0x80 | ((c >> 12) & 0x3F));
            escape(0x80 | ((c >> 6) & 0x3F));
            escape(0x80 | (c & 0x3F));
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
