// The review deck and log: any content reads; what is written reads back the same (no
// line lost, no value the reader refuses); grading every due card, on any day up to the
// last a date can name, writes only what reads back.
#include "FuzzUtil.h"

#include "notebook/ReviewLogUnit.h"
#include "notebook/ReviewStatsUnit.h"
#include "notebook/ReviewUnit.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = nbfuzz::Parts(data, size, 4);
    nb::TReviewDeck deck = nb::ReadReviewText(parts[0]);
    const std::string text = nb::WriteReviewText(deck);
    const nb::TReviewDeck back = nb::ReadReviewText(text);
    NB_CHECK(back.Cards.size() == deck.Cards.size());
    NB_CHECK(back.Unread == deck.Unread);
    NB_CHECK(nb::WriteReviewText(back) == text);

    const auto log = nb::ReadReviewLog(parts[1]);
    std::string logText;
    for (const auto& e : log) logText += nb::ReviewLogLine(e);
    NB_CHECK(nb::ReadReviewLog(logText).size() == log.size());

    // A day from the input, within the calendar's four-digit years.
    int64_t today = nb::DaysFromCivil(2026, 3, 1);
    if (parts[2].size() >= 4) {
        uint32_t raw = 0;
        for (size_t i = 0; i < 4; ++i) raw = raw << 8 | static_cast<uint8_t>(parts[2][i]);
        today = nb::DaysFromCivil(0, 1, 1) + static_cast<int64_t>(raw % 3652425u);
    }
    const double retention = 0.70 + static_cast<double>(parts[3].size() % 30) / 100;
    for (int round = 0; round < 3; ++round) {
        const auto due = nb::DueCards(deck.Cards, today, 20);
        for (size_t n = 0; n < due.size() && n < 50; ++n) {
            nb::TReviewCard& card = deck.Cards[due[n]];
            const nb::TReviewCard before = card;
            const auto grade = static_cast<nb::TReviewGrade>((n + static_cast<size_t>(round)) % 4);
            nb::GradeCard(card, grade, today, retention);
            logText += nb::ReviewLogLine(nb::MakeLogEntry(before, card, grade, today));
        }
        today = std::min(today + 400, nb::LastDay());
    }
    const nb::TReviewDeck graded = nb::ReadReviewText(nb::WriteReviewText(deck));
    NB_CHECK(graded.Cards.size() == deck.Cards.size());
    NB_CHECK(graded.Unread == deck.Unread);
    const auto fullLog = nb::ReadReviewLog(logText);
    (void)nb::ComputeReviewStats(deck.Cards, fullLog, today, 20);
    return 0;
}
