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
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    text_ = LowerCase(text);
    std::string digits;
    for (char c : text_) {
        if (c >= '0' && c <= '9')
            digits += c;
        else if (c != '-' && c != ' ')
            return;
    }
    digits_ = std::move(digits);
}

bool TNotebookFilter::Matches(const TNotebookRec& row) const {
    if (text_.empty()) return true;
    if (!digits_.empty() && NotebookKey(row.Code).find(digits_) != std::string::npos) return true;
    const auto has = [this](const std::string& s) { return LowerCase(s).find(text_) != std::string::npos; };
    if (has(row.Words) || has(row.Note)) return true;
    return std::any_of(row.Pieces.begin(), row.Pieces.end(), [&](const TNotebookPiece& p) { return has(p.Place); });
}

} // namespace nb
