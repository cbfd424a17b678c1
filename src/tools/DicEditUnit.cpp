#include "DicEditUnit.h"

#include "core/TextUnit.h"

#include <algorithm>

namespace nb {

std::string LineCodeHelp(const std::string& text, size_t pos, const TWordCoder& coder,
                         TGrouping grouping) {
    pos = std::min(pos, text.size());
    size_t b = pos, e = pos;
    while (b > 0 && text[b - 1] != '\n' && text[b - 1] != '\r') --b;
    while (e < text.size() && text[e] != '\n' && text[e] != '\r') ++e;
    const std::string line = text.substr(b, e - b);
    const bool blank = std::all_of(line.begin(), line.end(),
                                   [](char c) { return static_cast<unsigned char>(c) <= 32; });
    if (blank) return "?";
    std::string code = AdjustCode(coder.WordToCode(line), grouping);
    if (code.empty()) code.push_back('?'); // not = "?": GCC 12 warns falsely on that
    return line + ": " + code;
}

std::string ImportedText(const std::string& bytes, size_t& unconvertible, char32_t& firstBad) {
    unconvertible = 0;
    firstBad = 0;
    std::string_view view(bytes);
    const bool bom = view.substr(0, 3) == "\xEF\xBB\xBF";
    if (bom) view.remove_prefix(3);
    const bool ascii = std::all_of(view.begin(), view.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!bom && (ascii || !IsValidUtf8(view))) return std::string(view);
    std::string out;
    if (Utf8ToCp1251(view, out, &firstBad)) return out;
    unconvertible = static_cast<size_t>(std::count(out.begin(), out.end(), '?') -
                                        std::count(view.begin(), view.end(), '?'));
    return out;
}

} // namespace nb
