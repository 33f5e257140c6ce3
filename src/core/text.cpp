#include "core/text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace zel {
namespace {

// Code points of bytes 0x80..0x9F; the undefined ones keep their own number.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Decodes one UTF-8 sequence at s[i]; malformed input yields U+FFFD and
// advances by one byte, so a broken byte never swallows its neighbours.
char32_t nextUtf8(std::string_view s, size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  int extra = 0;
  char32_t cp = 0;
  if (b0 < 0x80) { ++i; return b0; }
  if ((b0 & 0xE0) == 0xC0) { extra = 1; cp = b0 & 0x1F; }
  else if ((b0 & 0xF0) == 0xE0) { extra = 2; cp = b0 & 0x0F; }
  else if ((b0 & 0xF8) == 0xF0) { extra = 3; cp = b0 & 0x07; }
  else { ++i; return 0xFFFD; }
  for (int k = 1; k <= extra; ++k) {
    if (i + k >= s.size()) { ++i; return 0xFFFD; }
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) { ++i; return 0xFFFD; }
    cp = (cp << 6) | (b & 0x3F);
  }
  i += extra + 1;
  return cp;
}

bool isTrimmed(unsigned char c) { return c <= 32; }

char foldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char32_t cp1252ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHigh[byte - 0x80];
  return byte;
}

int unicodeToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == cp) return 0x80 + i;
  return -1;
}

Text utf8ToCp1252(std::string_view utf8) {
  Text out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const int b = unicodeToCp1252(nextUtf8(utf8, i));
    out += b < 0 ? kUnmappable : static_cast<char>(b);
  }
  return out;
}

std::string cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  // Runs of ASCII, nearly all of any archive's text, are the same bytes in
  // both: they go over whole (a listing of 100,000 lines prints 15 MB).
  size_t at = 0;
  while (at < text.size()) {
    size_t end = at;
    while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80) ++end;
    out.append(text.data() + at, end - at);
    if (end == text.size()) break;
    appendUtf8(out, cp1252ToUnicode(static_cast<unsigned char>(text[end])));
    at = end + 1;
  }
  return out;
}

Text utf16ToCp1252(std::u16string_view s) {
  Text out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t cp = s[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    }
    const int b = unicodeToCp1252(cp);
    out += b < 0 ? kUnmappable : static_cast<char>(b);
  }
  return out;
}

std::u16string cp1252ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (unsigned char c : text) out += static_cast<char16_t>(cp1252ToUnicode(c));
  return out;
}

bool fitsCp1252(std::string_view utf8) {
  for (size_t i = 0; i < utf8.size();)
    if (unicodeToCp1252(nextUtf8(utf8, i)) < 0) return false;
  return true;
}

std::optional<Text> exactCp1252(std::u16string_view utf16) {
  if (!fitsCp1252(utf16)) return std::nullopt;
  return utf16ToCp1252(utf16);
}

bool fitsCp1252(std::u16string_view s) {
  for (const char16_t unit : s)
    if (unicodeToCp1252(unit) < 0) return false;  // surrogates included: no pair maps either
  return true;
}

std::string_view trimView(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && isTrimmed(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && isTrimmed(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

namespace {
bool isControl(char ch) {
  const char32_t cp = cp1252ToUnicode(static_cast<unsigned char>(ch));
  return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F);
}
}  // namespace

bool hasControlCharacter(std::string_view text) {
  for (const char ch : text)
    if (isControl(ch)) return true;
  return false;
}

Text blankControlCharacters(std::string_view text) {
  Text out(text);
  for (char& ch : out)
    if (isControl(ch)) ch = ' ';
  return out;
}

namespace {

// Whether any of eight bytes is not printable ASCII (0x20 to 0x7E): at or
// above 0x80, below 0x20, or 0x7F. The usual tests for a byte below a bound
// and for a zero byte, exact as a yes or no.
bool anyUnprintable(uint64_t x) {
  constexpr uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
  const uint64_t below = (x - 0x20 * kOnes) & ~x & kHigh;
  const uint64_t del = x ^ (0x7F * kOnes);
  return ((x & kHigh) | below | ((del - kOnes) & ~del & kHigh)) != 0;
}

// Every byte as printed: its UTF-8 bytes (a blank for a control character)
// and how many there are, laid out four bytes to an entry so that one copy
// of four bytes writes any of them.
struct PrintedBytes {
  char bytes[256][4];
  uint8_t length[256];
};

PrintedBytes makePrintedBytes() {
  PrintedBytes t{};
  for (int b = 0; b < 256; ++b) {
    std::string utf8;
    if (isControl(static_cast<char>(b))) utf8 = " ";
    else appendUtf8(utf8, cp1252ToUnicode(static_cast<unsigned char>(b)));
    std::memcpy(t.bytes[b], utf8.data(), utf8.size());
    t.length[b] = static_cast<uint8_t>(utf8.size());
  }
  return t;
}

const PrintedBytes& printedBytes() {
  static const PrintedBytes table = makePrintedBytes();
  return table;
}

}  // namespace

char* writePrintableUtf8(char* out, std::string_view text) {
  const char* in = text.data();
  const char* const end = in + text.size();
  const PrintedBytes& printed = printedBytes();
  uint64_t eight = 0;
  while (in < end) {
    // Eight printable ASCII bytes (the padded columns of a listing's lines)
    // go over as they are; anything else byte by byte from the table.
    if (end - in >= 8) {
      std::memcpy(&eight, in, 8);
      if (!anyUnprintable(eight)) {
        std::memcpy(out, in, 8);
        in += 8;
        out += 8;
        continue;
      }
    }
    const auto b = static_cast<unsigned char>(*in++);
    std::memcpy(out, printed.bytes[b], 4);
    out += printed.length[b];
  }
  return out;
}

Text trim(std::string_view s) { return Text(trimView(s)); }

Text upperAscii(std::string_view s) {
  Text out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

Text lowerAscii(std::string_view s) {
  Text out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool containsFolded(std::string_view haystack, std::string_view key) {
  return containsLowered(haystack, lowerAscii(key));
}

bool containsLowered(std::string_view haystack, std::string_view key) {
  if (key.size() > haystack.size()) return false;
  const size_t last = haystack.size() - key.size();
  for (size_t i = 0; i <= last; ++i) {
    size_t j = 0;
    while (j < key.size() && foldAscii(haystack[i + j]) == key[j]) ++j;
    if (j == key.size()) return true;
  }
  return false;
}

size_t sameBytesUntil(std::string_view a, std::string_view b, size_t from, size_t end) {
  size_t i = from;
  for (uint64_t x, y; i + 8 <= end; i += 8) {
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y) break;
  }
  return i;
}

bool lessFolded(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  // Bytes equal as they are are equal folded.
  for (size_t i = sameBytesUntil(a, b, 0, n); i < n; ++i) {
    const auto x = static_cast<unsigned char>(foldAscii(a[i]));
    const auto y = static_cast<unsigned char>(foldAscii(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

bool isDigitsOnly(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

namespace {

Text withLineBreaks(std::string_view s, std::string_view lineBreak) {
  Text out;
  out.reserve(s.size() + s.size() / 8);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' || s[i] == '\n') {
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      out += lineBreak;
    } else {
      out += s[i];
    }
  }
  return out;
}

}  // namespace

Text storedLineBreaks(std::string_view shown) { return withLineBreaks(shown, "\r\n"); }
Text shownLineBreaks(std::string_view stored) { return withLineBreaks(stored, "\n"); }

size_t fittingLength(std::u16string_view shown, size_t capacity) {
  size_t bytes = 0, i = 0;
  while (i < shown.size()) {
    const size_t cost = shown[i] == u'\n' ? 2 : 1;
    if (bytes + cost > capacity) break;
    bytes += cost;
    const bool pair = shown[i] >= 0xD800 && shown[i] <= 0xDBFF && i + 1 < shown.size() &&
                      shown[i + 1] >= 0xDC00 && shown[i + 1] <= 0xDFFF;
    i += pair ? 2 : 1;
  }
  return i;
}

}  // namespace zel
