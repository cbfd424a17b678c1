#include "NotebookViewUnit.h"

#include "core/TextUnit.h"
#include "dictionary/CollationUnit.h"
#include "notebook/NotebookStoreUnit.h"
#include "notebook/ReviewUnit.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <unordered_map>

namespace nb {

namespace {

struct TNext {
    int64_t Day = kNoDay;
    bool HasCards = false;
    void Add(const TReviewCard& card) {
        HasCards = true;
        if (!card.IsNew() && (Day == kNoDay || card.Due < Day)) Day = card.Due;
    }
};

// A code's digits in number order: the digits without leading zeros by length, then by
// digit, then the count of leading zeros; ties fall to the split text.
std::string CodeSortKey(const std::string& code) {
    const std::string digits = NotebookKey(code);
    const size_t zeros = std::min(digits.find_first_not_of('0'), digits.size());
    const std::string number = digits.substr(zeros);
    // Fixed-width lengths make byte order the number order.
    char head[24];
    std::snprintf(head, sizeof head, "%010zu%010zu", number.size(), zeros);
    return std::string(head, 10) + number + '\0' + std::string(head + 10, 10) + '\0' + code;
}

} // namespace

void SetNextReviews(std::vector<TNotebookRec>& rows, const std::vector<TReviewCard>& cards) {
    std::unordered_map<std::string, TNext> next;
    next.reserve(cards.size());
    for (const TReviewCard& card : cards) {
        next[card.Key].Add(card);
        // A piece's card counts for its entry too.
        if (const auto hash = card.Key.find('#'); hash != std::string::npos) next[card.Key.substr(0, hash)].Add(card);
    }
    for (TNotebookRec& row : rows) {
        if (const auto it = next.find(row.Key); it != next.end()) {
            row.NextReview = it->second.Day;
            row.HasCards = it->second.HasCards;
        }
        for (TNotebookPiece& piece : row.Pieces)
            if (const auto it = next.find(row.Key + '#' + std::to_string(piece.Index)); it != next.end()) {
                piece.NextReview = it->second.Day;
                piece.HasCards = it->second.HasCards;
            }
    }
}

std::string NextReviewText(int64_t day, bool hasCards) {
    if (day == kNoDay) return hasCards ? Utf8ToCp1251("новая") : std::string();
    const std::string iso = DayText(day); // YYYY-MM-DD
    return iso.substr(8, 2) + '.' + iso.substr(5, 2) + '.' + iso.substr(0, 4);
}

std::vector<size_t> NotebookOrder(const std::vector<TNotebookRec>& rows, TNotebookColumn column,
                                  bool descending) {
    std::vector<size_t> order(rows.size());
    std::iota(order.begin(), order.end(), size_t{0});
    if (column == TNotebookColumn::NextReview) {
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            const int64_t x = rows[a].NextReview, y = rows[b].NextReview;
            if ((x == kNoDay) != (y == kNoDay)) return y == kNoDay; // no date last
            return descending ? x > y : x < y;
        });
        return order;
    }
    // One key a row: the collation of every comparison would cost a big notebook seconds.
    std::vector<std::string> keys(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        keys[i] = column == TNotebookColumn::Code    ? CodeSortKey(rows[i].Code)
                  : column == TNotebookColumn::Words ? CollationKey(rows[i].Words)
                                                     : CollationKey(rows[i].Note);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return descending ? keys[b] < keys[a] : keys[a] < keys[b]; });
    return order;
}

TNotebookFilter::TNotebookFilter(std::string_view text) {
    const std::string lower = LowerCase(text);
    size_t i = 0;
    while (i < lower.size()) {
        while (i < lower.size() && lower[i] == ' ') ++i;
        size_t j = i;
        while (j < lower.size() && lower[j] != ' ') ++j;
        if (j == i) break;
        TWord word{lower.substr(i, j - i), {}};
        // Digits with dashes between them are digits of the code too.
        if (word.Text.find_first_not_of("0123456789-") == std::string::npos)
            for (char c : word.Text)
                if (c != '-') word.Digits += c;
        words_.push_back(std::move(word));
        i = j;
    }
}

bool TNotebookFilter::Matches(const TNotebookRec& row) const {
    if (words_.empty()) return true;
    const std::string digits = NotebookKey(row.Code);
    std::vector<std::string> texts{LowerCase(row.Words), LowerCase(row.Note)};
    for (const TNotebookPiece& p : row.Pieces) texts.push_back(LowerCase(p.Place));
    return std::all_of(words_.begin(), words_.end(), [&](const TWord& w) {
        if (!w.Digits.empty() && digits.find(w.Digits) != std::string::npos) return true;
        return std::any_of(texts.begin(), texts.end(),
                           [&](const std::string& t) { return t.find(w.Text) != std::string::npos; });
    });
}

} // namespace nb
