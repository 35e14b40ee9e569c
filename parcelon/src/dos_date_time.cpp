#include "dos_date_time.h"

#include <chrono>

namespace parcelon {
namespace {

constexpr std::uint64_t kFileTimeTicksPerSecond = 10'000'000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;
constexpr int kFirstDosYear = 1980;
constexpr int kLastDosYear = 1980 + 127;

bool isValidDate(int year, int month, int day) {
  const std::chrono::year_month_day date{std::chrono::year{year},
                                         std::chrono::month{static_cast<unsigned>(month)},
                                         std::chrono::day{static_cast<unsigned>(day)}};
  return month >= 1 && month <= 12 && day >= 1 && date.ok();
}

}  // namespace

CalendarTime calendarFromFileTime(platform::FileTime time) {
  using namespace std::chrono;
  const auto unixSeconds =
      static_cast<std::int64_t>(time / kFileTimeTicksPerSecond) - kSecondsFrom1601To1970;
  const sys_seconds stamp{seconds{unixSeconds}};
  const sys_days day = floor<days>(stamp);
  const year_month_day date{day};
  const hh_mm_ss clock{stamp - day};
  return CalendarTime{static_cast<int>(date.year()),
                      static_cast<int>(static_cast<unsigned>(date.month())),
                      static_cast<int>(static_cast<unsigned>(date.day())),
                      static_cast<int>(clock.hours().count()),
                      static_cast<int>(clock.minutes().count()),
                      static_cast<int>(clock.seconds().count())};
}

DosDateTime dosFromCalendar(const CalendarTime& time) {
  CalendarTime stored = time;
  if (stored.year < kFirstDosYear) {
    stored = CalendarTime{};
  } else if (stored.year > kLastDosYear) {
    stored = CalendarTime{kLastDosYear, 12, 31, 23, 59, 58};
  }
  DosDateTime stamp;
  stamp.time =
      static_cast<std::uint16_t>(stored.hour * 2048 + stored.minute * 32 + stored.second / 2);
  stamp.date = static_cast<std::uint16_t>(stored.day + 32 * stored.month +
                                          512 * (stored.year - kFirstDosYear));
  return stamp;
}

double automationDateFromDos(DosDateTime stamp) {
  const int second = 2 * (stamp.time & 0x1F);
  const int minute = (stamp.time >> 5) & 0x3F;
  const int hour = stamp.time >> 11;
  const int day = stamp.date & 0x1F;
  const int month = (stamp.date >> 5) & 0x0F;
  const int year = kFirstDosYear + (stamp.date >> 9);
  if (!isValidDate(year, month, day) || hour > 23 || minute > 59 || second > 59) {
    return 0.0;
  }
  constexpr std::chrono::sys_days kAutomationEpoch =
      std::chrono::year{1899} / std::chrono::December / 30;
  const std::chrono::sys_days date = std::chrono::year{year} /
                                     std::chrono::month{static_cast<unsigned>(month)} /
                                     std::chrono::day{static_cast<unsigned>(day)};
  const double dayNumber = static_cast<double>((date - kAutomationEpoch).count());
  return dayNumber + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

}  // namespace parcelon
