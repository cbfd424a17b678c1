// The code test's choice of a word: uniform among the entries that may be asked (not
// hidden, with a non-empty group code that is not ignored), so it never loops and never
// indexes an empty list.
#pragma once

#include "code/WordCodeUnit.h"
#include "dictionary/StringListUnit.h"

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace nb {

struct TTestQuestion {
    size_t Index = 0;     // in DicList
    std::string Word;     // the entry as stored
    std::string Expected; // its group code
};

class TTestWords {
public:
    TTestWords(const TStringList& dicList, const TStringList& hidedWordList,
               const TStringList& ignoredCodeList, const TWordCoder& coder, TGrouping grouping);
    bool Empty() const { return candidates_.empty(); }
    size_t Count() const { return candidates_.size(); }
    // A question drawn uniformly; nothing when no entry qualifies.
    std::optional<TTestQuestion> Next(std::mt19937& rng) const;

private:
    std::vector<TTestQuestion> candidates_;
};

// The code test's hint: every run of five blanks turned into two.
std::string TestHintText(const std::string& mainHint);
// Whether an answer is right: blanks and control characters around it do not count.
bool TestAnswerIsRight(const std::string& answer, const std::string& expected);

} // namespace nb
