// The dictionary editor's logic: the strip that shows the code of the line under the
// caret, and reading a text file the user loads.
#pragma once

#include "code/WordCodeUnit.h"

#include <cstdint>
#include <string>

namespace nb {

// "line: code" for the line that holds position `pos` of `text` (CR LF breaks), "?" for a
// blank line, and "line: ?" for a line that codes as nothing.
std::string LineCodeHelp(const std::string& text, size_t pos, const TWordCoder& coder,
                         TGrouping grouping);

// A loaded file's bytes as Windows-1251: a file that is valid UTF-8 with non-ASCII text
// (or a UTF-8 byte order mark) is converted; anything else is taken as Windows-1251.
// `unconvertible` counts characters Windows-1251 cannot hold (they become '?').
std::string ImportedText(const std::string& bytes, size_t& unconvertible, char32_t& firstBad);

} // namespace nb
