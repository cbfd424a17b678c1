// Variant search: every way to cut a digit string, left to right, into groups that are
// group codes with words (GroupCodeList) and not ignored (IgnoredCodeList).
//
// Search order compares group lengths left to right, shorter first. Display order sorts
// by the number of groups, ties kept in search order. Both are produced without building
// a variant that is not kept: a table of which group counts can still cover each suffix
// prunes every dead branch, so the work is proportional to the output.
#pragma once

#include "code/NumbreliaTypesUnit.h"
#include "dictionary/StringListUnit.h"
#include "encoding/RankingUnit.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nb {

// More rows than this are not listed: no ordinary number comes near it, while a long
// number in a dense mode has more variants than there are atoms.
inline constexpr size_t kMaxVariantRows = 200000;

// The digits of the text; "5270563" when there are none.
std::string NormaliseNumber(std::string_view text);
// The string searched for a number: with two-digit groups and the zero rule an odd
// length gets a "0" appended; otherwise the number itself.
std::string SearchString(const std::string& number, TGrouping grouping);
// The groups of a variant key, in order: the pieces between its "-" (an empty key, or
// two "-" in a row, give an empty group).
std::vector<std::string> SplitVariantKey(std::string_view key);
// Where `key` starts to differ from `first`, at a group boundary: the offset in `key` of
// its first group that is not `first`'s group at the same place; 0 when the very first
// group differs or the keys are equal. The variants list shows a long key from there, so
// that rows of one long number can be told apart.
size_t DifferingGroupStart(std::string_view key, std::string_view first);

class TVariantSearch {
public:
    // The lists are read at construction; build a new search after they change.
    TVariantSearch(const TStringList& groupCodeList, const TStringList& ignoredCodeList);

    // Appends the variant keys of `digits` in search order, at most `limit` of them;
    // returns false when the limit cut the list.
    bool SearchVariants(std::vector<std::string>& result, const std::string& digits,
                        size_t limit = kMaxVariantRows) const;

    struct Result {
        std::vector<TVariantRec> Rows; // display order
        bool Cut = false;              // more variants exist than Rows holds
    };
    // The variants in display order, fewest groups first, at most `limit` rows.
    Result DisplayOrder(const std::string& digits, size_t limit = kMaxVariantRows) const;
    // The same rows handed to `row` as they are found, none of them kept; returns whether
    // the bound cut the list.
    bool StreamDisplayOrder(const std::string& digits, size_t limit,
                            const std::function<void(std::string&& key, int32_t count)>& row) const;
    // The variants best first (see TBestCuts): by the sum of `cost` over their groups,
    // then fewest groups, then in search order; the same rows as StreamDisplayOrder, under
    // the same bounds, in another order.
    bool StreamBestOrder(const std::string& digits, size_t limit, const TGroupCost& cost,
                         const std::function<void(std::string&& key, int32_t count)>& row) const;
    Result BestOrder(const std::string& digits, const TGroupCost& cost,
                     size_t limit = kMaxVariantRows) const;
    // Whether `key` ("52-70-563") cuts `digits` into groups of this search.
    bool IsVariantOf(const std::string& key, const std::string& digits) const;

    bool IsGroup(std::string_view digits) const;

private:
    struct Node {
        int next[10];
        bool group;
    };
    // Lengths k such that digits[pos, pos+k) is a group, ascending, for every pos.
    std::vector<std::vector<int>> GroupLengths(const std::string& digits) const;

    std::vector<Node> trie_;
};

// The engine side of encoding a number.
struct TEncodeResult {
    std::string Number;       // the normalised number, shown in the number field
    std::string SearchString; // what was searched and is the notebook key
    std::vector<TVariantRec> Rows;
    bool Cut = false;
    long Selected = -1; // the row of the remembered variant, else 0; -1 when no rows
};
// With `best`, the rows are in BestOrder by that cost.
TEncodeResult MakeVariants(std::string_view numberText, TGrouping grouping,
                           const TVariantSearch& search, const TStringList& notebookEntries,
                           size_t limit = kMaxVariantRows, const TGroupCost* best = nullptr);

} // namespace nb
