#include "CodeTestUnit.h"

namespace nb {

TTestWords::TTestWords(const TStringList& dicList, const TStringList& hidedWordList,
                       const TStringList& ignoredCodeList, const TWordCoder& coder,
                       TGrouping grouping) {
    for (size_t i = 0; i < dicList.Count(); ++i) {
        const std::string& word = dicList[i];
        if (hidedWordList.Contains(word)) continue;
        std::string code = AdjustCode(coder.WordToCode(word), grouping);
        if (code.empty() || ignoredCodeList.Contains(code)) continue;
        candidates_.push_back({i, word, std::move(code)});
    }
}

std::optional<TTestQuestion> TTestWords::Next(std::mt19937& rng) const {
    if (candidates_.empty()) return std::nullopt;
    std::uniform_int_distribution<size_t> pick(0, candidates_.size() - 1);
    return candidates_[pick(rng)];
}

std::string TestHintText(const std::string& mainHint) {
    std::string out;
    for (size_t i = 0; i < mainHint.size();) {
        if (mainHint.compare(i, 5, "     ") == 0) {
            out += "  ";
            i += 5;
        } else {
            out += mainHint[i++];
        }
    }
    return out;
}

bool TestAnswerIsRight(const std::string& answer, const std::string& expected) {
    size_t b = 0, e = answer.size();
    while (b < e && static_cast<unsigned char>(answer[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(answer[e - 1]) <= 32) --e;
    return answer.compare(b, e - b, expected) == 0;
}

} // namespace nb
