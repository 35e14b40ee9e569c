// Time stamps as archives keep them (DOS date and time, two-second steps, 1980 to 2107) and as
// automation clients see them (days since 30 December 1899).
#pragma once

#include <cstdint>

#include "platform/file_system.h"

namespace parcelon {

struct CalendarTime {
  int year = 1980;
  int month = 1;  // 1 to 12
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

struct DosDateTime {
  std::uint16_t date = 0;
  std::uint16_t time = 0;
};

// UTC calendar fields of a file time; no conversion to local time.
CalendarTime calendarFromFileTime(platform::FileTime time);

// A time before 1980 is stored as 1 January 1980 00:00:00 and one after 2107 as the last
// moment the fields can hold, so that the stored date is always a valid one.
DosDateTime dosFromCalendar(const CalendarTime& time);

// The automation date of a DOS date and time, or 0 (30 December 1899) when the fields do not
// form a valid date and time.
double automationDateFromDos(DosDateTime stamp);

}  // namespace parcelon
