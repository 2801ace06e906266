#pragma once
// The two web panels beside the results: what a file type is, and the exact file.
#include <string>

class MainWindow;

void showFileTypeInfo(const std::wstring& path, MainWindow& window);

// The address of a web search for exactly the query's text.
std::wstring searchAddress(const std::wstring& query);
