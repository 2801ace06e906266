#pragma once
// Local date as seconds counted as if the local calendar fields were UTC
// (1970-01-01 00:00:00 local is 0). Only 1970 to 2038-01-19 03:14:07 is covered.

long long NowLocal();
// The calendar year of such a count; 0 for a count outside the range (such as -1).
int DateYear(long long seconds);

// The count for a calendar date and time, or -1 outside the range.
long long DateFromParts(int year, int month, int day, int hour, int minute, int second);

// A file time (100-ns ticks since 1601, UTC) as the local time "YYYY-MM-DD HH:MM:SS";
// empty for 0 or a time the system cannot convert.
#include <string>
std::wstring LocalTimeText(long long fileTime);
