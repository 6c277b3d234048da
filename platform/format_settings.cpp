// The user's regional formats, read from the system.
#include "platform/format_settings.h"

#include <windows.h>

#include <string>

namespace platform {
namespace {

std::string LocaleText(LCTYPE item) {
  char buffer[128] = {};
  const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, buffer, sizeof buffer);
  return length > 0 ? std::string(buffer, static_cast<std::size_t>(length - 1)) : std::string();
}

bool LocaleFlag(LCTYPE item) { return LocaleText(item) == "1"; }

rtl::RegionalSettings Read() {
  rtl::RegionalSettings s;
  s.short_date = LocaleText(LOCALE_SSHORTDATE);
  s.date_separator = LocaleText(LOCALE_SDATE);
  s.time_separator = LocaleText(LOCALE_STIME);
  s.hour_leading_zero = LocaleFlag(LOCALE_ITLZERO);
  s.twelve_hour = LocaleText(LOCALE_ITIME) == "0";
  s.designator_first = LocaleFlag(LOCALE_ITIMEMARKPOSN);
  s.am = LocaleText(LOCALE_S1159);
  s.pm = LocaleText(LOCALE_S2359);
  for (int m = 0; m < 12; ++m) {
    s.short_month_names[static_cast<std::size_t>(m)] = LocaleText(LOCALE_SABBREVMONTHNAME1 + static_cast<LCTYPE>(m));
    s.long_month_names[static_cast<std::size_t>(m)] = LocaleText(LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(m));
  }
  // The system counts days from Monday; the clock from Sunday.
  for (int d = 0; d < 7; ++d) {
    const auto day = static_cast<std::size_t>((d + 1) % 7);
    s.short_day_names[day] = LocaleText(LOCALE_SABBREVDAYNAME1 + static_cast<LCTYPE>(d));
    s.long_day_names[day] = LocaleText(LOCALE_SDAYNAME1 + static_cast<LCTYPE>(d));
  }
  return s;
}

rtl::RegionalSettings& Current() {
  static rtl::RegionalSettings settings = Read();
  return settings;
}

}  // namespace

const rtl::RegionalSettings& FormatSettings() { return Current(); }

void RereadFormatSettings() { Current() = Read(); }

rtl::LocalTime Now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace platform
