// Cutting GBK text to a byte limit.
#include "rtl/gbk.h"

#include <gtest/gtest.h>

namespace {

TEST(Gbk, CutKeepsWholeCharactersWithinTheLimit) {
  const struct {
    const char* text;
    std::size_t limit;
    const char* kept;
  } cases[] = {
      {"abcdef", 4, "abcd"},
      {"ab", 63, "ab"},
      {"提示", 4, "提示"},
      {"提示", 3, "提"},   // the second character would be split: it goes whole
      {"a提示", 4, "a提"},
      {"a提示", 5, "a提示"},
      {"", 0, ""},
      {"\x81", 5, "\x81"},  // a lone lead byte at the end counts as one byte
  };
  for (const auto& c : cases) EXPECT_EQ(rtl::CutToWholeChars(c.text, c.limit), c.kept) << c.limit;
}

}  // namespace
