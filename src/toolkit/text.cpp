#include "toolkit/text.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

namespace {

size_t clampCount(long long count, size_t length) {
    if (count < 0) return 0;
    return std::min(static_cast<size_t>(count), length);
}

std::wstring mappedCase(std::wstring text, bool upper) {
    if (!text.empty()) {
        DWORD length = static_cast<DWORD>(text.size());
        upper ? CharUpperBuffW(text.data(), length) : CharLowerBuffW(text.data(), length);
    }
    return text;
}

bool isBlank(wchar_t c) { return c == L' '; }

int digitValue(wchar_t c, int base) {
    int value = -1;
    if (c >= L'0' && c <= L'9') value = c - L'0';
    else if (c >= L'a' && c <= L'f') value = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F') value = c - L'A' + 10;
    return value < base ? value : -1;
}

}  // namespace

int TextLength(const std::wstring& text) { return static_cast<int>(text.size()); }

std::wstring TextLeft(const std::wstring& text, long long count) {
    return text.substr(0, clampCount(count, text.size()));
}

std::wstring TextRight(const std::wstring& text, long long count) {
    size_t n = clampCount(count, text.size());
    return text.substr(text.size() - n);
}

std::wstring TextMid(const std::wstring& text, long long start) {
    return TextMid(text, start, static_cast<long long>(text.size()));
}

std::wstring TextMid(const std::wstring& text, long long start, long long count) {
    if (start < 1) start = 1;
    if (static_cast<unsigned long long>(start) > text.size()) return {};
    return text.substr(static_cast<size_t>(start - 1), clampCount(count, text.size()));
}

std::wstring TextRemove(const std::wstring& text, const std::wstring& part, int mode) {
    if (part.empty()) return text;
    std::wstring result;
    result.reserve(text.size());
    const size_t n = part.size();
    size_t i = 0;
    while (i < text.size()) {
        bool match = i + n <= text.size() &&
                     ((mode & 1) ? _wcsnicmp(text.c_str() + i, part.c_str(), n) == 0
                                 : text.compare(i, n, part) == 0);
        if (match) {
            i += n;
        } else {
            result += text[i++];
        }
    }
    return result;
}

std::wstring TextLower(const std::wstring& text) { return mappedCase(text, false); }
std::wstring TextUpper(const std::wstring& text) { return mappedCase(text, true); }

std::wstring TextTrimStart(const std::wstring& text) {
    size_t first = 0;
    while (first < text.size() && isBlank(text[first])) ++first;
    return text.substr(first);
}

std::wstring TextTrim(const std::wstring& text) {
    std::wstring result = TextTrimStart(text);
    while (!result.empty() && isBlank(result.back())) result.pop_back();
    return result;
}

std::wstring TextField(const std::wstring& text, long long index, const std::wstring& separator) {
    if (index < 1) return {};
    if (separator.empty()) return index == 1 ? text : std::wstring();
    size_t begin = 0;
    for (long long field = 1; field < index; ++field) {
        size_t next = text.find(separator, begin);
        if (next == std::wstring::npos) return {};
        begin = next + separator.size();
    }
    size_t end = text.find(separator, begin);
    return text.substr(begin, end == std::wstring::npos ? std::wstring::npos : end - begin);
}

long long TextToInteger(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    int base = 10;
    if (i < text.size() && text[i] == L'$') { base = 16; ++i; }
    else if (i < text.size() && text[i] == L'%') { base = 2; ++i; }
    // Unsigned arithmetic: overflow wraps modulo 2^64 instead of being undefined.
    uint64_t value = 0;
    for (int digit; i < text.size() && (digit = digitValue(text[i], base)) >= 0; ++i)
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (negative) value = 0 - value;
    return static_cast<long long>(value);
}

std::wstring TextFromInteger(long long value) { return std::to_wstring(value); }

std::string TextToUtf8(const std::wstring& text) { return TextToUtf8Whole(text).value_or(std::string()); }

namespace {

bool isHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::optional<std::string> TextToUtf8Whole(const std::wstring& text, size_t pieceUnits) {
    std::string bytes;
    if (pieceUnits < 2) pieceUnits = 2;
    // The system takes an int's worth of units at a time: past 2^31 a single call
    // would be told a negative length.
    pieceUnits = std::min<size_t>(pieceUnits, 1u << 30);
    for (size_t at = 0; at < text.size();) {
        size_t units = std::min(pieceUnits, text.size() - at);
        if (at + units < text.size() && isHighSurrogate(text[at + units - 1])) --units;
        const wchar_t* piece = text.data() + at;
        const int length = WideCharToMultiByte(CP_UTF8, 0, piece, static_cast<int>(units), nullptr, 0, nullptr, nullptr);
        if (length <= 0) return std::nullopt;
        const size_t before = bytes.size();
        bytes.resize(before + static_cast<size_t>(length));
        if (WideCharToMultiByte(CP_UTF8, 0, piece, static_cast<int>(units), bytes.data() + before, length, nullptr,
                                nullptr) != length)
            return std::nullopt;
        at += units;
    }
    return bytes;
}

size_t TextMarkLoneSurrogates(std::wstring& text) {
    size_t marked = 0;
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        const bool paired = (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) ||
                            (isLowSurrogate(c) && i > 0 && isHighSurrogate(text[i - 1]));
        if ((isHighSurrogate(c) || isLowSurrogate(c)) && !paired) {
            if (marked++ == 0) out.assign(text, 0, i);
            wchar_t mark[12];
            swprintf(mark, 12, L"<U+%04X>", static_cast<unsigned>(c));
            out += mark;
        } else if (marked) {
            out += c;
        }
    }
    if (marked) text = std::move(out);
    return marked;
}

std::wstring countText(long long count) {
    std::wstring digits = std::to_wstring(count < 0 ? -count : count);
    for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, L",");
    return (count < 0 ? L"-" : L"") + digits;
}
