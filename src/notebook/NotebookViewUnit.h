// What the notebook window does with its rows besides showing them: the next review of
// each entry, the orders its column headers sort by and the filter of its search box.
// The rows themselves are NotebookRows; sorting and filtering never change them, nor the
// notebook order the export writes.
#pragma once

#include "code/NumbreliaTypesUnit.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace nb {

struct TReviewCard;

// The columns the rows can be sorted by.
enum class TNotebookColumn { Code, Words, Note, NextReview };

// Sets every row's and piece's next review from the deck: the earliest due day of the
// cards already reviewed (a piece's cards are KEY#I, and they count for the entry too).
// A row whose cards are all new keeps INT64_MIN with HasCards set.
void SetNextReviews(std::vector<TNotebookRec>& rows, const std::vector<TReviewCard>& cards);
// The next review as the window shows it (Windows-1251): "09.12.2026"; "новая" for cards
// never reviewed; empty when the deck has no card of it (it could not be read).
std::string NextReviewText(int64_t day, bool hasCards);

// Indices into `rows` in the order of a column, a stable sort over notebook order:
// codes by their digits as numbers (a shorter number first; leading zeros after the same
// number without them), then by the split; words and notes by the program's collation
// (case ignored, е before ё); next reviews by date, rows without a date last in either
// direction. `descending` reverses the order of unequal rows only.
std::vector<size_t> NotebookOrder(const std::vector<TNotebookRec>& rows, TNotebookColumn column,
                                  bool descending);

// The search box: its text is words separated by blanks, and a row matches when every
// word is in its words, its note or a piece's place note, letter case ignored
// (Windows-1251 mapping), or, for a word of digits with or without dashes, in the code's
// digits. An empty text, or only blanks, matches every row.
class TNotebookFilter {
public:
    explicit TNotebookFilter(std::string_view text);
    bool Empty() const { return words_.empty(); }
    bool Matches(const TNotebookRec& row) const;

private:
    struct TWord {
        std::string Text;   // lower case
        std::string Digits; // its digits when it is digits and dashes only
    };
    std::vector<TWord> words_;
};

} // namespace nb
