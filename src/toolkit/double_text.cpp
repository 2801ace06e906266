#include "toolkit/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

constexpr int maxDecimals = 512;
constexpr size_t maxTextLength = 1024;

// True when |value| lies exactly halfway between two numbers of `decimals`
// decimals, i.e. value = odd * 2^-(decimals+1).
bool isHalfway(double value, int decimals) {
    int exponent = 0;
    double fraction = std::frexp(std::fabs(value), &exponent);
    uint64_t mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
    if (mantissa == 0) return false;
    int binaryExponent = exponent - 53;
    while ((mantissa & 1) == 0) {
        mantissa >>= 1;
        ++binaryExponent;
    }
    return binaryExponent == -(decimals + 1);
}

// The fixed-point text of value, rounded at the last shown decimal with halves
// away from zero. std::to_chars rounds exact ties to even, so ties are redone here.
std::string fixedPoint(double value, int decimals) {
    char buffer[1600];
    char* begin = buffer + 1;  // room for a digit carried out at the front
    char* const limit = buffer + sizeof buffer;
    if (!isHalfway(value, decimals)) {
        auto result = std::to_chars(begin, limit, value, std::chars_format::fixed, decimals);
        return std::string(begin, result.ptr);
    }
    // A halfway value has exactly decimals+1 decimals, the last a 5: print it
    // exactly, drop the 5 and add one unit in the last remaining place.
    auto result = std::to_chars(begin, limit, value, std::chars_format::fixed, decimals + 1);
    char* end = result.ptr - 1;
    if (end[-1] == '.') --end;
    char* const firstDigit = *begin == '-' ? begin + 1 : begin;
    for (char* p = end;;) {
        if (p == firstDigit) {  // "99.5" became "00": a leading 1 goes in front
            if (firstDigit != begin) {
                begin[-1] = '-';
                begin[0] = '1';
            } else {
                begin[-1] = '1';
            }
            return std::string(begin - 1, end);
        }
        --p;
        if (*p == '.') continue;
        if (*p != '9') {
            ++*p;
            break;
        }
        *p = '0';
    }
    return std::string(begin, end);
}

}  // namespace

std::wstring TextFromDouble(double value, int decimals) {
    if (std::isnan(value)) return L"NaN";
    if (std::isinf(value)) return value > 0 ? L"+Infinity" : L"-Infinity";
    if (value == 0) value = 0.0;  // negative zero prints without a sign

    const bool trimZeros = decimals < 0;
    std::string digits = fixedPoint(value, trimZeros ? 10 : std::min(decimals, maxDecimals));
    if (trimZeros && digits.find('.') != std::string::npos && digits.back() == '0') {
        while (digits.back() == '0') digits.pop_back();
        if (digits.back() == '.') digits.pop_back();
    }
    if (digits.size() > maxTextLength) digits.resize(maxTextLength);
    return std::wstring(digits.begin(), digits.end());
}
