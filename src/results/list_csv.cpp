#include "results/list_csv.h"

#include "toolkit/text.h"

CsvText& CsvText::field(std::wstring text) {
    if (!first_) text_ += L',';
    first_ = false;
    if (TextMarkLoneSurrogates(text) > 0) ++marked_;
    if (text.find_first_of(L",\"\r\n") == std::wstring::npos) {
        text_ += text;
        return *this;
    }
    text_ += L'"';
    for (wchar_t c : text) {
        if (c == L'"') text_ += L'"';
        text_ += c;
    }
    text_ += L'"';
    return *this;
}

CsvText& CsvText::field(long long number) { return field(TextFromInteger(number)); }

std::optional<std::string> CsvText::bytes() const {
    std::optional<std::string> utf8 = TextToUtf8Whole(text_);
    if (utf8) utf8->insert(0, "\xEF\xBB\xBF");
    return utf8;
}

CsvText csvOfRows(const std::vector<ListedRow>& rows) {
    CsvText csv(L"Size in bytes,Size,File,Read-only");
    for (const ListedRow& row : rows) {
        csv.field(row.bytes).field(row.sizeText).field(row.path).field(row.readOnly ? L"yes" : L"no");
        csv.endLine();
    }
    return csv;
}
