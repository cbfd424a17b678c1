// The variant search on arbitrary group sets and digit strings, against the plain
// recursion (kept short so the reference finishes), in display order and best first.
#include "FuzzUtil.h"
#include "PlainSearch.h"

#include "encoding/VariantSearchUnit.h"

#include <algorithm>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = nbfuzz::Parts(data, size, 3);
    nb::TStringList groups(nb::TStringList::Kind::Sorted), ignored(nb::TStringList::Kind::Sorted);
    groups.SetCommaText(parts[0]);
    ignored.SetCommaText(parts[1]);
    std::string number;
    for (char c : parts[2].substr(0, 14)) number += static_cast<char>('0' + static_cast<unsigned char>(c) % 10);

    const nb::TVariantSearch search(groups, ignored);
    std::vector<std::string> expected, found;
    nbtest::PlainSearch(expected, number, groups, ignored);
    NB_CHECK(search.SearchVariants(found, number));
    NB_CHECK(found == expected);
    const auto display = search.DisplayOrder(number);
    NB_CHECK(display.Rows.size() == expected.size());
    std::vector<nb::TVariantRec> plain;
    for (const auto& k : expected)
        plain.push_back({k, 1 + static_cast<int32_t>(std::count(k.begin(), k.end(), '-'))});
    std::stable_sort(plain.begin(), plain.end(),
                     [](const nb::TVariantRec& a, const nb::TVariantRec& b) { return a.Count < b.Count; });
    for (size_t i = 0; i < plain.size(); ++i) {
        NB_CHECK(display.Rows[i].Variant == plain[i].Variant);
        NB_CHECK(display.Rows[i].Count == plain[i].Count);
    }
    // Best first: the same rows, in a stable sort of search order by (cost, count). Few
    // distinct costs, so that ties are common; a group of 9s has no word.
    const nb::TGroupCost cost = [](const std::string& g) -> int64_t {
        int64_t digits = 0;
        for (char c : g) digits += c - '0';
        return nb::kGroupCost + (g.find_first_not_of('9') == std::string::npos ? nb::kNoWordCost : digits % 3);
    };
    const auto total = [&](const std::string& key) {
        int64_t sum = 0;
        for (const auto& g : nb::SplitVariantKey(key)) sum += cost(g);
        return std::pair(sum, std::count(key.begin(), key.end(), '-'));
    };
    std::vector<std::string> ranked = expected;
    std::stable_sort(ranked.begin(), ranked.end(),
                     [&](const std::string& a, const std::string& b) { return total(a) < total(b); });
    const auto best = search.BestOrder(number, cost);
    NB_CHECK(best.Rows.size() == ranked.size());
    for (size_t i = 0; i < ranked.size(); ++i) NB_CHECK(best.Rows[i].Variant == ranked[i]);
    // Longer strings of the same groups must answer without the reference, and stay sane.
    std::string longer;
    for (char c : parts[2]) longer += static_cast<char>('0' + static_cast<unsigned char>(c) % 10);
    const auto big = search.DisplayOrder(longer, 50);
    for (size_t i = 1; i < big.Rows.size(); ++i) NB_CHECK(big.Rows[i - 1].Count <= big.Rows[i].Count);
    const auto bigBest = search.BestOrder(longer, cost, 50);
    NB_CHECK(bigBest.Rows.size() == big.Rows.size() && bigBest.Cut == big.Cut);
    for (size_t i = 1; i < bigBest.Rows.size(); ++i)
        NB_CHECK(total(bigBest.Rows[i - 1].Variant) <= total(bigBest.Rows[i].Variant));
    return 0;
}
