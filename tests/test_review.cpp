// The review scheduler on fixed days, the deck synced with the notebook, and
// notebook_review.txt read back, also when damaged.
#include "TestUtil.h"

#include "core/FileUnit.h"
#include "notebook/ReviewUnit.h"

#include <gtest/gtest.h>

using namespace nb;
using nbtest::TempDir;
using nbtest::W;

namespace {

const int64_t kDay = DaysFromCivil(2026, 3, 1);

TStringList Entries(std::initializer_list<const char*> lines) {
    TStringList list(TStringList::Kind::Plain);
    for (const char* l : lines)
        list.Add(W(l));
    return list;
}

// A card graded `grades` times on the days it fell due; returns the intervals.
std::vector<int32_t> Intervals(std::initializer_list<TReviewGrade> grades) {
    TReviewCard card;
    int64_t day = kDay;
    std::vector<int32_t> out;
    for (auto g : grades) {
        GradeCard(card, g, day);
        out.push_back(card.Interval);
        day = card.Due;
    }
    return out;
}

} // namespace

TEST(ReviewScheduler, IntervalsFollowTheGrades) {
    using G = TReviewGrade;
    EXPECT_EQ(Intervals({G::Good, G::Good, G::Good, G::Good}),
              (std::vector<int32_t>{1, 6, 15, 38}));
    // SM-2 fixes the first two intervals; from then on the grade decides: easy > good > hard.
    const int32_t hard = Intervals({G::Good, G::Good, G::Good, G::Hard}).back();
    const int32_t good = Intervals({G::Good, G::Good, G::Good, G::Good}).back();
    const int32_t easy = Intervals({G::Good, G::Good, G::Good, G::Easy}).back();
    EXPECT_LT(hard, good);
    EXPECT_LT(good, easy);

    // "Снова" brings the card back the same day and starts the repetitions again; the
    // E-Factor stays, and it never sinks below 1.3.
    TReviewCard card;
    GradeCard(card, G::Good, kDay);
    GradeCard(card, G::Good, kDay + 1);
    GradeCard(card, G::Again, kDay + 7);
    EXPECT_EQ(card.Due, kDay + 7);
    EXPECT_EQ(card.Repetitions, 0);
    EXPECT_EQ(card.Ease, kInitialEase);
    GradeCard(card, G::Good, kDay + 7);
    EXPECT_EQ(card.Due, kDay + 8);
    for (int i = 0; i < 20; ++i)
        GradeCard(card, G::Hard, card.Due);
    EXPECT_EQ(card.Ease, kMinimumEase);
    EXPECT_EQ(card.First, kDay) << "the first grade's day stays";
}

TEST(ReviewScheduler, DueOrderAndTheNewCardLimit) {
    const auto entries = Entries({"12=1-2,a,b", "34=3-4,c", "56=5-6,d", "78=7-8"});
    auto cards = SyncCards({}, entries);
    ASSERT_EQ(cards.size(), 6u) << "two per entry with words";
    EXPECT_EQ(cards[1].Key, "12");
    EXPECT_EQ(cards[1].Direction, TReviewDirection::PhraseToNumber);

    // Limit 3: the first three new cards in notebook order; the rest wait for tomorrow.
    EXPECT_EQ(DueCards(cards, kDay, 3), (std::vector<size_t>{0, 1, 2}));
    EXPECT_EQ(NextDueDay(cards, kDay, 3), kDay + 1);
    GradeCard(cards[0], TReviewGrade::Again, kDay);
    GradeCard(cards[1], TReviewGrade::Good, kDay);
    // A failed card comes back after the other due ones; cards started today count against
    // the limit.
    EXPECT_EQ(DueCards(cards, kDay, 3), (std::vector<size_t>{2, 0}));
    GradeCard(cards[2], TReviewGrade::Good, kDay - 1); // seen longer ago: earlier
    cards[2].Due = kDay;
    EXPECT_EQ(DueCards(cards, kDay, 3), (std::vector<size_t>{2, 3, 0}));
    EXPECT_EQ(DueCards(cards, kDay, 0), (std::vector<size_t>{2, 0}));
    // Tomorrow the limit starts again.
    EXPECT_EQ(DueCards(cards, kDay + 1, 2), (std::vector<size_t>{2, 0, 1, 3, 4}));
}

TEST(ReviewDeck, FileRoundTripDamageAndNotebookChanges) {
    auto entries = Entries({"12=1-2,a,\"b c\"", "34=3-4,c"});
    auto cards = SyncCards({}, entries);
    GradeCard(cards[0], TReviewGrade::Good, kDay);
    GradeCard(cards[0], TReviewGrade::Easy, kDay + 1);
    GradeCard(cards[3], TReviewGrade::Again, kDay);

    TempDir dir;
    SaveReviewCards(dir / "notebook_review.txt", cards);
    const std::string text = dir.Read("notebook_review.txt");
    EXPECT_EQ(text.substr(0, text.find("\r\n") + 2),
              "12\tnumber\t2\t6\t2600\t2026-03-08\t2026-03-01\t2026-03-02\t1-2,a,\"b c\"\r\n");
    EXPECT_EQ(WriteReviewText(LoadDeck(dir / "notebook_review.txt", entries)), text);

    // Bad lines are skipped, good ones after them still count; a missing file is no deck.
    const std::string damaged = "junk\r\n12\tnumber\t1\t1\t2500\t2026-02-30\t-\t-\t1-2,a\r\n"
                                "34\tnumber\tx\t1\t2500\t-\t-\t-\t3-4,c\r\n"
                                "34\tsideways\t0\t0\t2500\t-\t-\t-\t3-4,c\r\n"
                                "12\tnumber\t0\t0\t900\t-\t-\t-\t1-2,a\r\n"
                                "\r\n" +
                                text.substr(text.find("\r\n") + 2) +
                                "34\tphrase\t0\t0\t2500\t-\t-\t-\tdup";
    const auto read = ReadReviewText(damaged);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0].Key, "12");
    EXPECT_EQ(read[0].Direction, TReviewDirection::PhraseToNumber);
    EXPECT_EQ(read[2].Due, kDay);
    EXPECT_TRUE(LoadReviewCards(dir / "missing.txt").empty());
    std::string error;
    EXPECT_TRUE(LoadReviewCards(dir.Path(), &error).empty()) << "a folder where the file should be";
    EXPECT_NE(error, "") << "and the reason, so that nothing is written over it";

    // Changing an entry's words starts its cards afresh; a removed entry drops its cards.
    entries = Entries({"34=3-4,c", "12=1-2,a,d", "56=5-6"});
    const auto synced = SyncCards(cards, entries);
    ASSERT_EQ(synced.size(), 4u);
    EXPECT_EQ(synced[0].Key, "34");
    EXPECT_EQ(synced[1].Due, kDay) << "unchanged entry keeps its state";
    EXPECT_EQ(synced[2].Key, "12");
    EXPECT_TRUE(synced[2].IsNew());
    EXPECT_EQ(synced[2].Source, W("1-2,a,d"));

    EXPECT_EQ(ParseDay("2024-02-29"), DaysFromCivil(2024, 2, 29));
    EXPECT_EQ(DayText(DaysFromCivil(1969, 12, 31)), "1969-12-31");
    EXPECT_FALSE(ParseDay("2023-02-29"));
    EXPECT_FALSE(ParseDay("2023-2-28"));
}
