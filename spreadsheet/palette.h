#pragma once

#include <array>
#include <cstdint>

namespace varnex::spreadsheet {

// Colours are 0xRRGGBB here; Excel's Color property is BGR (red lowest).
using Rgb = std::uint32_t;

inline constexpr std::int32_t kColorIndexNone = -4142;       // xlColorIndexNone
inline constexpr std::int32_t kColorIndexAutomatic = -4105;  // xlColorIndexAutomatic

// The 56 colour indices of a workbook; a file may bring its own.
struct Palette {
  std::array<Rgb, 56> colors;

  static const Palette& Default();
  // Index 1..56; other indices give black.
  Rgb ColorOf(std::int32_t index) const;
  // The index of the nearest palette colour.
  std::int32_t NearestIndex(Rgb color) const;
  friend bool operator==(const Palette&, const Palette&) = default;
};

inline std::int32_t RgbToBgr(Rgb rgb) {
  return static_cast<std::int32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}
inline Rgb BgrToRgb(std::int32_t bgr) { return static_cast<Rgb>(RgbToBgr(static_cast<Rgb>(bgr))); }

}  // namespace varnex::spreadsheet
