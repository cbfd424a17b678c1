// The notebook: for each remembered digit string (the notebook key) the variant key and
// the chosen words as a comma list (notebook.txt), and the note (notebook_add.txt).
// Both are name=value lists: one line per key, in the order keys were first remembered.
#pragma once

#include "code/NumbreliaTypesUnit.h"
#include "dictionary/StringListUnit.h"

#include <string>
#include <string_view>
#include <vector>

namespace nb {

// The digits of a variant key: "52-70-563" -> "5270563".
std::string NotebookKey(std::string_view variantKey);
// The items stored for a key: the variant key, then the words; empty when none.
std::vector<std::string> NotebookItems(const TStringList& entries, std::string_view key);
// The variant remembered for a key, or empty.
std::string RememberedVariant(const TStringList& entries, std::string_view key);
// Stores a remember: the note first (an empty one deletes the note line), then the entry.
void RememberEntry(TStringList& entries, TStringList& notes, const std::string& variantKey,
                   const std::vector<std::string>& words, const std::string& note);
// Deletes what is stored for a key: its entry and its note (a hand-edited list that
// repeats the key loses every line of it, so the row surely goes).
void DeleteNotebookEntry(TStringList& entries, TStringList& notes, std::string_view key);
class TPiecesList;
struct TReviewCard;
// The rows of the notebook window: every entry with at least one word, in notebook order;
// with `pieces`, an entry in pieces gets its pieces; with `cards` (the review deck), each
// row and piece its next review (SetNextReviews).
std::vector<TNotebookRec> NotebookRows(const TStringList& entries, const TStringList& notes,
                                       const TPiecesList* pieces = nullptr,
                                       const std::vector<TReviewCard>* cards = nullptr);
// The export text: "Code - Words - (Note)" per row, CR LF after each, and under an entry in
// pieces one line a piece, "    I. GROUPS - WORDS - (PLACE)".
std::string NotebookExportText(const std::vector<TNotebookRec>& rows);

} // namespace nb
