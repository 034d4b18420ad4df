#pragma once

#include <cstdint>
#include <string>

namespace varnex::spreadsheet::xls {

// The format string of a built-in number format id; empty when unknown.
std::string BuiltInFormat(std::uint16_t id);
// The built-in id of a format string, or -1 when it is a custom one.
int BuiltInId(const std::string& format);
// Whether numbers shown in this format are dates or times.
bool IsDateFormat(std::uint16_t id, const std::string& format);

}  // namespace varnex::spreadsheet::xls
