#include "TableCodeUnit.h"

#include "code/WordCodeUnit.h"
#include "dictionary/CodeDictionaryUnit.h"

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
                                TGrouping grouping, bool familiarFirst) {
    std::unordered_map<std::string, std::vector<int32_t>> words;
    for (const auto& code : groupCodeList.Strings()) words.emplace(code, std::vector<int32_t>());
    for (size_t i = 0; i < wordCodeList.Count(); ++i) {
        const auto it = words.find(AdjustCode(wordCodeList[i], grouping));
        if (it == words.end()) continue;
        const auto index = wordCodeList.Object(i);
        if (index < 0 || static_cast<size_t>(index) >= dicList.Count()) continue;
        if (!hidedWordList.Contains(dicList[static_cast<size_t>(index)])) it->second.push_back(index);
    }
    std::string text;
    for (const auto& code : InCodeOrder(groupCodeList.Strings())) {
        text += code + "\r\n";
        // DicList is sorted, so its index order is dictionary order.
        std::vector<int32_t>& entries = words.at(code);
        std::sort(entries.begin(), entries.end());
        entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
        for (const int32_t entry : OrderEntries(std::move(entries), dicList, familiarFirst))
            text += "  " + dicList[static_cast<size_t>(entry)] + "\r\n";
    }
    return text;
}

} // namespace nb
