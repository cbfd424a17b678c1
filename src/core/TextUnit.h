// Windows-1251 text: the byte encoding of every file the program reads and writes.
// Engine strings hold these bytes; conversion to Unicode happens only at the edges.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nb {

// Windows-1251 bytes to UTF-8. The one unassigned byte (0x98) becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view bytes);
// Windows-1251 bytes to UTF-16 code units.
std::u16string Cp1251ToUtf16(std::string_view bytes);
// The Unicode code point of one Windows-1251 byte (U+FFFD for 0x98).
char32_t Cp1251ToCodePoint(unsigned char byte);

// UTF-8 to Windows-1251. Returns false when the text is not valid UTF-8 or holds a
// character that Windows-1251 cannot hold; `out` then holds '?' in those places and
// `firstBad` (if given) the first such character.
bool Utf8ToCp1251(std::string_view utf8, std::string& out, char32_t* firstBad = nullptr);
// Lenient form: unconvertible characters become '?'.
std::string Utf8ToCp1251(std::string_view utf8);
// Whether the bytes are well-formed UTF-8 (plain ASCII counts).
bool IsValidUtf8(std::string_view bytes);

// Windows-1251 case mapping (А–Я, Ё, A–Z and the other Cyrillic capitals).
unsigned char LowerCp1251(unsigned char c);
std::string LowerCase(std::string_view s);
// Case-insensitive equality under that mapping.
bool SameTextCp1251(std::string_view a, std::string_view b);

// Character classes used by word coding.
constexpr unsigned char kBlank = 32;
constexpr unsigned char kHyphen = 45;
constexpr unsigned char kYo = 0xB8;      // ё
constexpr unsigned char kCapYo = 0xA8;   // Ё
inline bool IsWordLetter(unsigned char c) { return c == kYo || c >= 0xE0; }

// Signed decimal parsing of a whole string; false on anything else or overflow.
bool ParseInt32(std::string_view s, int32_t& value);

// Messages one a line, for one box or one report.
std::string JoinLines(const std::vector<std::string>& lines);

} // namespace nb
