#include "InetUtilUnit.h"

#include "UTFUnit.h"
#include "core/TextUnit.h"

namespace nb {

namespace {

bool PassesUnchanged(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '.';
}

} // namespace

std::string EncodeQueryWord(std::string_view word, bool throughUtf8) {
    std::string bytes = throughUtf8 ? WideToUTF8(Cp1251ToUtf16(word)) : std::string(word);
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        // A blank is the query's "+"; a "+" of the word is escaped, so "C++" is searched
        // as typed rather than as "C".
        if (c == ' ') {
            out += '+';
        } else if (PassesUnchanged(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::optional<std::string> MakePictureUrl(int tab, std::string_view word) {
    if (tab < 0 || tab >= static_cast<int>(kPictureSearchTabs.size())) return std::nullopt;
    const TPictureSearchTab& t = kPictureSearchTabs[static_cast<size_t>(tab)];
    std::string url = t.Address;
    const size_t at = url.find(kQueryWordMark);
    if (at != std::string::npos)
        url.replace(at, kQueryWordMark.size(), EncodeQueryWord(word, t.ThroughUtf8));
    return url;
}

} // namespace nb
