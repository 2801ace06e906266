#include "results/list_csv.h"

#include "toolkit/text.h"

std::wstring csvField(const std::wstring& text) {
    if (text.find_first_of(L",\"\r\n") == std::wstring::npos) return text;
    std::wstring quoted = L"\"";
    for (wchar_t c : text) {
        if (c == L'"') quoted += L'"';
        quoted += c;
    }
    return quoted + L"\"";
}

std::string csvFile(const std::wstring& lines) { return TextToUtf8(L"\uFEFF" + lines); }

std::string csvOfRows(const std::vector<ListedRow>& rows) {
    std::wstring text = L"Size in bytes,Size,File,Read-only\r\n";
    for (const ListedRow& row : rows)
        text += TextFromInteger(row.bytes) + L"," + csvField(row.sizeText) + L"," + csvField(row.path) + L"," +
                (row.readOnly ? L"yes" : L"no") + L"\r\n";
    return csvFile(text);
}
