#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Parsed formulas (BIFF8 token arrays) as the reader meets them.
namespace varnex::spreadsheet::xls {

// True when the tokens stand on their own: constants, operators, functions
// and references to cells of the same sheet. Those can be written back as
// they are; names, other sheets, arrays and shared parts cannot.
bool IsSelfContained(std::string_view tokens);

// A shared formula's tokens made into one cell's own: relative references
// (offsets from the cell) become references to the cells they reach.
// nullopt when the tokens are not self-contained once converted.
std::optional<std::string> ResolveShared(std::string_view tokens, std::int32_t row0, std::int32_t column0);

// The formula as text ("=SUM(A1:A3)*2"); "=" followed by a marker for
// tokens it cannot spell.
std::string FormulaText(std::string_view tokens);

}  // namespace varnex::spreadsheet::xls
