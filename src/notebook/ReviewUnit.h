// Reviewing the notebook with spaced repetition. Every notebook entry with words gives two
// cards: number -> phrase (recall the words) and phrase -> number (type the digits). Each
// card carries the scheduler's state; the deck lives in notebook_review.txt beside the
// notebook. Dates are whole days (days since 1970-01-01); the caller says which day is
// "today", so the scheduler never looks at a clock.
#pragma once

#include "dictionary/StringListUnit.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nb {

enum class TReviewDirection { NumberToPhrase, PhraseToNumber };
// "Снова", "Трудно", "Хорошо", "Легко".
enum class TReviewGrade { Again, Hard, Good, Easy };

// The SM-2 quality a grade stands for: 1, 3, 4, 5.
int ReviewQuality(TReviewGrade grade);
// The names used in the file and by the command-line tool: "number" (number -> phrase)
// and "phrase" (phrase -> number).
const char* DirectionName(TReviewDirection direction);
std::optional<TReviewDirection> ParseDirection(std::string_view name);

inline constexpr int64_t kNoDay = INT64_MIN;
inline constexpr int32_t kInitialEase = 2500; // E-Factor 2.5, in thousandths
inline constexpr int32_t kMinimumEase = 1300; // E-Factor 1.3

struct TReviewCard {
    std::string Key; // the notebook key (digits)
    TReviewDirection Direction = TReviewDirection::NumberToPhrase;
    std::string Source;          // the entry's comma list the card was made from
    int32_t Repetitions = 0;     // correct answers in a row
    int32_t Interval = 0;        // days until the next review after the last one
    int32_t Ease = kInitialEase; // E-Factor in thousandths
    int64_t Due = kNoDay;        // day of the next review; kNoDay for a new card
    int64_t First = kNoDay;      // day of the first grade (counts against the new-card limit)
    int64_t Last = kNoDay;       // day of the last grade

    bool IsNew() const { return First == kNoDay; }
};

// Grades a card on `today` (SM-2, see the .cpp).
void GradeCard(TReviewCard& card, TReviewGrade grade, int64_t today);

// The cards of the notebook, in notebook order, two per entry with words. A card already in
// `cards` keeps its state while its entry is unchanged; a changed entry starts afresh; cards
// of entries no longer in the notebook are dropped.
std::vector<TReviewCard> SyncCards(const std::vector<TReviewCard>& cards,
                                   const TStringList& entries);

// Indices into `cards` of what is due on `today`, in review order: cards already learnt
// whose day has come (earliest due first, then the one seen longest ago, then deck
// order); then new cards in deck order, as many as `newPerDay` minus the new cards first
// graded today allow; last the cards failed today, in deck order.
std::vector<size_t> DueCards(const std::vector<TReviewCard>& cards, int64_t today,
                             int32_t newPerDay);
// The first day after `today` on which a card is due, or kNoDay. New cards held back by the
// daily limit count as due tomorrow.
int64_t NextDueDay(const std::vector<TReviewCard>& cards, int64_t today, int32_t newPerDay);

// Days since 1970-01-01 of a calendar date, and back; "YYYY-MM-DD" text.
int64_t DaysFromCivil(int32_t year, uint32_t month, uint32_t day);
// Today as the scheduler counts days, from the local calendar.
int64_t ReviewToday();
std::string DayText(int64_t day);
std::optional<int64_t> ParseDay(std::string_view text);

// notebook_review.txt: reading keeps every good line and skips bad ones (the format is
// documented at the reader); a missing or unreadable file is an empty deck. `error`, when
// given, gets the reason a file that exists could not be read (writing over it would
// lose it), or stays empty.
std::vector<TReviewCard> ReadReviewText(std::string_view bytes);
std::vector<TReviewCard> LoadReviewCards(const std::string& path, std::string* error = nullptr);
std::string WriteReviewText(const std::vector<TReviewCard>& cards);
// Written atomically. Throws EError.
void SaveReviewCards(const std::string& path, const std::vector<TReviewCard>& cards);

// The deck of a program folder as the program sees it: the file synced with the notebook.
std::vector<TReviewCard> LoadDeck(const std::string& path, const TStringList& entries,
                                  std::string* error = nullptr);
// How many of its cards are due today: the count in the review command's caption.
size_t DueReviewCount(const TStringList& entries, const std::string& deckPath, int32_t newPerDay);

} // namespace nb
