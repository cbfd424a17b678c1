// The suggestion: how easy a word and a variant are to remember, and the variants of a
// number listed best first without listing them all.
//
// A word's cost grows with its tier of the dictionary file (familiar, middle, rare), its
// line inside the tier (the file lists a tier's words by frequency) and its length. A
// variant's cost is one image a group plus the cheapest word shown in each column; a
// column with no word shown costs more than any variant with words everywhere.
#pragma once

#include "dictionary/StringListUnit.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace nb {

// Word cost = kTierCost * tier (0 familiar, 1 middle, 2 rare)
//           + floor(kLineCost * line inside the tier / lines of the tier)
//           + kLetterCost * letters beyond kFreeLetters.
// One tier weighs as much as seven or eight letters more, the line inside a tier up to
// five: a long familiar word can lose to a short word of a later tier, never to one
// of the same length.
inline constexpr int64_t kTierCost = 30;
inline constexpr int64_t kLineCost = 20;
inline constexpr int64_t kLetterCost = 4;
inline constexpr int64_t kFreeLetters = 5;
// Variant cost = sum over its groups of (kGroupCost + the cheapest shown word of the
// group's column); a column with no word shown counts kNoWordCost for its word.
inline constexpr int64_t kGroupCost = 40;
inline constexpr int64_t kNoWordCost = 1'000'000'000;

// Where the tiers of the dictionary file begin: the first word of the middle and of the
// rare tier as Data/dic_tiers.ini names them (section [Tiers], keys Middle and Rare).
struct TTierWords {
    std::string Middle, Rare; // Windows-1251; empty: not named
};
// A missing file names no tier: the whole file is one tier ranked by line.
TTierWords ReadTierWords(const std::string& path);

class TWordRanking {
public:
    TWordRanking() = default;
    // The tiers are found by their first words in `dicList` (whose objects are the
    // entries' lines), so a dictionary the user edited still maps; a word no longer
    // there leaves its tier joined to the one before.
    TWordRanking(const TStringList& dicList, const TTierWords& tiers);
    // The cost of a DicList entry; an index outside the list costs like a rare word at the
    // end of its tier.
    int64_t WordCost(int32_t entry) const;

private:
    std::vector<int64_t> costs_;
};

// `entries` ordered cheapest word first, ties kept in their order.
std::vector<int32_t> RankEntries(std::vector<int32_t> entries, const TWordRanking& ranking);

// The cost of one group of a variant: kGroupCost plus its column's cheapest word shown.
using TGroupCost = std::function<int64_t(const std::string& group)>;
// Such a cost from the entries of a group code and whether an entry is hidden, each group
// worked out once.
TGroupCost MakeGroupCost(std::function<const std::vector<int32_t>&(const std::string&)> entriesOf,
                         std::function<bool(int32_t)> hidden, const TWordRanking& ranking);

// The cuts of a digit string best first: by cost, then by group count, then in search
// order (group lengths compared left to right, shorter first). Lazily: each path costs
// little more than writing it out, however many paths the string has.
//
// The cuts are the paths from 0 to n in the acyclic graph of positions with an edge
// pos -> pos + k for every group at pos; the k shortest paths are found after
// D. Eppstein, "Finding the k shortest paths", SIAM J. Computing 28(2), 1998: a tree of
// best completions towards the end, every other edge a "sidetrack" with the extra cost it
// adds, the sidetracks reachable from each position kept in a persistent leftist heap
// (shared with the heap of the next position on the tree), and a best-first walk over
// those heaps. Ties are broken exactly: the tree takes the smallest next position among
// equal completions, sidetracks of equal extra cost compare as the paths they make, and
// candidates of equal cost and count compare by where they leave the tree.
class TBestCuts {
public:
    // `lens[pos]`: the lengths of the groups at pos of `digits`, ascending; `cost(pos, k)`
    // the cost of the group digits[pos, pos + k). `digits` must outlive the search.
    TBestCuts(const std::string& digits, const std::vector<std::vector<int>>& lens,
              const std::function<int64_t(size_t pos, int k)>& cost);
    // The next cut as a variant key ("52-70-563"), with its cost and group count; false
    // when no cut is left.
    bool Next(std::string& key, int64_t* cost = nullptr, int32_t* count = nullptr);

private:
    struct Weight {
        int64_t Cost = 0;
        int32_t Count = 0;
        auto operator<=>(const Weight&) const = default;
        Weight operator+(const Weight& o) const { return {Cost + o.Cost, Count + o.Count}; }
        Weight operator-(const Weight& o) const { return {Cost - o.Cost, Count - o.Count}; }
    };
    struct Sidetrack {
        int From, To;
        Weight Delta;
    };
    struct HeapNode {
        int Side, Left, Right, Rank;
    };
    // A path: its last sidetrack and the path before it (-1: the tree path).
    struct PathRec {
        int Side, Parent;
    };
    struct Candidate {
        Weight Total;
        int Parent; // PathRec of the sidetracks before Side
        int Side;
        int Node; // the heap node holding Side, or -1 for a later sidetrack of its position
    };

    bool SideLess(int a, int b) const;
    int Merge(int a, int b);
    void Sidetracks(int parent, int side, std::vector<int>& out) const;
    bool CandidateLess(const Candidate& a, const Candidate& b) const;
    void Push(const Candidate& c);
    void Emit(int rec, std::string& key);

    const std::string& digits_;
    size_t n_ = 0;
    // The key of the tree path from 0 and where each of its positions starts in it (-1:
    // not on it): every other key copies long stretches of it.
    std::string treeKey_;
    std::vector<long> treeOffset_;
    std::vector<Weight> dist_; // best completion from each position
    std::vector<int> next_;    // its first step; -1: the end cannot be reached
    std::vector<Sidetrack> sides_;
    std::vector<int> sidesEnd_; // sidetracks of pos are [sidesBegin_[pos], sidesEnd_[pos])
    std::vector<int> sidesBegin_;
    std::vector<HeapNode> nodes_;
    std::vector<int> heapOf_; // the heap of every position, -1: empty
    std::vector<PathRec> recs_;
    std::vector<Candidate> queue_; // a binary heap, least first
    bool started_ = false;
    mutable std::vector<int> scratchA_, scratchB_;
};

} // namespace nb
