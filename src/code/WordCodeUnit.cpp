#include "WordCodeUnit.h"

#include "core/TextUnit.h"

namespace nb {

TWordCoder::TWordCoder(const TLetterRecArr& letters) {
    for (int b = 0; b < 256; ++b) {
        char c = static_cast<char>(b);
        for (const auto& pair : letters)
            if (c == pair.Letter) c = static_cast<char>('0' + pair.Digit);
        digitOf_[b] = (c != static_cast<char>(b) && c >= '0' && c <= '9') ? c : 0;
    }
    for (const auto& pair : letters) isLetter_[static_cast<unsigned char>(pair.Letter)] = true;
}

std::string TWordCoder::Digits(std::string_view text) const {
    std::string out;
    for (char c : text) {
        const char d = digitOf_[static_cast<unsigned char>(c)];
        if (d) out += d;
    }
    return out;
}

std::string TWordCoder::WordToCode(std::string_view entry) const {
    size_t b = 0, e = entry.size();
    while (b < e && static_cast<unsigned char>(entry[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(entry[e - 1]) <= 32) --e;
    std::string text;
    bool anyLetter = false;
    for (size_t i = b; i < e; ++i) {
        const unsigned char c = LowerCp1251(static_cast<unsigned char>(entry[i]));
        if (c != kBlank && c != kHyphen && !IsWordLetter(c)) continue;
        text += static_cast<char>(c);
        anyLetter = anyLetter || isLetter_[c];
    }
    if (!anyLetter) return {};
    const auto blank = text.find(' ');
    if (blank == std::string::npos) return Digits(text);
    const std::string head = Digits(std::string_view(text).substr(0, blank));
    std::string code = head.empty() ? std::string() : head.substr(0, 1);
    code += Digits(std::string_view(text).substr(blank + 1));
    return code;
}

std::vector<bool> TWordCoder::MarkKeyLetters(std::string_view entry,
                                             TGroupingMode mode) const {
    std::vector<bool> marks(entry.size(), false);
    const bool phrase = entry.find(' ') != std::string_view::npos;
    bool firstWord = true;
    int k = 0;
    for (size_t i = 0; i < entry.size(); ++i) {
        const auto c = static_cast<unsigned char>(entry[i]);
        if (c == kBlank) firstWord = false;
        if (!isLetter_[LowerCp1251(c)]) continue;
        if (phrase && firstWord && k > 0) continue;
        if (mode == TGroupingMode::TwoDigits && k > 1) continue;
        if (mode == TGroupingMode::ThreeDigits && k > 2) continue;
        marks[i] = true;
        ++k;
    }
    return marks;
}

std::string WordToCode(std::string_view entry, const TLetterRecArr& letters) {
    return TWordCoder(letters).WordToCode(entry);
}

std::vector<bool> MarkKeyLetters(std::string_view entry, const TLetterRecArr& letters,
                                 TGroupingMode mode) {
    return TWordCoder(letters).MarkKeyLetters(entry, mode);
}

std::string AdjustCode(std::string code, TGrouping grouping) {
    if (grouping.Mode != TGroupingMode::TwoDigits && grouping.Mode != TGroupingMode::ThreeDigits)
        return code;
    const size_t cut = grouping.Mode == TGroupingMode::TwoDigits ? 2 : 3;
    if (code.size() > cut) code.resize(cut);
    if (grouping.AddNull) {
        if (code.size() == 2 && code[0] == '0') code.clear();
        if (code.size() == 1) code.insert(code.begin(), '0');
    } else if (code.size() > 1 && code[0] == '0') {
        code.clear();
    }
    return code;
}

std::string CodeHintText(const TLetterRecArr& letters) {
    std::string text;
    for (int d = 0; d <= 9; ++d) {
        std::string group;
        for (const auto& pair : letters)
            if (pair.Digit == d) group += pair.Letter;
        if (group.empty()) continue;
        if (!text.empty()) text += "     ";
        text += std::to_string(d) + " - " + group;
    }
    return text;
}

} // namespace nb
