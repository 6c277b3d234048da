// The repair batch's bytes and the repair's log lines.
#include "rtl/repair_script.h"

#include <gtest/gtest.h>

#include "rtl/text.h"

namespace {

TEST(RepairScript, SavedFormIsTheEightLinesWithCrLfIn114Bytes) {
  const std::string text = rtl::JoinLinesCrLf(std::span<const std::string_view>(rtl::RepairScript));
  EXPECT_EQ(text,
            "cd\\\r\nipconfig/release\r\nipconfig/renew\r\nipconfig/flushdns\r\n"
            "ipconfig /registerdns\r\narp -d\r\nNbtstat -R\r\nNbtstat -RR\r\n");
  EXPECT_EQ(text.size(), 114u);
}

TEST(RepairScript, LogLinesAreGbkWithAsciiFullStops) {
  // 23 and 17 bytes in code page 936: two bytes per Chinese character, one for the stop.
  EXPECT_EQ(rtl::RepairWaitLine.size(), 23u);
  EXPECT_EQ(rtl::RepairSuccessLine.size(), 17u);
  EXPECT_EQ(rtl::RepairFailureLine.size(), 17u);
  EXPECT_EQ(rtl::RepairWaitLine.substr(0, 2), "\xC7\xEB");  // 请
  EXPECT_EQ(rtl::RepairSuccessLine.back(), '.');
}

}  // namespace
