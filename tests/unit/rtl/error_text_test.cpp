// The error texts and the error display's closing full stop.
#include "rtl/error_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorText, MessagesCarryTheirValuesInPlace) {
  EXPECT_EQ(rtl::CannotCreateFileText("C:\\a b\\R.bat", "Access denied"),
            "Cannot create file \"C:\\a b\\R.bat\". Access denied");
  EXPECT_EQ(rtl::InvalidIntegerText("7 "), "'7 ' is not a valid integer value");
  EXPECT_EQ(rtl::StreamWriteErrorText, "Stream write error");
}

TEST(ErrorText, FullStopIsAddedOnlyAfterCharactersThatSortAfterIt) {
  const struct {
    const char* message;
    const char* shown;
  } cases[] = {
      {"", ""},
      {"Stream write error", "Stream write error."},
      {"done.", "done."},
      {"quoted \"x\"", "quoted \"x\""},  // '"' sorts before '.'
      {"why!", "why!"},
      {"(paren)", "(paren)"},
      {"1/2", "1/2."},                    // '/' sorts right after '.'
      {"拒绝访问", "拒绝访问."},           // a two-byte character sorts after it
  };
  for (const auto& c : cases) EXPECT_EQ(rtl::WithClosingFullStop(c.message), c.shown) << c.message;
}

TEST(ErrorText, SystemMessageLosesTrailingBlanksControlsAndFullStops) {
  const struct {
    const char* raw;
    const char* trimmed;
  } cases[] = {
      {"Access is denied.\r\n", "Access is denied"},
      {"The process cannot access the file. . \r\n", "The process cannot access the file"},
      {"拒绝访问。\r\n", "拒绝访问"},
      {"\t \r\n", ""},
      {"v1.0 ok", "v1.0 ok"},
      // "\xA1\xA3" is the ideographic stop only where it is a whole character.
      {"\xB0\xA1\xA3", "\xB0\xA1\xA3"},
  };
  for (const auto& c : cases) EXPECT_EQ(rtl::TrimSystemMessage(c.raw), c.trimmed) << c.raw;
}

}  // namespace
