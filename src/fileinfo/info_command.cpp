#include "fileinfo/info_command.h"

#include "window/main_window.h"

#include "toolkit/paths.h"
#include "toolkit/text.h"

#include <cwchar>

namespace {

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

void showFileTypeInfo(const std::wstring& path, MainWindow& window) {
    const std::wstring quotedName = quoted(PathNamePart(path));
    const std::wstring extension = TextTrim(PathExtensionPart(PathNamePart(path)));
    window.showPage(InfoPage::exactFile, searchingPage);
    window.showPage(InfoPage::fileType, searchingPage);
    if (extension.empty()) {
        window.setTabTitle(InfoPage::fileType, L"(No type info)");
        window.showPage(InfoPage::fileType, L"");
    } else {
        const std::wstring quotedExtension = L"\"" + extension + L"\"";
        window.openAddress(InfoPage::fileType, searchAddress(L"what are " + quotedExtension + L" files"));
        window.setTabTitle(InfoPage::fileType, L"What are " + quotedExtension + L" files");
    }
    window.setTabTitle(InfoPage::exactFile, L"What is " + quotedName);
    window.openAddress(InfoPage::exactFile, searchAddress(quotedName));
    window.showInfoPage(InfoPage::fileType);
    window.focusWebPage(InfoPage::fileType);
}

