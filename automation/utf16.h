#pragma once

#include <string>
#include <string_view>

// Automation strings are UTF-16; the rest of the program keeps UTF-8.
namespace varnex::automation {

// Malformed UTF-8 bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

// Appends one code point in UTF-8.
void AppendUtf8(std::string& out, char32_t code_point);

// Unpaired surrogates become "?", as the platform's wide-to-ANSI conversion
// writes its default character for what it cannot map.
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace varnex::automation
