// The review statistics of the statistics window and of `numbrelia-cli stats`, from the
// deck and the review log on a given day.
#pragma once

#include "notebook/ReviewLogUnit.h"
#include "notebook/ReviewUnit.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace nb {

// A card whose interval is shorter than this is still being learnt; from it on it is mature.
inline constexpr int64_t kMatureInterval = 21;
inline constexpr int kStatsDays = 30;
inline constexpr int kStatsWeeks = 12;

struct TRetention {
    size_t Reviews = 0;  // reviews on a later day than the card's previous grade
    size_t Recalled = 0; // of them graded "Трудно" or better
    std::optional<double> Share() const {
        return Reviews ? std::optional<double>(static_cast<double>(Recalled) / Reviews) : std::nullopt;
    }
};

struct TReviewStats {
    int64_t Today = 0;
    size_t Cards = 0, New = 0, Learning = 0, Mature = 0, DueToday = 0;
    size_t Reviews = 0; // every line of the log
    TRetention Retention30; // the last 30 days, today included
    // Due cards on today + i (i = 0: what is due today, as the review shows it).
    std::array<size_t, kStatsDays> DuePerDay{};
    // Reviews on today - 29 + i, by grade (Снова .. Легко).
    std::array<std::array<size_t, 4>, kStatsDays> ReviewsPerDay{};
    // Retention in the week ending today - 7 * (kStatsWeeks - 1 - i): the last is this week.
    std::array<TRetention, kStatsWeeks> RetentionPerWeek{};
};

TReviewStats ComputeReviewStats(const std::vector<TReviewCard>& cards,
                                const std::vector<TReviewLogEntry>& log, int64_t today,
                                int32_t newPerDay);

} // namespace nb
