#pragma once
// A list of found files as a CSV file that spreadsheets open as they are: UTF-8
// with its byte order mark, a header line, Windows line ends, and a field in
// quotes wherever it holds a comma, a quote or a line end.
#include <optional>
#include <string>
#include <vector>

struct ListedRow {
    long long bytes = 0;
    std::wstring sizeText;
    std::wstring path;
    bool readOnly = false;
};

// A CSV file's text, line by line. A field that UTF-8 cannot hold exactly (half
// a surrogate pair, legal in a Windows name) is written with "<U+D800>" in its
// place, which names no other file, and counted.
class CsvText {
public:
    // The header's fields, comma-separated as they stand.
    explicit CsvText(const std::wstring& header) : text_(header + L"\r\n") {}
    CsvText& field(std::wstring text);
    CsvText& field(long long number);
    void endLine() { text_ += L"\r\n"; first_ = true; }
    // How many fields were written with a mark in them.
    int marked() const { return marked_; }
    // The file's bytes; nothing when the text could not be converted.
    std::optional<std::string> bytes() const;

private:
    std::wstring text_;
    bool first_ = true;
    int marked_ = 0;
};

CsvText csvOfRows(const std::vector<ListedRow>& rows);
