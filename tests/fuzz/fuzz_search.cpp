// The variant search on arbitrary group sets and digit strings, against the plain
// recursion (kept short so the reference finishes).
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
    // Longer strings of the same groups must answer without the reference, and stay sane.
    std::string longer;
    for (char c : parts[2]) longer += static_cast<char>('0' + static_cast<unsigned char>(c) % 10);
    const auto big = search.DisplayOrder(longer, 50);
    for (size_t i = 1; i < big.Rows.size(); ++i) NB_CHECK(big.Rows[i - 1].Count <= big.Rows[i].Count);
    return 0;
}
