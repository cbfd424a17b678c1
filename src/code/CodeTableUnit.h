// The code tables of Data/Codes.ini: one section per table, key Name for its display
// name and keys "0".."9" for the letters of each digit as a comma list; each item gives
// its first character, lower-cased. Empty items are skipped.
#pragma once

#include "NumbreliaTypesUnit.h"

#include <string>
#include <vector>

namespace nb {

// The longest identifier: its cache file "<id>_1.lst" and that file's temporary
// "<id>_1.lst.XXXXXX" must fit in one file name (255 bytes).
inline constexpr size_t kMaxIdentLength = 255 - 6 - 7;

// Why an identifier cannot name a cache file or a settings key (Russian, UTF-8), or empty
// when it can: path separators, "." and "..", control characters, leading or trailing
// blanks, '=', a leading '[', an empty or too long one.
std::string UnsafeIdentReason(const std::string& ident);
// The warning for a table of Data/Codes.ini (`codesPath`) whose identifier is unsafe, naming
// table, file and reason (control characters shown as ?); empty for a safe one.
std::string UnsafeTableMessage(const std::string& ident, const std::string& codesPath);

// A missing file gives no tables; an unreadable one throws EError. A table whose
// identifier is unsafe is skipped, with one message for it in `warnings` (when given).
TCodeRecArr LoadCodeTables(const std::string& path, std::vector<std::string>* warnings = nullptr);
// The identifier to use for a stored CodeCode: itself when it names a table (case
// ignored), else the first table's identifier (empty when there are none).
std::string CheckCodeCode(const std::string& codeCode, const TCodeRecArr& tables);
// The table CodeCode names, case ignored; an empty table when none matches.
TCodeRec SelectCodeTable(const TCodeRecArr& tables, const std::string& codeCode);
// Index of that table, or -1.
long FindCodeTable(const TCodeRecArr& tables, const std::string& codeCode);

} // namespace nb
