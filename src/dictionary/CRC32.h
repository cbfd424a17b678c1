// The checksum that guards the code-dictionary cache: CRC-32 (IEEE) of the bytes plus 5,
// wrapped to a signed 32-bit integer and written in signed decimal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nb {

uint32_t Crc32(std::string_view bytes);
int32_t TextChecksum(std::string_view bytes);
std::string TextChecksumString(std::string_view bytes);

} // namespace nb
