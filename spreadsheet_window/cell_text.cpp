#include "spreadsheet_window/cell_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "spreadsheet/text_entry.h"

namespace varnex::spreadsheet_window {

using spreadsheet::CellKind;
using spreadsheet::CellValue;

namespace {

template <typename... Args>
std::string Printf(const char* format, Args... args) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

std::string General(double v) {
  if (v == 0) return "0";
  // As many significant digits as fit eleven characters.
  for (int digits = 10; digits >= 1; --digits) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, digits).ptr;
    std::string text(buffer, end);
    for (char& c : text)
      if (c == 'e') c = 'E';
    if (text.size() <= 11) return text;
  }
  return "#";
}

std::string Grouped(const std::string& digits) {
  const bool negative = !digits.empty() && digits[0] == '-';
  const std::size_t begin = negative ? 1 : 0;
  const std::size_t point = std::min(digits.find('.'), digits.size());
  std::string out = negative ? "-" : "";
  for (std::size_t i = begin; i < point; ++i) {
    if (i > begin && (point - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
  out.append(digits, point, std::string::npos);
  return out;
}

std::string Date(double serial, bool with_time) {
  const long long n = static_cast<long long>(std::floor(serial));
  const long long seconds = std::llround((serial - static_cast<double>(n)) * 86400.0);
  const spreadsheet::CalendarDate d = spreadsheet::DateOfSerial(n);
  if (with_time && seconds != 0)
    return Printf("%lld/%u/%u %lld:%02lld", d.year, d.month, d.day, seconds / 3600, seconds / 60 % 60);
  return Printf("%lld/%u/%u", d.year, d.month, d.day);
}

}  // namespace

std::string ShownText(const CellValue& value, const std::string& format) {
  switch (value.kind) {
    case CellKind::kEmpty: return {};
    case CellKind::kText: return value.text;
    case CellKind::kBoolean: return value.number != 0 ? "TRUE" : "FALSE";
    case CellKind::kError: return spreadsheet::ErrorText(static_cast<std::int32_t>(value.number));
    case CellKind::kDate: return Date(value.number, format.find('h') != std::string::npos);
    case CellKind::kNumber: break;
  }
  const double v = value.number;
  if (format == "0") return Printf("%.0f", v);
  if (format == "0.00") return Printf("%.2f", v);
  if (format == "#,##0") return Grouped(Printf("%.0f", v));
  if (format == "#,##0.00") return Grouped(Printf("%.2f", v));
  if (format == "0%") return Printf("%.0f%%", v * 100);
  if (format == "0.00%") return Printf("%.2f%%", v * 100);
  return General(v);
}

std::string EditText(const CellValue& value, const std::string* formula) {
  if (formula) return *formula;
  if (value.kind == CellKind::kNumber) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value.number).ptr;
    return std::string(buffer, end);
  }
  return ShownText(value, "General");
}

}  // namespace varnex::spreadsheet_window
