#include "core/crypt.h"

#include <cstdint>

namespace zel {
namespace {

constexpr uint16_t kKeyStart = 0x51E3;
constexpr uint16_t kMultiplier = 0x3E91;
constexpr uint16_t kAddend = 0x7D2F;

// The next key: the scrambled byte, never the plain one, feeds it, so both
// directions walk the same sequence.
uint16_t nextKey(uint16_t key, uint8_t scrambled) {
  // uint32_t keeps the product clear of signed-int promotion; the cast wraps.
  return static_cast<uint16_t>((uint32_t{static_cast<uint16_t>(key + scrambled)} * kMultiplier + kAddend) & 0xFFFFu);
}

int hexValue(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  return -1;
}

}  // namespace

std::string ScrambleToHex(std::string_view plain) {
  if (plain.size() > kMaxScrambledBytes)
    throw CryptError("text too long to scramble: " + std::to_string(plain.size()) + " bytes");
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(plain.size() * 2);
  uint16_t key = kKeyStart;
  for (char ch : plain) {
    const auto c = static_cast<uint8_t>(static_cast<uint8_t>(ch) ^ (key >> 8));
    hex.push_back(kDigits[c >> 4]);
    hex.push_back(kDigits[c & 0x0F]);
    key = nextKey(key, c);
  }
  return hex;
}

std::string UnscrambleFromHex(std::string_view hex) {
  const std::size_t pairs = hex.size() / 2;
  if (pairs > kMaxScrambledBytes)
    throw CryptError("scrambled value too long: " + std::to_string(hex.size()) + " digits");
  std::string plain;
  plain.reserve(pairs);
  uint16_t key = kKeyStart;
  for (std::size_t i = 0; i < pairs; ++i) {
    const int high = hexValue(hex[2 * i]);
    const int low = hexValue(hex[2 * i + 1]);
    if (high < 0 || low < 0)
      throw CryptError("not a hexadecimal pair at digit " + std::to_string(2 * i + 1));
    const auto c = static_cast<uint8_t>(high * 16 + low);
    plain.push_back(static_cast<char>(c ^ (key >> 8)));
    key = nextKey(key, c);
  }
  return plain;
}

Text normalisePassword(std::string_view typed) { return trim(upperAscii(typed)); }

}  // namespace zel
