// Conversions between UTF-8, UTF-16 and code points for the host side.
//
// Malformed input never stops a conversion: each byte or unit that cannot be
// part of a valid character becomes U+FFFD, so a user sees where the damage
// is and the rest of the text survives.
#ifndef TESSARY_HOST_UTF_H
#define TESSARY_HOST_UTF_H

#include <cstddef>
#include <string>
#include <string_view>

namespace hostutf {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes UTF-8. Overlong forms, encoded surrogates, values above U+10FFFF
// and truncated sequences yield one U+FFFD per offending byte.
std::u32string decodeUtf8(std::string_view bytes);

// Decodes UTF-16; a surrogate without its partner yields U+FFFD.
std::u32string decodeUtf16(std::u16string_view units);

// Writes the UTF-8 form of one code point (1 to 4 bytes) to out and returns
// its length. Surrogates and values above U+10FFFF are written as U+FFFD.
std::size_t encodeUtf8(char32_t cp, char out[4]);

void appendUtf8(std::string& out, char32_t cp);
void appendUtf16(std::u16string& out, char32_t cp);

std::string toUtf8(std::u32string_view cps);
std::string toUtf8(std::u16string_view units);
std::u16string toUtf16(std::u32string_view cps);
std::u16string toUtf16(std::string_view utf8);

}  // namespace hostutf

#endif
