#include "VariantSearchUnit.h"

#include "notebook/NotebookStoreUnit.h"
#include "resources/ResStrUnit.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace nb {
namespace {

constexpr int kDead = std::numeric_limits<int>::max();
// Rows of a very long number are long too; past this many bytes of keys the list is cut.
constexpr size_t kMaxVariantBytes = size_t{64} << 20;

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// For every suffix of the digits: the fewest groups that cover it and, in a window of
// `width` counts above that, which counts are possible. Counts past the window are
// asked for only after every count inside it has been listed, and then the window grows.
class TCoverTable {
public:
    TCoverTable(const std::vector<std::vector<int>>& lens, size_t width) : lens_(lens) {
        Compute(width);
    }

    void Compute(size_t width) {
        const size_t n = lens_.size();
        words_ = (width + 63) / 64;
        width_ = words_ * 64;
        min_.assign(n + 1, kDead);
        max_.assign(n + 1, -1);
        bits_.assign((n + 1) * words_, 0);
        min_[n] = 0;
        max_[n] = 0;
        bits_[n * words_] = 1;
        for (size_t pos = n; pos-- > 0;) {
            for (int k : lens_[pos]) {
                const size_t next = pos + static_cast<size_t>(k);
                if (min_[next] == kDead) continue;
                min_[pos] = std::min(min_[pos], min_[next] + 1);
                max_[pos] = std::max(max_[pos], max_[next] + 1);
            }
            if (min_[pos] == kDead) continue;
            uint64_t* dst = &bits_[pos * words_];
            for (int k : lens_[pos]) {
                const size_t next = pos + static_cast<size_t>(k);
                if (min_[next] == kDead) continue;
                // A count r of the suffix at `next` is r + 1 here.
                const size_t shift = static_cast<size_t>(min_[next] + 1 - min_[pos]);
                const uint64_t* src = &bits_[next * words_];
                const size_t ws = shift / 64, bs = shift % 64;
                for (size_t w = words_; w-- > ws;) {
                    uint64_t v = src[w - ws] << bs;
                    if (bs && w - ws > 0) v |= src[w - ws - 1] >> (64 - bs);
                    dst[w] |= v;
                }
            }
        }
    }

    bool Alive(size_t pos) const { return min_[pos] != kDead; }
    int Min(size_t pos) const { return min_[pos]; }
    int Max(size_t pos) const { return max_[pos]; }
    size_t Width() const { return width_; }
    // Whether the suffix at pos can be cut into exactly `count` groups; only asked inside
    // the window.
    bool Can(size_t pos, int count) const {
        if (min_[pos] == kDead || count < min_[pos] || count > max_[pos]) return false;
        const auto off = static_cast<size_t>(count - min_[pos]);
        return off < width_ && ((bits_[pos * words_ + off / 64] >> (off % 64)) & 1u);
    }

private:
    const std::vector<std::vector<int>>& lens_;
    size_t words_ = 1, width_ = 64;
    std::vector<int> min_, max_;
    std::vector<uint64_t> bits_;
};

std::string JoinGroups(const std::string& digits, const std::vector<int>& cuts) {
    if (cuts.empty()) return {};
    // Groups are a few digits long: a plain copy beats one append call per group, which
    // dominated the cost of long numbers.
    std::string key(digits.size() + cuts.size() - 1, '-');
    char* out = key.data();
    const char* in = digits.data();
    for (size_t i = 0; i < cuts.size(); ++i) {
        if (i) ++out;
        for (int k = 0; k < cuts[i]; ++k) *out++ = *in++;
    }
    return key;
}

} // namespace

std::string NormaliseNumber(std::string_view text) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits += c;
    return digits.empty() ? std::string(res::kInitialNumber) : digits;
}

std::string SearchString(const std::string& number, TGrouping grouping) {
    if (grouping.Mode == TGroupingMode::TwoDigits && grouping.AddNull && number.size() % 2 == 1)
        return number + "0";
    return number;
}

TVariantSearch::TVariantSearch(const TStringList& groupCodeList,
                               const TStringList& ignoredCodeList) {
    trie_.push_back(Node{{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false});
    for (const auto& stored : groupCodeList.Strings()) {
        // An item with characters the list's comparison ignores (control characters, from
        // a hand-edited cache) makes the list hold its digits too; so must the search.
        std::string code = stored;
        if (!AllDigits(code)) {
            code.erase(std::remove_if(code.begin(), code.end(), [](char c) { return c < '0' || c > '9'; }),
                       code.end());
            if (code.empty() || !groupCodeList.Contains(code)) continue;
        }
        if (ignoredCodeList.Contains(code)) continue;
        int node = 0;
        for (char c : code) {
            const int d = c - '0';
            if (!trie_[static_cast<size_t>(node)].next[d]) {
                trie_[static_cast<size_t>(node)].next[d] = static_cast<int>(trie_.size());
                trie_.push_back(Node{{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false});
            }
            node = trie_[static_cast<size_t>(node)].next[d];
        }
        trie_[static_cast<size_t>(node)].group = true;
    }
}

bool TVariantSearch::IsGroup(std::string_view digits) const {
    if (!AllDigits(digits)) return false;
    int node = 0;
    for (char c : digits) {
        node = trie_[static_cast<size_t>(node)].next[c - '0'];
        if (!node) return false;
    }
    return trie_[static_cast<size_t>(node)].group;
}

std::vector<std::vector<int>> TVariantSearch::GroupLengths(const std::string& digits) const {
    std::vector<std::vector<int>> lens(digits.size());
    for (size_t pos = 0; pos < digits.size(); ++pos) {
        int node = 0;
        for (size_t i = pos; i < digits.size(); ++i) {
            const char c = digits[i];
            if (c < '0' || c > '9') break;
            node = trie_[static_cast<size_t>(node)].next[c - '0'];
            if (!node) break;
            if (trie_[static_cast<size_t>(node)].group) lens[pos].push_back(static_cast<int>(i - pos + 1));
        }
    }
    return lens;
}

bool TVariantSearch::SearchVariants(std::vector<std::string>& result, const std::string& digits,
                                    size_t limit) const {
    if (digits.empty()) return true;
    const auto lens = GroupLengths(digits);
    const TCoverTable cover(lens, 64);
    if (!cover.Alive(0)) return true;
    // Depth-first, shorter groups first, entering only suffixes that can be covered.
    std::vector<int> cuts;
    std::vector<size_t> choice; // index into lens[pos] tried next, per depth
    std::vector<size_t> at{0};
    choice.push_back(0);
    size_t bytes = 0;
    while (!choice.empty()) {
        const size_t pos = at.back();
        if (pos == digits.size()) {
            std::string key = JoinGroups(digits, cuts);
            bytes += key.size();
            if (result.size() >= limit || bytes > kMaxVariantBytes) return false;
            result.push_back(std::move(key));
            choice.pop_back();
            at.pop_back();
            if (!cuts.empty()) cuts.pop_back();
            continue;
        }
        size_t& i = choice.back();
        while (i < lens[pos].size() && !cover.Alive(pos + static_cast<size_t>(lens[pos][i]))) ++i;
        if (i == lens[pos].size()) {
            choice.pop_back();
            at.pop_back();
            if (!cuts.empty()) cuts.pop_back();
            continue;
        }
        const int k = lens[pos][i++];
        cuts.push_back(k);
        at.push_back(pos + static_cast<size_t>(k));
        choice.push_back(0);
    }
    return true;
}

TVariantSearch::Result TVariantSearch::DisplayOrder(const std::string& digits,
                                                    size_t limit) const {
    Result out;
    out.Cut = StreamDisplayOrder(digits, limit, [&out](std::string&& key, int32_t count) {
        out.Rows.push_back({std::move(key), count});
    });
    return out;
}

bool TVariantSearch::StreamDisplayOrder(
    const std::string& digits, size_t limit,
    const std::function<void(std::string&& key, int32_t count)>& row) const {
    if (digits.empty()) return false;
    const auto lens = GroupLengths(digits);
    TCoverTable cover(lens, 64);
    if (!cover.Alive(0)) return false;
    size_t rows = 0;
    const int first = cover.Min(0), last = cover.Max(0);
    size_t bytes = 0;
    for (int count = first; count <= last; ++count) {
        if (static_cast<size_t>(count - first) >= cover.Width()) cover.Compute(cover.Width() * 2);
        if (!cover.Can(0, count)) continue;
        // Every cut into exactly `count` groups, in search order.
        std::vector<int> cuts;
        std::vector<size_t> choice{0};
        std::vector<size_t> at{0};
        // The key of the groups placed so far, grown and cut back with them: neighbouring
        // rows share all but their last groups, so no key is joined from scratch.
        std::string key;
        std::vector<size_t> keyEnd{0};
        while (!choice.empty()) {
            const size_t pos = at.back();
            const int left = count - static_cast<int>(cuts.size()); // groups still to place
            if (pos == digits.size()) {
                bytes += key.size();
                if (rows >= limit || bytes > kMaxVariantBytes) return true;
                ++rows;
                row(std::string(key), count);
            } else {
                size_t& i = choice.back();
                while (i < lens[pos].size() &&
                       !cover.Can(pos + static_cast<size_t>(lens[pos][i]), left - 1))
                    ++i;
                if (i < lens[pos].size()) {
                    const int k = lens[pos][i++];
                    if (!cuts.empty()) key += '-';
                    key.append(digits, pos, static_cast<size_t>(k));
                    keyEnd.push_back(key.size());
                    cuts.push_back(k);
                    at.push_back(pos + static_cast<size_t>(k));
                    choice.push_back(0);
                    continue;
                }
            }
            choice.pop_back();
            at.pop_back();
            keyEnd.pop_back();
            if (!keyEnd.empty()) key.resize(keyEnd.back());
            if (!cuts.empty()) cuts.pop_back();
        }
    }
    return false;
}

TVariantSearch::Result TVariantSearch::BestOrder(const std::string& digits, const TGroupCost& cost,
                                                 size_t limit) const {
    Result out;
    out.Cut = StreamBestOrder(digits, limit, cost, [&out](std::string&& key, int32_t count) {
        out.Rows.push_back({std::move(key), count});
    });
    return out;
}

bool TVariantSearch::StreamBestOrder(
    const std::string& digits, size_t limit, const TGroupCost& cost,
    const std::function<void(std::string&& key, int32_t count)>& row) const {
    if (digits.empty()) return false;
    const auto lens = GroupLengths(digits);
    TBestCuts best(digits, lens,
                   [&](size_t pos, int k) { return cost(digits.substr(pos, static_cast<size_t>(k))); });
    std::string key;
    size_t rows = 0, bytes = 0;
    int32_t count = 0;
    while (best.Next(key, nullptr, &count)) {
        bytes += key.size();
        if (rows >= limit || bytes > kMaxVariantBytes) return true;
        ++rows;
        row(std::move(key), count);
    }
    return false;
}

std::vector<std::string> SplitVariantKey(std::string_view key) {
    std::vector<std::string> groups;
    for (size_t start = 0;;) {
        const size_t dash = key.find('-', start);
        groups.emplace_back(key.substr(start, dash == std::string_view::npos ? dash : dash - start));
        if (dash == std::string_view::npos) return groups;
        start = dash + 1;
    }
}

size_t DifferingGroupStart(std::string_view key, std::string_view first) {
    if (key == first) return 0;
    size_t start = 0; // of the group compared now, in both keys alike
    while (true) {
        const size_t a = key.find('-', start), b = first.find('-', start);
        if (a == std::string_view::npos || a != b || key.compare(start, a - start, first, start, b - start) != 0)
            return start;
        start = a + 1;
    }
}

bool TVariantSearch::IsVariantOf(const std::string& key, const std::string& digits) const {
    std::string joined;
    for (const std::string& group : SplitVariantKey(key)) {
        if (!IsGroup(group)) return false;
        joined += group;
    }
    return joined == digits;
}

TEncodeResult MakeVariants(std::string_view numberText, TGrouping grouping,
                           const TVariantSearch& search, const TStringList& notebookEntries,
                           size_t limit, const TGroupCost* best) {
    TEncodeResult r;
    r.Number = NormaliseNumber(numberText);
    r.SearchString = SearchString(r.Number, grouping);
    auto found = best ? search.BestOrder(r.SearchString, *best, limit) : search.DisplayOrder(r.SearchString, limit);
    r.Rows = std::move(found.Rows);
    r.Cut = found.Cut;
    if (r.Rows.empty()) return r;
    r.Selected = 0;
    const std::string remembered = RememberedVariant(notebookEntries, r.SearchString);
    if (remembered.empty()) return r;
    for (size_t i = 0; i < r.Rows.size(); ++i)
        if (r.Rows[i].Variant == remembered) {
            r.Selected = static_cast<long>(i);
            return r;
        }
    if (!r.Cut) return r;
    // A cut list may have left out the remembered variant; when it is still a variant of
    // this number, show it in its place by group count so the user's choice comes back.
    if (!search.IsVariantOf(remembered, r.SearchString)) return r;
    const auto count = static_cast<int32_t>(std::count(remembered.begin(), remembered.end(), '-') + 1);
    if (best) { // it ranks after every row listed
        r.Selected = static_cast<long>(r.Rows.size());
        r.Rows.push_back(TVariantRec{remembered, count});
        return r;
    }
    const auto it = std::upper_bound(r.Rows.begin(), r.Rows.end(), count,
                                     [](int32_t c, const TVariantRec& row) { return c < row.Count; });
    r.Selected = it - r.Rows.begin();
    r.Rows.insert(it, TVariantRec{remembered, count});
    return r;
}

} // namespace nb
