#include "RankingUnit.h"

#include "core/IniFileUnit.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <utility>

namespace nb {
namespace {

// Letters of a Windows-1251 word: Latin, Cyrillic (0xC0..0xFF) and Ё ё; blanks and
// hyphens of a compound are no letters to say.
int64_t Letters(const std::string& word) {
    int64_t n = 0;
    for (const char ch : word) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0xC0 || c == 0xA8 || c == 0xB8) ++n;
    }
    return n;
}

} // namespace

TTierWords ReadTierWords(const std::string& path) {
    const TIniFile ini(path, TNulRule::StopAtNul);
    return {ini.ReadString("Tiers", "Middle", ""), ini.ReadString("Tiers", "Rare", "")};
}

TWordRanking::TWordRanking(const TStringList& dicList, const TTierWords& tiers) {
    const size_t count = dicList.Count();
    int64_t lines = 0; // of the file: one past the last entry's line
    for (size_t i = 0; i < count; ++i) lines = std::max<int64_t>(lines, int64_t{dicList.Object(i)} + 1);
    // The first line of each tier; a tier whose first word is gone starts nowhere.
    const auto lineOf = [&](const std::string& word) -> int64_t {
        if (word.empty()) return -1;
        const long i = dicList.IndexOf(word);
        return i < 0 ? -1 : dicList.Object(static_cast<size_t>(i));
    };
    int64_t starts[3] = {0, lineOf(tiers.Middle), lineOf(tiers.Rare)};
    // A boundary out of order (a hand-edited file) is dropped rather than trusted.
    if (starts[1] <= 0) starts[1] = -1;
    if (starts[2] <= std::max<int64_t>(starts[1], 0)) starts[2] = -1;
    costs_.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const int64_t line = dicList.Object(i);
        int tier = 0;
        for (int t = 1; t < 3; ++t)
            if (starts[t] >= 0 && line >= starts[t]) tier = t;
        int64_t end = lines;
        for (int t = 2; t > tier; --t)
            if (starts[t] >= 0) end = starts[t];
        const int64_t begin = starts[tier];
        const int64_t size = std::max<int64_t>(end - begin, 1);
        const int64_t place = std::clamp<int64_t>(line - begin, 0, size - 1);
        // Word cost = tier + place in the tier + length past the free letters (see the header).
        costs_[i] = kTierCost * tier + kLineCost * place / size +
                    kLetterCost * std::max<int64_t>(Letters(dicList[i]) - kFreeLetters, 0);
    }
}

int64_t TWordRanking::WordCost(int32_t entry) const {
    if (entry < 0 || static_cast<size_t>(entry) >= costs_.size()) return kTierCost * 2 + kLineCost;
    return costs_[static_cast<size_t>(entry)];
}

std::vector<int32_t> RankEntries(std::vector<int32_t> entries, const TWordRanking& ranking) {
    std::stable_sort(entries.begin(), entries.end(),
                     [&](int32_t a, int32_t b) { return ranking.WordCost(a) < ranking.WordCost(b); });
    return entries;
}

TGroupCost MakeGroupCost(std::function<const std::vector<int32_t>&(const std::string&)> entriesOf,
                         std::function<bool(int32_t)> hidden, const TWordRanking& ranking) {
    auto known = std::make_shared<std::unordered_map<std::string, int64_t>>();
    return [known, entriesOf = std::move(entriesOf), hidden = std::move(hidden),
            &ranking](const std::string& group) -> int64_t {
        const auto it = known->find(group);
        if (it != known->end()) return it->second;
        int64_t best = kNoWordCost;
        for (const int32_t entry : entriesOf(group))
            if (!hidden(entry)) best = std::min(best, ranking.WordCost(entry));
        known->emplace(group, kGroupCost + best);
        return kGroupCost + best;
    };
}

// ---- the best cuts --------------------------------------------------------------------------

TBestCuts::TBestCuts(const std::string& digits, const std::vector<std::vector<int>>& lens,
                     const std::function<int64_t(size_t pos, int k)>& cost)
    : digits_(digits), n_(lens.size()) {
    const size_t n = n_;
    dist_.assign(n + 1, Weight{});
    next_.assign(n + 1, -1);
    next_[n] = static_cast<int>(n);
    // The best completion of every position; equal ones go to the smaller next position,
    // so that the tree path from a position is also the first of its best paths in search
    // order.
    std::vector<std::vector<Weight>> edge(n);
    for (size_t pos = n; pos-- > 0;) {
        edge[pos].resize(lens[pos].size());
        for (size_t j = 0; j < lens[pos].size(); ++j) {
            const size_t to = pos + static_cast<size_t>(lens[pos][j]);
            edge[pos][j] = Weight{cost(pos, lens[pos][j]), 1};
            if (to > n || next_[to] < 0) continue;
            const Weight w = edge[pos][j] + dist_[to];
            if (next_[pos] < 0 || w < dist_[pos]) {
                dist_[pos] = w;
                next_[pos] = static_cast<int>(to);
            }
        }
    }
    // The sidetracks of every position, least extra cost first (then the smaller end).
    sidesBegin_.assign(n + 1, 0);
    sidesEnd_.assign(n + 1, 0);
    for (size_t pos = 0; pos < n; ++pos) {
        sidesBegin_[pos] = static_cast<int>(sides_.size());
        if (next_[pos] >= 0)
            for (size_t j = 0; j < lens[pos].size(); ++j) {
                const size_t to = pos + static_cast<size_t>(lens[pos][j]);
                if (to > n || next_[to] < 0 || static_cast<int>(to) == next_[pos]) continue;
                sides_.push_back({static_cast<int>(pos), static_cast<int>(to),
                                  edge[pos][j] + dist_[to] - dist_[pos]});
            }
        std::sort(sides_.begin() + sidesBegin_[pos], sides_.end(), [](const Sidetrack& a, const Sidetrack& b) {
            return a.Delta != b.Delta ? a.Delta < b.Delta : a.To < b.To;
        });
        sidesEnd_[pos] = static_cast<int>(sides_.size());
    }
    sidesBegin_[n] = sidesEnd_[n] = static_cast<int>(sides_.size());
    // The heap of a position: the heap of its next position with its own least sidetrack
    // added, the older heap left as it was.
    heapOf_.assign(n + 1, -1);
    for (size_t pos = n; pos-- > 0;) {
        if (next_[pos] < 0) continue;
        int heap = heapOf_[static_cast<size_t>(next_[pos])];
        if (sidesBegin_[pos] < sidesEnd_[pos]) {
            nodes_.push_back({sidesBegin_[pos], -1, -1, 1});
            heap = Merge(static_cast<int>(nodes_.size()) - 1, heap);
        }
        heapOf_[pos] = heap;
    }
}

// Sidetracks of equal extra cost compare as the paths that leave the tree at them alone:
// the first to leave decides, by whether it goes to a smaller position than the tree does.
// Both lie on one tree path whenever they meet in a heap.
bool TBestCuts::SideLess(int a, int b) const {
    const Sidetrack& x = sides_[static_cast<size_t>(a)];
    const Sidetrack& y = sides_[static_cast<size_t>(b)];
    if (x.Delta != y.Delta) return x.Delta < y.Delta;
    if (x.From == y.From) return x.To < y.To;
    if (x.From < y.From) return x.To < next_[static_cast<size_t>(x.From)];
    return next_[static_cast<size_t>(y.From)] < y.To;
}

// Persistent leftist heaps: a merge copies the nodes of the right spine it walks and
// leaves every existing node unchanged.
int TBestCuts::Merge(int a, int b) {
    if (a < 0) return b;
    if (b < 0) return a;
    if (SideLess(nodes_[static_cast<size_t>(b)].Side, nodes_[static_cast<size_t>(a)].Side)) std::swap(a, b);
    nodes_.push_back(nodes_[static_cast<size_t>(a)]);
    const int c = static_cast<int>(nodes_.size()) - 1;
    const int right = Merge(nodes_[static_cast<size_t>(c)].Right, b);
    HeapNode& node = nodes_[static_cast<size_t>(c)]; // after the push_backs of the merge
    node.Right = right;
    const auto rank = [this](int h) { return h < 0 ? 0 : nodes_[static_cast<size_t>(h)].Rank; };
    if (rank(node.Left) < rank(node.Right)) std::swap(node.Left, node.Right);
    node.Rank = rank(node.Right) + 1;
    return c;
}

// The sidetracks of a path in the order it takes them (their positions increase).
void TBestCuts::Sidetracks(int parent, int side, std::vector<int>& out) const {
    out.clear();
    if (side >= 0) out.push_back(side);
    for (int r = parent; r >= 0; r = recs_[static_cast<size_t>(r)].Parent)
        out.push_back(recs_[static_cast<size_t>(r)].Side);
    std::reverse(out.begin(), out.end());
}

// Cost and count first; equal ones in search order, which for two paths is decided at the
// first position where their sidetracks differ: by where each goes from there.
bool TBestCuts::CandidateLess(const Candidate& a, const Candidate& b) const {
    if (a.Total != b.Total) return a.Total < b.Total;
    Sidetracks(a.Parent, a.Side, scratchA_);
    Sidetracks(b.Parent, b.Side, scratchB_);
    const auto& sa = scratchA_;
    const auto& sb = scratchB_;
    size_t i = 0;
    while (i < sa.size() && i < sb.size() && sa[i] == sb[i]) ++i;
    const auto nextOf = [this](int pos) { return next_[static_cast<size_t>(pos)]; };
    if (i < sa.size() && i < sb.size()) {
        const Sidetrack& x = sides_[static_cast<size_t>(sa[i])];
        const Sidetrack& y = sides_[static_cast<size_t>(sb[i])];
        if (x.From == y.From) return x.To < y.To;
        if (x.From < y.From) return x.To < nextOf(x.From);
        return nextOf(y.From) < y.To;
    }
    if (i < sb.size()) { // a stays on the tree where b leaves it
        const Sidetrack& y = sides_[static_cast<size_t>(sb[i])];
        return nextOf(y.From) < y.To;
    }
    if (i < sa.size()) {
        const Sidetrack& x = sides_[static_cast<size_t>(sa[i])];
        return x.To < nextOf(x.From);
    }
    return false;
}

void TBestCuts::Push(const Candidate& c) {
    queue_.push_back(c);
    std::push_heap(queue_.begin(), queue_.end(),
                   [this](const Candidate& a, const Candidate& b) { return CandidateLess(b, a); });
}

// The key of a path: stretches of the tree path from 0 copied whole, the rest group by
// group. Tree paths soon run together, so a key costs little more than its copy.
void TBestCuts::Emit(int rec, std::string& key) {
    if (treeKey_.empty()) {
        treeOffset_.assign(n_ + 1, -1);
        for (size_t pos = 0; pos < n_; pos = static_cast<size_t>(next_[pos])) {
            if (pos) treeKey_ += '-';
            treeOffset_[pos] = static_cast<long>(treeKey_.size());
            treeKey_.append(digits_, pos, static_cast<size_t>(next_[pos]) - pos);
        }
    }
    Sidetracks(rec, -1, scratchA_);
    key.clear();
    key.reserve(treeKey_.size() + 2 * scratchA_.size() + 16);
    size_t pos = 0, s = 0;
    while (pos < n_) {
        if (treeOffset_[pos] >= 0) {
            const auto from = static_cast<size_t>(treeOffset_[pos]);
            if (s == scratchA_.size()) {
                key.append(treeKey_, from, std::string::npos);
                return;
            }
            // The next sidetrack leaves from the tree path this one is on.
            const auto at = static_cast<size_t>(sides_[static_cast<size_t>(scratchA_[s])].From);
            key.append(treeKey_, from, static_cast<size_t>(treeOffset_[at]) - from);
            pos = at;
        }
        size_t to = static_cast<size_t>(next_[pos]);
        if (s < scratchA_.size() && sides_[static_cast<size_t>(scratchA_[s])].From == static_cast<int>(pos))
            to = static_cast<size_t>(sides_[static_cast<size_t>(scratchA_[s++])].To);
        key.append(digits_, pos, to - pos);
        if (to < n_) key += '-';
        pos = to;
    }
}

bool TBestCuts::Next(std::string& key, int64_t* cost, int32_t* count) {
    if (n_ == 0 || next_[0] < 0) return false;
    Weight total;
    int rec = -1;
    if (!started_) {
        // The tree path first; every other path adds sidetracks to it.
        started_ = true;
        total = dist_[0];
        if (heapOf_[0] >= 0) {
            const int side = nodes_[static_cast<size_t>(heapOf_[0])].Side;
            Push({dist_[0] + sides_[static_cast<size_t>(side)].Delta, -1, side, heapOf_[0]});
        }
    } else {
        if (queue_.empty()) return false;
        std::pop_heap(queue_.begin(), queue_.end(),
                      [this](const Candidate& a, const Candidate& b) { return CandidateLess(b, a); });
        const Candidate c = queue_.back();
        queue_.pop_back();
        total = c.Total;
        recs_.push_back({c.Side, c.Parent});
        rec = static_cast<int>(recs_.size()) - 1;
        const Sidetrack& side = sides_[static_cast<size_t>(c.Side)];
        const Weight before = c.Total - side.Delta;
        // Another sidetrack in place of this one: the heap's children, and the next of its
        // own position.
        if (c.Node >= 0)
            for (const int child : {nodes_[static_cast<size_t>(c.Node)].Left, nodes_[static_cast<size_t>(c.Node)].Right})
                if (child >= 0) {
                    const int s = nodes_[static_cast<size_t>(child)].Side;
                    Push({before + sides_[static_cast<size_t>(s)].Delta, c.Parent, s, child});
                }
        if (c.Side + 1 < sidesEnd_[static_cast<size_t>(side.From)])
            Push({before + sides_[static_cast<size_t>(c.Side + 1)].Delta, c.Parent, c.Side + 1, -1});
        // One sidetrack more, after this one.
        if (const int heap = heapOf_[static_cast<size_t>(side.To)]; heap >= 0) {
            const int s = nodes_[static_cast<size_t>(heap)].Side;
            Push({c.Total + sides_[static_cast<size_t>(s)].Delta, rec, s, heap});
        }
    }
    Emit(rec, key);
    if (cost) *cost = total.Cost;
    if (count) *count = total.Count;
    return true;
}

} // namespace nb
