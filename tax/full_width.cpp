#include "tax/full_width.h"

#include <cstdint>

namespace varnex {
namespace {

// Length of the UTF-8 sequence that starts with this byte; 1 for ASCII and
// for bytes that cannot start a sequence (they are copied as they are).
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The ASCII replacement for a code point, or 0 when it is copied unchanged.
char Folded(std::uint32_t cp) {
  if (cp >= 0xFF01 && cp <= 0xFF5D && cp != 0xFF04) return static_cast<char>(cp - 0xFF01 + 0x21);
  switch (cp) {
    case 0xFFE5: return '$';
    case 0xFFE3:
    case 0xFF5E: return '~';
    case 0x3000: return ' ';
    case 0x2605:
    case 0x2606: return '*';
    default: return 0;
  }
}

}  // namespace

std::string FoldFullWidth(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = SequenceLength(lead);
    if (length == 1) {
      out.push_back(utf8[i++]);
      continue;
    }
    std::size_t complete = 1;
    while (complete < length && i + complete < utf8.size() &&
           IsContinuation(static_cast<unsigned char>(utf8[i + complete])))
      ++complete;
    if (complete < length) {
      if (i + complete == utf8.size()) break;  // cut off at the end: dropped
      out.push_back(utf8[i++]);                // malformed: copied byte by byte
      continue;
    }
    std::uint32_t cp = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    if (const char ascii = Folded(cp))
      out.push_back(ascii);
    else
      out.append(utf8.substr(i, length));
    i += length;
  }
  return out;
}

}  // namespace varnex
