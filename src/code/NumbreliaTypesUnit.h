// Records shared across the program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nb {

// How a full code is cut into the group code the variants are searched with: all its
// digits, its first two or its first three (the values are those of the settings file).
enum class TGroupingMode : int32_t { AllLetters = 0, TwoDigits = 1, ThreeDigits = 2 };

// The grouping mode and the zero rule (AddNull; see AdjustCode and SearchString).
struct TGrouping {
    TGroupingMode Mode = TGroupingMode::AllLetters;
    bool AddNull = false;
    bool operator==(const TGrouping&) const = default;
};

// One letter of a code table and the digit it stands for.
struct TLetterRec {
    int32_t Digit = 0;
    char Letter = 0; // Windows-1251, lower case
};
using TLetterRecArr = std::vector<TLetterRec>;

// One code table: its identifier (the section name), display name and letters, ordered by
// digit and, within a digit, as listed in the file.
struct TCodeRec {
    std::string Ident;
    std::string Name;
    TLetterRecArr Letters;
};
using TCodeRecArr = std::vector<TCodeRec>;

// One row of the variants list: the groups joined by "-" and how many there are.
struct TVariantRec {
    std::string Variant;
    int32_t Count = 0;
};

// One row of the notebook window.
struct TNotebookRec {
    std::string Code;
    std::string Words;
    std::string Note;
    std::string Key; // the notebook key (the digits) that the row was read from
    // An entry in pieces: one line a piece, "I. GROUPS - WORDS - (PLACE)"; empty when plain.
    std::vector<std::string> Pieces;
};

} // namespace nb
