// Date and time texts in the user's regional formats.
#include "rtl/clock_format.h"

#include <cstdio>
#include <string_view>

#include "rtl/gbk.h"

namespace rtl {
namespace {

std::string Digits(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

std::string NameOr(const std::string& name, int value, int width) {
  return name.empty() ? Digits(value, width) : name;
}

constexpr std::string_view kDesignator = "AMPM";

}  // namespace

std::string LongTimeFormat(const RegionalSettings& settings) {
  std::string picture = settings.hour_leading_zero ? "hh:mm:ss" : "h:mm:ss";
  if (!settings.twelve_hour) return picture;
  return settings.designator_first ? std::string(kDesignator) + " " + picture : picture + " " + std::string(kDesignator);
}

std::string FormatDateTime(const std::string& picture, const RegionalSettings& settings, const LocalTime& time) {
  const bool twelve_hour = picture.find(kDesignator) != std::string::npos;
  std::string text;
  std::size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    // A two-byte character is text, even where its second byte looks like a letter code.
    if (IsGbkLeadByte(static_cast<unsigned char>(c)) && i + 1 < picture.size()) {
      text.append(picture, i, 2);
      i += 2;
      continue;
    }
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;

    if (c == '\'' || c == '"') {  // quoted text stands as it is
      const std::size_t end = picture.find(c, i + 1);
      text.append(picture, i + 1, (end == std::string::npos ? picture.size() : end) - i - 1);
      i = end == std::string::npos ? picture.size() : end + 1;
      continue;
    }
    if (picture.compare(i, kDesignator.size(), kDesignator) == 0) {
      text.append(time.hour < 12 ? settings.am : settings.pm);
      i += kDesignator.size();
      continue;
    }
    switch (c) {
      case 'y':
        text.append(run <= 2 ? Digits(time.year % 100, 2) : Digits(time.year, 4));
        break;
      case 'M':
        if (run >= 4) text.append(NameOr(settings.long_month_names[time.month - 1], time.month, 1));
        else if (run == 3) text.append(NameOr(settings.short_month_names[time.month - 1], time.month, 1));
        else text.append(Digits(time.month, static_cast<int>(run)));
        break;
      case 'd':
        if (run >= 4) text.append(NameOr(settings.long_day_names[time.day_of_week], time.day, 1));
        else if (run == 3) text.append(NameOr(settings.short_day_names[time.day_of_week], time.day, 1));
        else text.append(Digits(time.day, static_cast<int>(run)));
        break;
      case 'h':
      case 'H': {
        int hour = time.hour;
        if (twelve_hour) hour = hour % 12 == 0 ? 12 : hour % 12;
        text.append(Digits(hour, run >= 2 ? 2 : 1));
        break;
      }
      case 'm':
        text.append(Digits(time.minute, run >= 2 ? 2 : 1));
        break;
      case 's':
        text.append(Digits(time.second, run >= 2 ? 2 : 1));
        break;
      case '/':
        for (std::size_t n = 0; n < run; ++n) text.append(settings.date_separator);
        break;
      case ':':
        for (std::size_t n = 0; n < run; ++n) text.append(settings.time_separator);
        break;
      default:
        text.append(picture, i, run);
        break;
    }
    i += run;
  }
  return text;
}

std::string ClockText(const RegionalSettings& settings, const LocalTime& time) {
  return FormatDateTime(settings.short_date, settings, time) + " " +
         FormatDateTime(LongTimeFormat(settings), settings, time);
}

}  // namespace rtl
