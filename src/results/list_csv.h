#pragma once
// A list of found files as a CSV file that spreadsheets open as they are: UTF-8
// with its byte order mark, a header line, Windows line ends, and a field in
// quotes wherever it holds a comma, a quote or a line end.
#include <string>
#include <vector>

struct ListedRow {
    long long bytes = 0;
    std::wstring sizeText;
    std::wstring path;
    bool readOnly = false;
};

std::string csvOfRows(const std::vector<ListedRow>& rows);

// A field as such a file holds it: in quotes where it holds a comma, a quote or a line end.
std::wstring csvField(const std::wstring& text);
// The lines (each ending in CR LF) as such a file's bytes.
std::string csvFile(const std::wstring& lines);
