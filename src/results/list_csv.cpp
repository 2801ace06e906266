#include "results/list_csv.h"

#include "toolkit/text.h"

namespace {

std::wstring field(const std::wstring& text) {
    if (text.find_first_of(L",\"\r\n") == std::wstring::npos) return text;
    std::wstring quoted = L"\"";
    for (wchar_t c : text) {
        if (c == L'"') quoted += L'"';
        quoted += c;
    }
    return quoted + L"\"";
}

}  // namespace

std::string csvOfRows(const std::vector<ListedRow>& rows) {
    std::wstring text = L"\uFEFFSize in bytes,Size,File,Read-only\r\n";
    for (const ListedRow& row : rows)
        text += TextFromInteger(row.bytes) + L"," + field(row.sizeText) + L"," + field(row.path) + L"," +
                (row.readOnly ? L"yes" : L"no") + L"\r\n";
    return TextToUtf8(text);
}
