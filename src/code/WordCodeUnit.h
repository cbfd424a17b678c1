// Word coding: an entry's full code under a code table, the group code the grouping mode
// and zero rule make of it, the key letters to colour, and the one-line code hint.
#pragma once

#include "NumbreliaTypesUnit.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace nb {

// Codes entries under one table. Cheap to copy; build one per table and reuse it.
class TWordCoder {
public:
    TWordCoder() = default;
    explicit TWordCoder(const TLetterRecArr& letters);

    // The full code of an entry (a word, or a phrase whose first word gives one digit).
    std::string WordToCode(std::string_view entry) const;
    // Which bytes of the entry, as stored, are key letters.
    std::vector<bool> MarkKeyLetters(std::string_view entry, TGroupingMode mode) const;

private:
    std::string Digits(std::string_view text) const;

    // Where each byte ends up after the table's letters are replaced pair by pair, in
    // table order; 0 when the byte is no letter of the table. A letter under several
    // digits takes its first digit, and composing per byte keeps that exact.
    std::array<char, 256> digitOf_{};
    std::array<bool, 256> isLetter_{};
};

std::string WordToCode(std::string_view entry, const TLetterRecArr& letters);
std::string AdjustCode(std::string code, TGrouping grouping);
std::vector<bool> MarkKeyLetters(std::string_view entry, const TLetterRecArr& letters,
                                 TGroupingMode mode);
// "0 - нм     1 - гж ..." : digits in ascending order, those without letters left out.
std::string CodeHintText(const TLetterRecArr& letters);

} // namespace nb
