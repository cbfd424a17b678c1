#include "CRC32.h"

#include <zlib.h>

namespace nb {

uint32_t Crc32(std::string_view bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes at most 4 GiB per call.
    const auto* p = reinterpret_cast<const Bytef*>(bytes.data());
    size_t left = bytes.size();
    while (left > 0) {
        const uInt chunk = left > 0x40000000u ? 0x40000000u : static_cast<uInt>(left);
        crc = crc32(crc, p, chunk);
        p += chunk;
        left -= chunk;
    }
    return static_cast<uint32_t>(crc);
}

int32_t TextChecksum(std::string_view bytes) {
    return static_cast<int32_t>(Crc32(bytes) + 5u); // unsigned wrap, then two's complement
}

std::string TextChecksumString(std::string_view bytes) {
    return std::to_string(TextChecksum(bytes));
}

} // namespace nb
