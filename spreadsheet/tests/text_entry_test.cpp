#include "spreadsheet/text_entry.h"

#include <gtest/gtest.h>

namespace varnex::spreadsheet {
namespace {

TEST(TextEntry, StoresWhatIsTypedAsASpreadsheetDoes) {
  EXPECT_EQ(ParseEntry("745").value, CellValue::Number(745));
  EXPECT_EQ(ParseEntry("1,234.5").value, CellValue::Number(1234.5));
  EXPECT_EQ(ParseEntry("50%").value, CellValue::Number(0.5));
  EXPECT_EQ(ParseEntry("true").value, CellValue::Boolean(true));
  EXPECT_EQ(ParseEntry("#N/A").value, CellValue::Error(kErrorNA));
  EXPECT_EQ(ParseEntry("2024/1/5").value, CellValue::Date(45296));
  EXPECT_EQ(ParseEntry("'123").value, CellValue::Text("123"));
  EXPECT_EQ(ParseEntry("&H1A").value, CellValue::Text("&H1A"));
  EXPECT_EQ(ParseEntry("工资").value, CellValue::Text("工资"));
  EXPECT_EQ(ParseEntry("=A1*2").formula, "=A1*2");
  EXPECT_EQ(ParseEntry("").value, CellValue{});
}

TEST(TextEntry, SerialsAndDatesAreInverse) {
  for (long long n = 1; n <= 2958465; n += (n < 100 ? 1 : 97)) {
    if (n == 60) continue;  // the 1900-02-29 that never was
    const CalendarDate d = DateOfSerial(n);
    EXPECT_EQ(DateSerial(static_cast<int>(d.year), static_cast<int>(d.month), static_cast<int>(d.day)),
              static_cast<double>(n))
        << n;
  }
  const CalendarDate phantom = DateOfSerial(60);
  EXPECT_EQ(phantom.month, 2u);
  EXPECT_EQ(phantom.day, 29u);
  const CalendarDate first = DateOfSerial(1);
  EXPECT_EQ(first.year, 1900);
  EXPECT_EQ(first.day, 1u);
}

}  // namespace
}  // namespace varnex::spreadsheet
