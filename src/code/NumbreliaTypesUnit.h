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

// One piece of an entry remembered in pieces, as the notebook window lists it.
struct TNotebookPiece {
    int32_t Index = 0;  // from 1
    std::string Groups; // its groups joined by "-"
    std::string Words;  // its words joined by " - "
    std::string Place;  // its place note, possibly empty
    // The next review of its cards: see TNotebookRec.
    int64_t NextReview = INT64_MIN;
    bool HasCards = false;
};

// One row of the notebook window.
struct TNotebookRec {
    std::string Code;
    std::string Words;
    std::string Note;
    std::string Key; // the notebook key (the digits) that the row was read from
    // The pieces of an entry remembered in pieces; empty when plain.
    std::vector<TNotebookPiece> Pieces;
    // The earliest due day of its reviewed cards (days since 1970-01-01), or INT64_MIN when
    // none was reviewed yet; HasCards tells whether the review deck has cards of it at all.
    int64_t NextReview = INT64_MIN;
    bool HasCards = false;
};

} // namespace nb
