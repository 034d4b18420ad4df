#include "spreadsheet/xls/number_formats.h"

#include <map>

namespace varnex::spreadsheet::xls {
namespace {

const std::map<std::uint16_t, std::string>& BuiltIns() {
  static const std::map<std::uint16_t, std::string> formats = {
      {0, "General"},        {1, "0"},           {2, "0.00"},         {3, "#,##0"},
      {4, "#,##0.00"},       {9, "0%"},          {10, "0.00%"},       {11, "0.00E+00"},
      {12, "# ?/?"},         {13, "# ?\?/??"},   {14, "yyyy/m/d"},    {15, "d-mmm-yy"},
      {16, "d-mmm"},         {17, "mmm-yy"},     {18, "h:mm AM/PM"},  {19, "h:mm:ss AM/PM"},
      {20, "h:mm"},          {21, "h:mm:ss"},    {22, "yyyy/m/d h:mm"}, {37, "#,##0 ;(#,##0)"},
      {38, "#,##0 ;[Red](#,##0)"}, {39, "#,##0.00;(#,##0.00)"}, {40, "#,##0.00;[Red](#,##0.00)"},
      {45, "mm:ss"},         {46, "[h]:mm:ss"},  {47, "mm:ss.0"},     {48, "##0.0E+0"},
      {49, "@"},
  };
  return formats;
}

}  // namespace

std::string BuiltInFormat(std::uint16_t id) {
  const auto it = BuiltIns().find(id);
  return it == BuiltIns().end() ? std::string() : it->second;
}

int BuiltInId(const std::string& format) {
  for (const auto& [id, text] : BuiltIns())
    if (text == format) return id;
  return -1;
}

bool IsDateFormat(std::uint16_t id, const std::string& format) {
  // 14-22 and 45-47 are dates and times everywhere; 27-36 and 50-58 are
  // the East Asian date formats.
  if ((id >= 14 && id <= 22) || (id >= 45 && id <= 47) || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
    return true;
  if (id < 164 && BuiltInFormat(id) == format) return false;
  // A custom format is a date when it has date or time codes outside
  // quotes, brackets (other than [h], [m], [s]) and escapes.
  bool quoted = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (quoted) {
      quoted = c != '"';
      continue;
    }
    if (c == '"') quoted = true;
    else if (c == '\\' || c == '_' || c == '*') ++i;
    else if (c == '[') {
      const std::size_t close = format.find(']', i);
      if (close == std::string::npos) return false;
      const std::string inside = format.substr(i + 1, close - i - 1);
      if (inside == "h" || inside == "hh" || inside == "m" || inside == "mm" || inside == "s" || inside == "ss")
        return true;
      i = close;
    } else if (c == 'y' || c == 'Y' || c == 'd' || c == 'D' || c == 'h' || c == 'H' || c == 's' || c == 'S' ||
               c == 'm' || c == 'M') {
      return true;
    } else if (c == ';') {
      break;  // the first section decides
    }
  }
  return false;
}

}  // namespace varnex::spreadsheet::xls
