#include "tax/full_width.h"

#include <gtest/gtest.h>

namespace varnex {
namespace {

struct FoldCase {
  const char* in;
  const char* out;
};

TEST(FoldFullWidth, FoldsTheFullWidthFormsAndCopiesTheRest) {
  const FoldCase cases[] = {
      {"", ""},
      {"abc 123", "abc 123"},
      {"１２３４．５", "1234.5"},
      {"！", "!"},            // U+FF01, first of the range
      {"｝", "}"},            // U+FF5D, last of the range
      {"＄", "＄"},           // U+FF04 is not folded
      {"￥100", "$100"},      // U+FFE5
      {"￣", "~"},            // U+FFE3
      {"～", "~"},            // U+FF5E
      {"　１２", " 12"},      // U+3000
      {"★☆", "**"},          // U+2605, U+2606
      {"ＡＢｚ＋－，", "ABz+-,"},
      {"工资１２", "工资12"},  // Chinese characters are copied
      {"｜", "|"},
  };
  for (const auto& c : cases) EXPECT_EQ(FoldFullWidth(c.in), c.out) << c.in;
}

TEST(FoldFullWidth, DropsAnIncompleteSequenceAtTheEndOnly) {
  EXPECT_EQ(FoldFullWidth("12\xEF\xBC"), "12");      // cut-off U+FF11
  EXPECT_EQ(FoldFullWidth("12\xE5"), "12");          // lone lead byte at the end
  EXPECT_EQ(FoldFullWidth("\xEF\xBC" "1"), "\xEF\xBC" "1");  // malformed inside: copied
  EXPECT_EQ(FoldFullWidth("\x80" "5"), "\x80" "5");   // stray continuation byte: copied
}

}  // namespace
}  // namespace varnex
