#pragma once
// Text as the record files hold it: one byte per character, Windows-1252.
// Inside the core a "Text" is a std::string of Windows-1252 bytes; conversion
// to and from Unicode (UTF-8 or UTF-16) happens only at the edges.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

using Text = std::string;  // Windows-1252 bytes

// The replacement written for a character that Windows-1252 cannot hold.
inline constexpr char kUnmappable = '?';

// Unicode code point of a Windows-1252 byte. Every byte maps to a distinct code
// point; the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to the C1 control characters of the same number, so the mapping is
// lossless in both directions.
char32_t cp1252ToUnicode(unsigned char byte);
// The byte for a code point, or -1 when Windows-1252 cannot hold it.
int unicodeToCp1252(char32_t cp);

// Appends the UTF-8 bytes of a code point.
void appendUtf8(std::string& out, char32_t cp);
Text utf8ToCp1252(std::string_view utf8);   // unmappable characters become '?'
std::string cp1252ToUtf8(std::string_view text);
Text utf16ToCp1252(std::u16string_view utf16);
std::u16string cp1252ToUtf16(std::string_view text);
// The Windows-1252 form of a window's text (UTF-16), or nothing when a
// character has none: where a text is compared rather than stored (a
// password), a '?' would make different texts equal.
std::optional<Text> exactCp1252(std::u16string_view utf16);
// True when every character of the UTF-8 text has a Windows-1252 byte.
bool fitsCp1252(std::string_view utf8);
// The same for UTF-16 text (a window's); a lone surrogate fits nowhere.
bool fitsCp1252(std::u16string_view utf16);

// True when the text holds a control character, which no keyboard types into
// an entry field: codes 0 to 31, 127, and the undefined Windows-1252 bytes
// (0x81, 0x8D, 0x8F, 0x90, 0x9D), which stand for C1 control characters.
bool hasControlCharacter(std::string_view text);

// The text with every control character (as hasControlCharacter counts them)
// turned into a blank: how a result list shows a line of a damaged record
// (a NUL takes the room of one character and shows nothing), and how a line
// is printed as text.
Text blankControlCharacters(std::string_view text);
// Writes the text as printed at `out`: control characters blanked, then
// UTF-8, the same as cp1252ToUtf8(blankControlCharacters(text)) without a
// string of its own for each line (a listing prints many lines into one
// buffer). `out` must have room for kMostPrintedPerByte bytes for each
// byte of the text and one more; returns the end of what was written.
inline constexpr size_t kMostPrintedPerByte = 3;
char* writePrintableUtf8(char* out, std::string_view text);

// Removes leading and trailing characters with codes 0 to 32.
Text trim(std::string_view s);
// The same as a view into `s`, for loops that must not allocate.
std::string_view trimView(std::string_view s);
// Only ASCII letters change case; accented letters stay as they are.
Text upperAscii(std::string_view s);
Text lowerAscii(std::string_view s);
// Key looked for as a contiguous substring, both sides lower-cased (ASCII).
bool containsFolded(std::string_view haystack, std::string_view key);
// The same with a key already lower-cased; the haystack is folded on the fly,
// so a search over many records allocates nothing. An empty key is found.
bool containsLowered(std::string_view haystack, std::string_view loweredKey);
// The order of every sorted result list: byte by byte (Windows-1252 codes)
// with A-Z taken as a-z; texts equal that way are ordered by their bytes, so
// the order is total and does not depend on the order of insertion
// ("ROSSI" < "Rossi" < "rossi" < "rossini"; accented letters after z).
bool lessFolded(std::string_view a, std::string_view b);
// The first place from `from` on (before `end`, which neither text may be
// shorter than) where the two texts may differ: the bytes before it are the
// same, compared eight at a time. Long runs that lines of a list share (a
// date, a padded column) are passed at once.
size_t sameBytesUntil(std::string_view a, std::string_view b, size_t from, size_t end);
// Appends t followed by spaces, or cut, to exactly w characters: to a Text,
// or to a line written in place in its list (TextList::Line).
template <class Out>
void appendPadded(Out& out, std::string_view t, size_t w) {
  const size_t kept = std::min(t.size(), w);
  out += t.substr(0, kept);
  out.append(w - kept, ' ');
}
// True when the text is non-empty and made of the digits 0-9 only.
bool isDigitsOnly(std::string_view s);

// Line breaks of a multi-line note: the archives hold CR LF, a text box shows
// a plain LF. Each break (CR LF, LF or a lone CR) becomes one break of the
// other form, so notes stored with LF alone still read correctly.
Text storedLineBreaks(std::string_view shown);
Text shownLineBreaks(std::string_view stored);
// How many UTF-16 units of a note shown with LF breaks fit a field of
// `capacity` bytes once stored: a break takes two bytes (CR LF), any other
// character one (a surrogate pair too, stored as one '?').
size_t fittingLength(std::u16string_view shown, size_t capacity);

}  // namespace zel
