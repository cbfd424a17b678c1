#include "ReviewStatsUnit.h"

namespace nb {

TReviewStats ComputeReviewStats(const std::vector<TReviewCard>& cards,
                                const std::vector<TReviewLogEntry>& log, int64_t today,
                                int32_t newPerDay) {
    TReviewStats st;
    st.Today = today;
    st.Cards = cards.size();
    for (const auto& c : cards) {
        if (c.IsNew()) {
            ++st.New;
            continue;
        }
        ++(c.Interval() < kMatureInterval ? st.Learning : st.Mature);
        // Later days: what falls due then (what is overdue is today's).
        if (c.Due > today && c.Due - today < kStatsDays) ++st.DuePerDay[static_cast<size_t>(c.Due - today)];
    }
    st.DueToday = DueCards(cards, today, newPerDay).size();
    st.DuePerDay[0] = st.DueToday;
    st.Reviews = log.size();
    for (const auto& e : log) {
        const int64_t ago = today - e.Day;
        if (ago < 0) continue; // a day after the one asked about
        const bool counts = e.Elapsed >= 1;
        const bool recalled = e.Grade != TReviewGrade::Again;
        if (ago < kStatsDays) {
            ++st.ReviewsPerDay[static_cast<size_t>(kStatsDays - 1 - ago)][static_cast<size_t>(e.Grade)];
            if (counts) {
                ++st.Retention30.Reviews;
                st.Retention30.Recalled += recalled;
            }
        }
        const int64_t week = ago / 7;
        if (counts && week < kStatsWeeks) {
            auto& r = st.RetentionPerWeek[static_cast<size_t>(kStatsWeeks - 1 - week)];
            ++r.Reviews;
            r.Recalled += recalled;
        }
    }
    return st;
}

} // namespace nb
