// The review scheduler on fixed days against values worked out by hand from the FSRS
// formulas, the due order (new-card limit, siblings kept apart), notebook_review.txt read
// back also when damaged or written by the SM-2 version, the review log and the statistics.
#include "TestUtil.h"

#include "core/FileUnit.h"
#include "notebook/ReviewLogUnit.h"
#include "notebook/ReviewStatsUnit.h"
#include "notebook/ReviewUnit.h"

#include <gtest/gtest.h>

using namespace nb;
using nbtest::TempDir;
using nbtest::W;

namespace {

const int64_t kDay = DaysFromCivil(2026, 3, 1);
using G = TReviewGrade;

TStringList Entries(std::initializer_list<const char*> lines) {
    TStringList list(TStringList::Kind::Plain);
    for (const char* l : lines)
        list.Add(W(l));
    return list;
}

// Grades on the given days; checks stability, difficulty (four decimals) and the due day.
struct Step {
    G Grade;
    int64_t Day;
    double S, D;
    int64_t Due;
};
void Follow(const std::vector<Step>& steps) {
    TReviewCard card;
    for (const auto& s : steps) {
        GradeCard(card, s.Grade, kDay + s.Day);
        EXPECT_NEAR(card.Stability, s.S, 1e-9) << "day " << s.Day;
        EXPECT_NEAR(card.Difficulty, s.D, 1e-9) << "day " << s.Day;
        EXPECT_EQ(card.Due, kDay + s.Due) << "day " << s.Day;
    }
    EXPECT_EQ(card.First, kDay);
}

} // namespace

TEST(ReviewScheduler, FsrsValuesWorkedOutByHand) {
    // Хорошо, then each time on the due day: Хорошо, Трудно, Легко. S0 = w2, D0(3) =
    // w4 - e^(2 w5) + 1; later S' = S (1 + e^w8 (11 - D) S^-w9 (e^(w10 (1 - R)) - 1) h b).
    Follow({{G::Good, 0, 2.3065, 2.1181, 2},
            {G::Good, 2, 10.9643, 2.1170, 13},
            {G::Hard, 13, 32.1894, 4.7579, 45},
            {G::Easy, 45, 145.4135, 2.9972, 190}});
    // Снова, Хорошо the same day (S e^(w17 (G - 3 + w18)) S^-w19), Снова the next day (the
    // lapse formula), Снова and Хорошо again the same day.
    Follow({{G::Again, 0, 0.2120, 6.4133, 0},
            {G::Good, 0, 0.2467, 6.4079, 1},
            {G::Again, 1, 0.1134, 8.8103, 1},
            {G::Again, 1, 0.0465, 9.6000, 1},
            {G::Good, 1, 0.0598, 9.5914, 2}});
}

TEST(ReviewScheduler, RetentionChangesIntervalsAndDatesStayReadable) {
    TReviewCard card;
    GradeCard(card, G::Good, kDay);
    // S' = 10.9643 at the next grade: 11 days at 90 %; I = S / F (r^(-1/w20) - 1).
    EXPECT_EQ(PreviewDue(card, G::Good, kDay + 2, 0.90), kDay + 2 + 11);
    EXPECT_EQ(PreviewDue(card, G::Good, kDay + 2, 0.80), kDay + 2 + 36);
    EXPECT_EQ(PreviewDue(card, G::Good, kDay + 2, 0.97), kDay + 2 + 2);
    EXPECT_EQ(PreviewDue(card, G::Again, kDay + 2, 0.80), kDay + 2);
    EXPECT_EQ(card.Due, kDay + 2) << "a preview grades nothing";

    // The largest stability, graded near the end of the calendar: clamped, and read back.
    for (int i = 0; i < 40; ++i) GradeCard(card, G::Easy, card.Due);
    EXPECT_EQ(card.Stability, 36500);
    GradeCard(card, G::Easy, DaysFromCivil(9999, 12, 1));
    EXPECT_EQ(card.Due, LastDay());
    card.Key = "12";
    card.Source = "1-2,a";
    TReviewDeck deck{{card}, {}, false};
    const auto back = ReadReviewText(WriteReviewText(deck));
    ASSERT_EQ(back.Cards.size(), 1u);
    EXPECT_TRUE(back.Unread.empty());
    EXPECT_EQ(back.Cards[0].Due, LastDay());
}

TEST(ReviewScheduler, DueOrderNewCardLimitAndSiblings) {
    const auto entries = Entries({"12=1-2,a,b", "34=3-4,c", "56=5-6,d", "78=7-8"});
    auto cards = SyncCards({}, entries);
    ASSERT_EQ(cards.size(), 6u) << "two per entry with words";
    EXPECT_EQ(cards[1].Key, "12");
    EXPECT_EQ(cards[1].Direction, TReviewDirection::PhraseToNumber);

    // Limit 3: the first three new cards; the second card of 12 comes after the others.
    EXPECT_EQ(DueCards(cards, kDay, 3), (std::vector<size_t>{0, 2, 1}));
    EXPECT_EQ(NextDueDay(cards, kDay, 3), kDay + 1);
    // 12 failed: its sibling waits for tomorrow and frees its place under the limit; the
    // failed card comes back after the other due ones.
    GradeCard(cards[0], G::Again, kDay);
    EXPECT_EQ(DueCards(cards, kDay, 3), (std::vector<size_t>{2, 0, 3}));
    // 34 recalled: its sibling still comes last.
    GradeCard(cards[2], G::Good, kDay);
    EXPECT_EQ(DueCards(cards, kDay, 3), (std::vector<size_t>{0, 3}));
    EXPECT_EQ(DueCards(cards, kDay, 0), (std::vector<size_t>{0}));
    // Tomorrow the limit starts again; the failed card is due first.
    EXPECT_EQ(DueCards(cards, kDay + 1, 2), (std::vector<size_t>{0, 3, 1}));
}

TEST(ReviewDeck, FileRoundTripDamageAndNotebookChanges) {
    auto entries = Entries({"12=1-2,a,\"b c\"", "34=3-4,c"});
    TReviewDeck deck;
    deck.Cards = SyncCards({}, entries);
    GradeCard(deck.Cards[0], G::Good, kDay);
    GradeCard(deck.Cards[3], G::Again, kDay);

    TempDir dir;
    const std::string path = dir / "notebook_review.txt";
    SaveReviewDeck(path, deck);
    const std::string text = dir.Read("notebook_review.txt");
    EXPECT_EQ(text.substr(0, text.find("\r\n") + 2),
              "12\tnumber\t2.3065\t2.1181\t2026-03-03\t2026-03-01\t2026-03-01\t1-2,a,\"b c\"\r\n");
    EXPECT_EQ(text.substr(text.find("12\tphrase")), "12\tphrase\t-\t-\t-\t-\t-\t1-2,a,\"b c\"\r\n"
                                                   "34\tnumber\t-\t-\t-\t-\t-\t3-4,c\r\n"
                                                   "34\tphrase\t0.2120\t6.4133\t2026-03-01\t2026-03-01\t"
                                                   "2026-03-01\t3-4,c\r\n");
    EXPECT_EQ(WriteReviewText(LoadDeck(path, entries)), text);

    // A byte order mark, a zero byte, bad lines and a repeated card: every card that reads
    // counts, and what does not read is written back as it was.
    const std::vector<std::string> bad = {
        "junk", "12\tnumber\t2.0\t2.0\t2026-02-30\t2026-02-01\t2026-02-01\t1-2,a",
        "34\tnumber\t0.0001\t5\t2026-03-05\t2026-03-01\t2026-03-01\t3-4,c",
        "34\tsideways\t-\t-\t-\t-\t-\t3-4,c", "12\tnumber\t1\t1\t900\t-\t-\t-\t1-2,a",
        "34\tphrase\t-\t-\t-\t-\t-\tdup"};
    std::string damaged = "\xEF\xBB\xBF" + text.substr(0, 5) + '\0' + text.substr(5);
    for (const auto& line : bad) damaged += line + "\r\n";
    dir.Write("notebook_review.txt", damaged);
    auto read = LoadDeck(path, entries);
    EXPECT_EQ(read.Unread, bad);
    EXPECT_EQ(read.Cards[0].Due, kDay + 2) << "the card behind the mark and the zero byte";
    GradeCard(read.Cards[1], G::Good, kDay);
    SaveReviewDeck(path, read);
    const auto again = LoadReviewDeck(path);
    EXPECT_EQ(again.Unread, bad);
    EXPECT_EQ(again.Cards.size(), 4u);
    EXPECT_EQ(again.Cards[0].Due, kDay + 2);

    std::string error;
    EXPECT_TRUE(LoadReviewDeck(dir / "missing.txt", &error).Cards.empty());
    EXPECT_EQ(error, "");
    EXPECT_TRUE(LoadReviewDeck(dir.Path(), &error).Cards.empty()) << "a folder where the file should be";
    EXPECT_NE(error, "") << "and the reason, so that nothing is written over it";

    // Changing an entry's words starts its cards afresh; a removed entry drops its cards.
    entries = Entries({"34=3-4,c", "12=1-2,a,d", "56=5-6"});
    const auto synced = SyncCards(deck.Cards, entries);
    ASSERT_EQ(synced.size(), 4u);
    EXPECT_EQ(synced[0].Key, "34");
    EXPECT_EQ(synced[1].Due, kDay) << "unchanged entry keeps its state";
    EXPECT_TRUE(synced[2].IsNew());
    EXPECT_EQ(synced[2].Source, W("1-2,a,d"));

    EXPECT_TRUE(IsCardKey("12#3"));
    EXPECT_FALSE(IsCardKey("12#0"));
    EXPECT_FALSE(IsCardKey("#1"));
    EXPECT_EQ(ParseDay("2024-02-29"), DaysFromCivil(2024, 2, 29));
    EXPECT_FALSE(ParseDay("2023-02-29"));
}

TEST(ReviewDeck, Sm2DeckKeepsItsDaysAndIsKeptOnceAsBackup) {
    TempDir dir;
    const std::string path = dir / "notebook_review.txt";
    // Written by the SM-2 version: interval 15 days, E-Factor 2.16; one failed (interval 0,
    // E-Factor 1.3); one new.
    const std::string sm2 = "12\tnumber\t3\t15\t2160\t2026-03-10\t2026-02-01\t2026-02-23\t1-2,a\r\n"
                            "12\tphrase\t0\t0\t1300\t2026-03-01\t2026-02-01\t2026-03-01\t1-2,a\r\n"
                            "34\tnumber\t0\t0\t2500\t-\t-\t-\t3-4,c\r\n";
    dir.Write("notebook_review.txt", sm2);
    auto deck = LoadDeck(path, Entries({"12=1-2,a", "34=3-4,c"}));
    ASSERT_EQ(deck.Cards.size(), 4u);
    EXPECT_TRUE(deck.Migrated);
    EXPECT_EQ(deck.Cards[0].Due, DaysFromCivil(2026, 3, 10));
    EXPECT_EQ(deck.Cards[0].Last, DaysFromCivil(2026, 2, 23));
    EXPECT_EQ(deck.Cards[0].Stability, 15) << "the interval";
    EXPECT_NEAR(deck.Cards[0].Difficulty, 1 + (3.0 - 2.16) * 9 / 1.7, 1e-4);
    EXPECT_EQ(deck.Cards[1].Stability, 0.212) << "at least w0";
    EXPECT_EQ(deck.Cards[1].Difficulty, 10);
    EXPECT_TRUE(deck.Cards[2].IsNew());

    GradeCard(deck.Cards[1], G::Good, kDay);
    SaveReviewDeck(path, deck);
    EXPECT_EQ(dir.Read("notebook_review_sm2.txt"), sm2);
    EXPECT_FALSE(LoadReviewDeck(path).Migrated);
    dir.Write("notebook_review.txt", "12\tnumber\t1\t1\t2500\t2026-03-02\t2026-03-01\t2026-03-01\t1-2,a\r\n");
    auto later = LoadReviewDeck(path);
    SaveReviewDeck(path, later);
    EXPECT_EQ(dir.Read("notebook_review_sm2.txt"), sm2) << "kept once: never overwritten";
}

TEST(ReviewLog, AppendsTornLinesAndStatistics) {
    TempDir dir;
    const std::string path = dir / "notebook_review_log.txt";
    TReviewCard card;
    card.Key = "12";
    card.Source = "1-2,a";
    auto grade = [&](G g, int64_t day) {
        const TReviewCard before = card;
        GradeCard(card, g, day);
        AppendReviewLog(path, MakeLogEntry(before, card, g, day));
    };
    grade(G::Good, kDay);
    grade(G::Again, kDay + 2);
    EXPECT_EQ(dir.Read("notebook_review_log.txt"),
              "2026-03-01\t12\tnumber\t3\t-\t2.3065\t2.1181\r\n"
              "2026-03-03\t12\tnumber\t1\t2\t0.6076\t7.4003\r\n");
    // A kill during an append: the cut line is skipped, the next append starts afresh.
    dir.Write("notebook_review_log.txt", dir.Read("notebook_review_log.txt") + "2026-03-03\t12\tnum");
    EXPECT_EQ(LoadReviewLog(path).size(), 2u);
    grade(G::Good, kDay + 2);
    const auto log = LoadReviewLog(path);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2].Elapsed, 0);
    EXPECT_EQ(log[2].Grade, G::Good);

    // Statistics on kDay + 3: retention counts only reviews on a later day (1 of 1 failed).
    auto cards = SyncCards({}, Entries({"12=1-2,a", "34=3-4,c"}));
    cards[0] = card;
    GradeCard(cards[2], G::Easy, kDay); // 34 number: 8.2956 -> due in 8 days
    const auto st = ComputeReviewStats(cards, log, kDay + 3, 20);
    EXPECT_EQ(st.Cards, 4u);
    EXPECT_EQ(st.New, 2u);
    EXPECT_EQ(st.Learning, 2u);
    EXPECT_EQ(st.Mature, 0u);
    EXPECT_EQ(st.Reviews, 3u);
    EXPECT_EQ(st.Retention30.Reviews, 1u);
    EXPECT_EQ(st.Retention30.Recalled, 0u);
    EXPECT_EQ(st.DueToday, 3u) << "12 number (S 0.6597: 1 day) and the two new cards";
    EXPECT_EQ(st.DuePerDay[0], 3u);
    EXPECT_EQ(st.DuePerDay[1], 0u);
    EXPECT_EQ(st.DuePerDay[5], 1u) << "34 number on kDay + 8";
    EXPECT_EQ(st.ReviewsPerDay[kStatsDays - 2][0], 1u);
    EXPECT_EQ(st.ReviewsPerDay[kStatsDays - 2][2], 1u);
    EXPECT_EQ(st.ReviewsPerDay[kStatsDays - 4][2], 1u);
}
