#include "toolkit/local_date.h"

#include <windows.h>

#include <cwchar>

namespace {

constexpr long long lastSecond = 2147483647LL;  // 2038-01-19 03:14:07

// Days since 1970-01-01 of a proleptic Gregorian date.
long long daysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

}  // namespace

long long DateFromParts(int year, int month, int day, int hour, int minute, int second) {
    long long seconds = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400LL +
                        hour * 3600LL + minute * 60LL + second;
    return seconds < 0 || seconds > lastSecond ? -1 : seconds;
}

long long NowLocal() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return DateFromParts(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

int DateYear(long long seconds) {
    if (seconds < 0 || seconds > lastSecond) return 0;
    long long days = seconds / 86400;
    // Civil-from-days, reduced to the year.
    days += 719468;
    const long long era = days / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    const long long year = yearOfEra + era * 400 + (monthIndex >= 10 ? 1 : 0);
    return static_cast<int>(year);
}

std::wstring LocalTimeText(long long fileTime) {
    if (fileTime <= 0) return {};
    FILETIME utc;
    utc.dwLowDateTime = static_cast<DWORD>(fileTime);
    utc.dwHighDateTime = static_cast<DWORD>(static_cast<unsigned long long>(fileTime) >> 32);
    SYSTEMTIME universal, local;
    if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return {};
    wchar_t text[32];
    swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", local.wYear, local.wMonth, local.wDay, local.wHour,
             local.wMinute, local.wSecond);
    return text;
}
