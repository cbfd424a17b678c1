// UTF-16 to UTF-8 for the picture search addresses.
#pragma once

#include <string>
#include <string_view>

namespace nb {

// Encodes every 16-bit unit on its own, in one, two or three bytes. Surrogate halves
// are encoded like any other unit (each becomes three bytes), so a character outside
// the Basic Multilingual Plane gives six bytes; Windows-1251 text never holds one.
std::string WideToUTF8(std::u16string_view s);

} // namespace nb
