// The review log, notebook_review_log.txt beside the deck: one line per grade, appended and
// flushed as the grade is given, never rewritten. Lines stay when their entry leaves the
// notebook, so the statistics stay true.
#pragma once

#include "notebook/ReviewUnit.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nb {

struct TReviewLogEntry {
    int64_t Day = 0;
    std::string Key;
    TReviewDirection Direction = TReviewDirection::NumberToPhrase;
    TReviewGrade Grade = TReviewGrade::Good;
    int64_t Elapsed = -1; // days since the card's previous grade; -1 for its first
    double Stability = 0; // after the grade
    double Difficulty = 0;
};

std::string ReviewLogPath(const std::string& deckPath);

// The entry for a grade just given: `before` is the card before it, `after` after it.
TReviewLogEntry MakeLogEntry(const TReviewCard& before, const TReviewCard& after,
                             TReviewGrade grade, int64_t today);

std::string ReviewLogLine(const TReviewLogEntry& entry);
// Every line that reads; a last line without its line end (an append cut short) is not
// one. Zero bytes are dropped, a byte order mark skipped.
std::vector<TReviewLogEntry> ReadReviewLog(std::string_view bytes);
// A missing or unreadable log is an empty one.
std::vector<TReviewLogEntry> LoadReviewLog(const std::string& path);
// Appends one line (after a line end, should the file end in a cut line). Throws EError.
void AppendReviewLog(const std::string& path, const TReviewLogEntry& entry);

} // namespace nb
