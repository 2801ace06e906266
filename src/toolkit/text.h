#pragma once
// Text operations. Texts are UTF-16 values; positions are 1-based and a found
// position of 0 means "not found". No operation changes its arguments.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

int TextLength(const std::wstring& text);
std::wstring TextLeft(const std::wstring& text, long long count);
std::wstring TextRight(const std::wstring& text, long long count);
std::wstring TextMid(const std::wstring& text, long long start);
std::wstring TextMid(const std::wstring& text, long long start, long long count);
std::wstring TextRemove(const std::wstring& text, const std::wstring& part, int mode = 0);
std::wstring TextLower(const std::wstring& text);
std::wstring TextUpper(const std::wstring& text);
std::wstring TextTrim(const std::wstring& text);
std::wstring TextTrimStart(const std::wstring& text);
std::wstring TextField(const std::wstring& text, long long index, const std::wstring& separator);

long long TextToInteger(const std::wstring& text);
std::wstring TextFromInteger(long long value);
// A count with its thousands grouped: "412,318".
std::wstring countText(long long count);
// The text's UTF-8 bytes; half a surrogate pair becomes U+FFFD.
std::string TextToUtf8(const std::wstring& text);
// The same, converted `pieceUnits` at a time (a pair is never split), so that a
// text of any length converts; nothing when the system could not convert a piece.
std::optional<std::string> TextToUtf8Whole(const std::wstring& text, size_t pieceUnits = size_t{1} << 20);
// Each half of a surrogate pair that stands alone (legal in a Windows name, but
// not in UTF-8) replaced by "<U+D800>" and the like: "<" is in no Windows name,
// so the text still names its file unambiguously. How many were replaced.
size_t TextMarkLoneSurrogates(std::wstring& text);


// decimals -1: ten decimals with trailing zeros (and a bare point) removed.
std::wstring TextFromDouble(double value, int decimals);
