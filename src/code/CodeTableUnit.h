// The code tables of Data/Codes.ini: one section per table, key Name for its display
// name and keys "0".."9" for the letters of each digit as a comma list; each item gives
// its first character, lower-cased. Empty items are skipped.
#pragma once

#include "NumbreliaTypesUnit.h"

#include <string>

namespace nb {

// A missing file gives no tables; an unreadable one throws EError.
TCodeRecArr LoadCodeTables(const std::string& path);
// The identifier to use for a stored CodeCode: itself when it names a table (case
// ignored), else the first table's identifier (empty when there are none).
std::string CheckCodeCode(const std::string& codeCode, const TCodeRecArr& tables);
// The table CodeCode names, case ignored; an empty table when none matches.
TCodeRec SelectCodeTable(const TCodeRecArr& tables, const std::string& codeCode);
// Index of that table, or -1.
long FindCodeTable(const TCodeRecArr& tables, const std::string& codeCode);

} // namespace nb
