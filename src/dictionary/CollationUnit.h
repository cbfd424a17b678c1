// Locale-aware, case-insensitive ordering of Windows-1251 text (ICU, Russian, secondary
// strength: Кот = кот, е ≠ ё). Sorted lists order and detect duplicates with it.
#pragma once

#include <string>
#include <string_view>

namespace nb {

// A byte string whose plain byte order is the collation order of `text`;
// equal keys mean the texts are duplicates.
std::string CollationKey(std::string_view text);
// <0, 0, >0 like strcmp, under the same collation.
int CompareText(std::string_view a, std::string_view b);

} // namespace nb
