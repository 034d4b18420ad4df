#pragma once

#include <string>
#include <string_view>

namespace varnex {

// Folds the full-width forms a Chinese keyboard produces onto ASCII before a
// text is read as a number: U+FF01..U+FF5D (but U+FF04) become U+0021..U+007D,
// U+FFE5 becomes "$", U+FFE3 and U+FF5E "~", U+3000 a blank, U+2605 and U+2606
// "*". Everything else is copied; an incomplete UTF-8 sequence at the very
// end of the text is dropped.
std::string FoldFullWidth(std::string_view utf8);

}  // namespace varnex
