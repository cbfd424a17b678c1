// The code table: group codes in code order (shorter first, then byte by byte) and the
// export of every code with its words.
#pragma once

#include "code/NumbreliaTypesUnit.h"
#include "dictionary/StringListUnit.h"

#include <cstdint>
#include <string>
#include <vector>

namespace nb {

// "7" < "10", "09" < "10", "99" < "100".
bool CodeOrderLess(const std::string& a, const std::string& b);
std::vector<std::string> InCodeOrder(const std::vector<std::string>& codes);

// The export text: each code of GroupCodeList in code order on a line of its own, ignored
// ones too, and under it, indented by two blanks, its words that are not hidden, in
// dictionary order (or the file's line order, as the word columns give them); every line
// ended by CR LF.
std::string CodeTableExportText(const TStringList& groupCodeList, const TStringList& wordCodeList,
                                const TStringList& dicList, const TStringList& hidedWordList,
                                TGrouping grouping, bool familiarFirst = false);

} // namespace nb
