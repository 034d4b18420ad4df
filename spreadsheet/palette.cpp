#include "spreadsheet/palette.h"

namespace varnex::spreadsheet {

const Palette& Palette::Default() {
  // Excel's default palette: 2 is white, 6 yellow.
  static const Palette palette{{
      0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
      0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
      0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
      0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
      0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
      0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
      0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
  }};
  return palette;
}

Rgb Palette::ColorOf(std::int32_t index) const {
  if (index < 1 || index > 56) return 0;
  return colors[static_cast<std::size_t>(index - 1)];
}

std::int32_t Palette::NearestIndex(Rgb color) const {
  std::int32_t best = 1;
  long best_distance = -1;
  for (std::size_t i = 0; i < colors.size(); ++i) {
    const long dr = static_cast<long>((colors[i] >> 16) & 0xFF) - static_cast<long>((color >> 16) & 0xFF);
    const long dg = static_cast<long>((colors[i] >> 8) & 0xFF) - static_cast<long>((color >> 8) & 0xFF);
    const long db = static_cast<long>(colors[i] & 0xFF) - static_cast<long>(color & 0xFF);
    const long distance = dr * dr + dg * dg + db * db;
    if (best_distance < 0 || distance < best_distance) {
      best_distance = distance;
      best = static_cast<std::int32_t>(i + 1);
    }
  }
  return best;
}

}  // namespace varnex::spreadsheet
