#pragma once
// Line-oriented UTF-8 text files, each addressed by a number.
#include <string>

constexpr int anyFileNumber = -1;

// Create or empty a file for reading and writing. Returns the file's number when
// anyFileNumber was asked for, else nonzero; 0 on failure.
int TextFileCreate(int number, const std::wstring& path);
// Open an existing file for reading; same results as TextFileCreate.
int TextFileOpen(int number, const std::wstring& path);
// The next line without its end (LF, CR LF or a lone CR).
std::wstring TextFileReadLine(int number);
int TextFileAtEnd(int number);
// Writes the text as UTF-8 followed by CR LF.
void TextFileWriteLine(int number, const std::wstring& text);
// Writes out what is buffered and closes; -1 closes every file. Nonzero when
// everything written reached the file.
int TextFileClose(int number);
