#include "spreadsheet_window/cell_text.h"

#include <charconv>
#include <cmath>
#include <algorithm>
#include <cstdio>

namespace varnex::spreadsheet_window {

using spreadsheet::CellKind;
using spreadsheet::CellValue;

namespace {

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
  long long y = 1900;
  unsigned m = 2, d = 29;  // serial 60, the 1900-02-29 the 1900 date system counts
  if (n != 60) {
    // Days since 1970-01-01; serials before 60 are one day later than 1899-12-30 + n.
    long long z = (n > 60 ? n - 25569 : n - 25568) + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<long long>(yoe) + era * 400 + (m <= 2);
  }
  char buffer[64];
  if (with_time && seconds != 0)
    std::snprintf(buffer, sizeof buffer, "%lld/%u/%u %lld:%02lld", y, m, d, seconds / 3600, seconds / 60 % 60);
  else
    std::snprintf(buffer, sizeof buffer, "%lld/%u/%u", y, m, d);
  return buffer;
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
  char buffer[64];
  if (format == "0") return std::snprintf(buffer, sizeof buffer, "%.0f", v), buffer;
  if (format == "0.00") return std::snprintf(buffer, sizeof buffer, "%.2f", v), buffer;
  if (format == "#,##0") return std::snprintf(buffer, sizeof buffer, "%.0f", v), Grouped(buffer);
  if (format == "#,##0.00") return std::snprintf(buffer, sizeof buffer, "%.2f", v), Grouped(buffer);
  if (format == "0%") return std::snprintf(buffer, sizeof buffer, "%.0f%%", v * 100), buffer;
  if (format == "0.00%") return std::snprintf(buffer, sizeof buffer, "%.2f%%", v * 100), buffer;
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
