#include "TableCodeUnit.h"

#include "code/WordCodeUnit.h"

#include <algorithm>
#include <unordered_map>

namespace nb {

bool CodeOrderLess(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b; // std::string compares as unsigned bytes
}

std::vector<std::string> InCodeOrder(const std::vector<std::string>& codes) {
    std::vector<std::string> sorted = codes;
    std::stable_sort(sorted.begin(), sorted.end(), CodeOrderLess);
    return sorted;
}

std::string CodeTableExportText(const TStringList& groupCodeList, const TStringList& wordCodeList,
                                const TStringList& dicList, const TStringList& hidedWordList,
                                int32_t variantMakeType, bool addNull) {
    std::unordered_map<std::string, TStringList> words;
    for (const auto& code : groupCodeList.Strings()) words.emplace(code, TStringList(TStringList::Kind::Sorted));
    for (size_t i = 0; i < wordCodeList.Count(); ++i) {
        const auto it = words.find(AdjustCode(wordCodeList[i], variantMakeType, addNull));
        if (it == words.end()) continue;
        const auto index = wordCodeList.Object(i);
        if (index < 0 || static_cast<size_t>(index) >= dicList.Count()) continue;
        const std::string& word = dicList[static_cast<size_t>(index)];
        if (!hidedWordList.Contains(word)) it->second.Add(word);
    }
    std::string text;
    for (const auto& code : InCodeOrder(groupCodeList.Strings())) {
        text += code + "\r\n";
        for (const auto& w : words.at(code).Strings()) text += "  " + w + "\r\n";
    }
    return text;
}

} // namespace nb
