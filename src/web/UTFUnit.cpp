#include "UTFUnit.h"

namespace nb {

std::string WideToUTF8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size() * 2);
    for (const char16_t c : s) {
        const unsigned u = c;
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 + (u >> 6));
            out += static_cast<char>(0x80 + (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 + (u >> 12));
            out += static_cast<char>(0x80 + ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 + (u & 0x3F));
        }
    }
    return out;
}

} // namespace nb
