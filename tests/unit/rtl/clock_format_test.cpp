// The clock text composed from regional settings.
#include "rtl/clock_format.h"

#include <gtest/gtest.h>

namespace {

rtl::RegionalSettings ChineseDefaults() {
  rtl::RegionalSettings s;
  s.short_date = "yyyy/M/d";
  s.am = "上午";
  s.pm = "下午";
  return s;
}

TEST(ClockFormat, ClockTextFollowsTheRegionalSettings) {
  const rtl::LocalTime afternoon{2026, 12, 11, 5, 14, 7, 9};
  const rtl::LocalTime midnight{2027, 1, 1, 5, 0, 0, 0};
  const rtl::LocalTime noon{2026, 6, 30, 2, 12, 0, 5};
  const rtl::LocalTime morning{2026, 3, 4, 3, 9, 5, 3};

  auto with = [](auto change) {
    rtl::RegionalSettings s = ChineseDefaults();
    change(s);
    return s;
  };
  const rtl::RegionalSettings h24 = ChineseDefaults();
  const rtl::RegionalSettings h24_zero = with([](auto& s) { s.hour_leading_zero = true; });
  const rtl::RegionalSettings h12_after = with([](auto& s) { s.twelve_hour = true; s.am = "AM"; s.pm = "PM"; });
  const rtl::RegionalSettings h12_before = with([](auto& s) { s.twelve_hour = true; s.designator_first = true; });
  const rtl::RegionalSettings dotted = with([](auto& s) {
    s.short_date = "dd/MM/yy";
    s.date_separator = ".";
    s.time_separator = ".";
    s.hour_leading_zero = true;
  });
  // "\x81\x64" is one character whose second byte is the letter d.
  const rtl::RegionalSettings chinese_text = with([](auto& s) { s.short_date = "yyyy年M月d日\x81\x64"; });
  const rtl::RegionalSettings named = with([](auto& s) {
    s.short_date = "ddd d MMM yyyy 'de' dddd";
    s.short_day_names[5] = "Fri";
    s.long_day_names[5] = "Friday";
    s.short_month_names[11] = "Dec";
  });

  const struct {
    const char* name;
    const rtl::RegionalSettings& settings;
    rtl::LocalTime time;
    const char* text;
  } cases[] = {
      {"24-hour", h24, afternoon, "2026/12/11 14:07:09"},
      {"24-hour, one-digit hour", h24, morning, "2026/3/4 9:05:03"},
      {"24-hour with leading zero", h24_zero, morning, "2026/3/4 09:05:03"},
      {"24-hour midnight", h24, midnight, "2027/1/1 0:00:00"},
      {"12-hour, designator after", h12_after, afternoon, "2026/12/11 2:07:09 PM"},
      {"12-hour midnight is 12 AM", h12_after, midnight, "2027/1/1 12:00:00 AM"},
      {"12-hour noon is 12 PM", h12_after, noon, "2026/6/30 12:00:05 PM"},
      {"12-hour, designator before", h12_before, morning, "2026/3/4 上午 9:05:03"},
      {"other separators", dotted, afternoon, "11.12.26 14.07.09"},
      {"unquoted two-byte characters", chinese_text, morning, "2026年3月4日\x81\x64 9:05:03"},
      {"names and quoted text", named, afternoon, "Fri 11 Dec 2026 de Friday 14:07:09"},
  };
  for (const auto& c : cases) EXPECT_EQ(rtl::ClockText(c.settings, c.time), c.text) << c.name;
}

TEST(ClockFormat, LongTimePictureIsComposedNotCopied) {
  rtl::RegionalSettings s;
  EXPECT_EQ(rtl::LongTimeFormat(s), "h:mm:ss");
  s.hour_leading_zero = true;
  s.twelve_hour = true;
  EXPECT_EQ(rtl::LongTimeFormat(s), "hh:mm:ss AMPM");
  s.designator_first = true;
  EXPECT_EQ(rtl::LongTimeFormat(s), "AMPM hh:mm:ss");
}

}  // namespace
