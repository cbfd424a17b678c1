// The variant search written the plain way: every prefix length, recursion, no memo and
// no pruning. Exponential, and the reference the real search is compared with.
#pragma once

#include "dictionary/StringListUnit.h"

#include <string>
#include <vector>

namespace nbtest {

inline void PlainSearch(std::vector<std::string>& result, const std::string& d,
                        const nb::TStringList& groups, const nb::TStringList& ignored) {
    for (size_t k = 1; k <= d.size(); ++k) {
        const std::string p = d.substr(0, k);
        if (!groups.Contains(p) || ignored.Contains(p)) continue;
        const std::string rest = d.substr(k);
        if (rest.empty()) {
            result.push_back(p);
            continue;
        }
        std::vector<std::string> sub;
        PlainSearch(sub, rest, groups, ignored);
        for (const auto& v : sub) result.push_back(p + "-" + v);
    }
}

} // namespace nbtest
