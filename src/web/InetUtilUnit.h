// Addresses of the picture search: the three providers' image-search templates and the
// query-word encoding that fills them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace nb {

// One tab of the picture pane. The address holds "@@@" where the encoded word goes.
struct TPictureSearchTab {
    const char* Caption;  // UTF-8
    const char* Address;
    bool ThroughUtf8;     // the word is sent as UTF-8; otherwise as Windows-1251 bytes
};

inline constexpr std::string_view kQueryWordMark = "@@@";

// Each address names the encoding of its word where the provider takes a parameter for
// it (Google: ie/oe, Yahoo: ei). Yandex takes none: its word goes as Windows-1251 bytes.
inline constexpr std::array<TPictureSearchTab, 3> kPictureSearchTabs{{
    {"Яндекс", "https://yandex.ru/images/search?text=@@@", false},
    {"Google", "https://www.google.ru/search?tbm=isch&hl=ru&q=@@@&ie=UTF-8&oe=UTF-8", true},
    {"Yahoo", "https://images.search.yahoo.com/search/images?p=@@@&ei=UTF-8", true},
}};

// The query text for a Windows-1251 word: through UTF-8 or as its own bytes; blanks
// become "+", ASCII letters, digits and "." pass, every other byte becomes %XX (upper-case
// hexadecimal), "+" too, so that a word holding it is searched as typed.
std::string EncodeQueryWord(std::string_view word, bool throughUtf8);

// The search address of a tab for a Windows-1251 word; nothing for an index that is no
// tab (the caller keeps the address it had).
std::optional<std::string> MakePictureUrl(int tab, std::string_view word);

} // namespace nb
