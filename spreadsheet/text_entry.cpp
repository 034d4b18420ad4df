#include "spreadsheet/text_entry.h"

#include <cstdio>

#include "automation/coerce.h"
#include "automation/user_locale.h"
#include "automation/utf16.h"

namespace varnex::spreadsheet {
namespace {

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return out;
}

long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

std::optional<double> ParseDate(std::string_view text) {
  int y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0;
  char sep1 = 0, sep2 = 0;
  int consumed = 0;
  const std::string s(text);
  if (std::sscanf(s.c_str(), "%4d%c%2d%c%2d%n", &y, &sep1, &m, &sep2, &d, &consumed) != 5) return std::nullopt;
  if (sep1 != sep2 || (sep1 != '/' && sep1 != '-') || y < 1900) return std::nullopt;
  std::string_view rest = std::string_view(s).substr(static_cast<std::size_t>(consumed));
  double time = 0;
  if (!rest.empty()) {
    int used = 0;
    const std::string r(rest);
    const int got = std::sscanf(r.c_str(), " %2d:%2d%n:%2d%n", &hh, &mm, &used, &ss, &used);
    if (got < 2 || static_cast<std::size_t>(used) != r.size() || hh > 23 || mm > 59 || ss > 59)
      return std::nullopt;
    time = (hh * 3600 + mm * 60 + ss) / 86400.0;
  }
  const auto serial = DateSerial(y, m, d);
  if (!serial) return std::nullopt;
  return *serial + time;
}

}  // namespace

std::optional<double> DateSerial(int year, int month, int day) {
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1])
    return std::nullopt;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (month == 2 && day == 29 && !leap) return std::nullopt;
  // Days since 1899-12-30; serials from 1900-03-01 on count the phantom leap day.
  const long long days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                         DaysFromCivil(1899, 12, 30);
  return static_cast<double>(days < 61 ? days - 1 : days);
}

CalendarDate DateOfSerial(long long n) {
  if (n == 60) return {1900, 2, 29};
  // Days since 0000-03-01; serials before 60 are one day later than 1899-12-30 + n.
  const long long z = (n > 60 ? n - 25569 : n - 25568) + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<long long>(yoe) + era * 400 + (month <= 2), month, doy - (153 * mp + 2) / 5 + 1};
}

Entry ParseEntry(std::string_view text) {
  if (text.empty()) return {};
  if (text[0] == '\'') return {CellValue::Text(std::string(text.substr(1))), std::nullopt};
  if (text[0] == '=' && text.size() > 1) return {CellValue{}, std::string(text)};

  const std::string upper = Upper(text);
  if (upper == "TRUE") return {CellValue::Boolean(true), std::nullopt};
  if (upper == "FALSE") return {CellValue::Boolean(false), std::nullopt};
  for (std::int32_t code : {kErrorNull, kErrorDivZero, kErrorValue, kErrorRef, kErrorName, kErrorNum, kErrorNA})
    if (upper == ErrorText(code)) return {CellValue::Error(code), std::nullopt};

  std::u16string wide = automation::Utf8ToUtf16(text);
  bool percent = false;
  while (!wide.empty() && wide.back() == u' ') wide.pop_back();
  if (!wide.empty() && wide.back() == u'%') {
    percent = true;
    wide.pop_back();
  }
  double number = 0;
  if (automation::Succeeded(automation::ParseNumber(wide, automation::UserDefaultLcid(), &number)) &&
      wide.find(u"&") == std::u16string::npos)
    return {CellValue::Number(percent ? number / 100 : number), std::nullopt};

  if (const auto date = ParseDate(text)) return {CellValue::Date(*date), std::nullopt};
  return {CellValue::Text(std::string(text)), std::nullopt};
}

}  // namespace varnex::spreadsheet
