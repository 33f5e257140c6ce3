#pragma once
// The password scrambler: a byte-wise XOR with the high byte of a 16-bit key
// that is stirred by every scrambled byte, written as hexadecimal text.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/text.h"

namespace zel {

// A text that cannot be scrambled or unscrambled.
class CryptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Longest plain text the scrambler takes (and so the longest one a stored value
// may decode to): 255 bytes, 510 hexadecimal digits.
inline constexpr std::size_t kMaxScrambledBytes = 255;

// Scrambles an 8-bit text of at most 255 bytes into two upper-case hexadecimal
// digits per byte. A longer text throws CryptError.
std::string ScrambleToHex(std::string_view plain);

// The inverse of ScrambleToHex. An odd last digit is ignored; digits may be of
// either case. Throws CryptError, producing nothing, when a digit pair is not
// hexadecimal or when the text holds more than 255 pairs (the program never
// writes such a value, so it is taken for a damaged one).
std::string UnscrambleFromHex(std::string_view hex);

// A typed password as it is compared and stored: letters a-z become A-Z (no
// other character changes), then leading and trailing codes 0-32 go.
Text normalisePassword(std::string_view typed);

}  // namespace zel
