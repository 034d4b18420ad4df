#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "spreadsheet/palette.h"

namespace varnex::spreadsheet {

enum class CellKind : std::uint8_t { kEmpty, kNumber, kText, kBoolean, kError, kDate };

// Excel's error values, as their CVErr numbers (#N/A is 2042).
inline constexpr std::int32_t kErrorNull = 2000;
inline constexpr std::int32_t kErrorDivZero = 2007;
inline constexpr std::int32_t kErrorValue = 2015;
inline constexpr std::int32_t kErrorRef = 2023;
inline constexpr std::int32_t kErrorName = 2029;
inline constexpr std::int32_t kErrorNum = 2036;
inline constexpr std::int32_t kErrorNA = 2042;

// A cell's value as it goes in and out of a sheet. Booleans are 0 or 1 in
// `number`; error values carry their CVErr number; dates their serial.
struct CellValue {
  CellKind kind = CellKind::kEmpty;
  double number = 0;
  std::string text;

  static CellValue Number(double n) { return {CellKind::kNumber, n, {}}; }
  static CellValue Text(std::string t) { return {CellKind::kText, 0, std::move(t)}; }
  static CellValue Boolean(bool b) { return {CellKind::kBoolean, b ? 1.0 : 0.0, {}}; }
  static CellValue Error(std::int32_t code) { return {CellKind::kError, static_cast<double>(code), {}}; }
  static CellValue Date(double serial) { return {CellKind::kDate, serial, {}}; }
  friend bool operator==(const CellValue&, const CellValue&) = default;
};

// The text Excel shows for an error value ("#N/A"), empty for others.
std::string ErrorText(std::int32_t code);

// Excel constants the formats keep.
inline constexpr std::int32_t kLineStyleNone = -4142;
inline constexpr std::int32_t kLineStyleContinuous = 1;
inline constexpr std::int32_t kBorderThin = 2;
inline constexpr std::int32_t kAlignGeneral = 1;
inline constexpr std::int32_t kAlignLeft = -4131;
inline constexpr std::int32_t kAlignCenter = -4108;
inline constexpr std::int32_t kAlignRight = -4152;

struct Font {
  std::string name = "宋体";
  double size = 11;
  Rgb color = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  friend bool operator==(const Font&, const Font&) = default;
};

struct Border {
  std::int32_t line_style = kLineStyleNone;
  std::int32_t weight = kBorderThin;
  Rgb color = 0;
  friend bool operator==(const Border&, const Border&) = default;
};

enum Edge : std::size_t { kLeft, kTop, kRight, kBottom };

// Everything a cell shows besides its value. Shared through the workbook's
// format table; cells keep only an index into it.
struct CellFormat {
  std::int32_t fill_index = kColorIndexNone;
  Font font;
  std::array<Border, 4> borders;
  std::int32_t horizontal_alignment = kAlignGeneral;
  std::string number_format = "General";
  friend bool operator==(const CellFormat&, const CellFormat&) = default;
};

}  // namespace varnex::spreadsheet
