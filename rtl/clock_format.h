// Date and time texts in the user's regional formats: the clock of the status bar.
#pragma once

#include <array>
#include <string>

namespace rtl {

// What the clock needs of the user's regional settings, read from the system by the
// platform layer and held until the settings change.
struct RegionalSettings {
  // The short date picture (d, dd, ddd, dddd, M, MM, MMM, MMMM, y, yy, yyyy, quoted text);
  // '/' in it stands for the date separator.
  std::string short_date = "yyyy/M/d";
  std::string date_separator = "/";
  std::string time_separator = ":";
  bool hour_leading_zero = false;
  bool twelve_hour = false;
  bool designator_first = false;  // the AM/PM designator stands before the time
  std::string am = "AM";
  std::string pm = "PM";
  std::array<std::string, 12> short_month_names{};
  std::array<std::string, 12> long_month_names{};
  std::array<std::string, 7> short_day_names{};  // Sunday first
  std::array<std::string, 7> long_day_names{};
};

// One reading of the local clock.
struct LocalTime {
  int year = 0, month = 1, day = 1;  // month 1-12, day 1-31
  int day_of_week = 0;               // 0 is Sunday
  int hour = 0, minute = 0, second = 0;
};

// The long time picture composed from the settings, not taken from the user's own time
// picture: "h:mm:ss", "hh:mm:ss", "h:mm:ss AMPM" or "AMPM h:mm:ss"; ':' stands for the
// time separator.
std::string LongTimeFormat(const RegionalSettings& settings);

// Formats a reading with a picture of the kinds above.
std::string FormatDateTime(const std::string& picture, const RegionalSettings& settings, const LocalTime& time);

// The clock text: the date in the short date format, one blank, the time in the long time
// format, both halves from the same reading.
std::string ClockText(const RegionalSettings& settings, const LocalTime& time);

}  // namespace rtl
