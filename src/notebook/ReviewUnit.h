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
// "Снова", "Трудно", "Хорошо", "Легко": the scheduler's grades 1 to 4.
enum class TReviewGrade { Again, Hard, Good, Easy };

inline int GradeNumber(TReviewGrade grade) { return static_cast<int>(grade) + 1; }
// The names used in the file and by the command-line tool: "number" (number -> phrase)
// and "phrase" (phrase -> number).
const char* DirectionName(TReviewDirection direction);
std::optional<TReviewDirection> ParseDirection(std::string_view name);

inline constexpr int64_t kNoDay = INT64_MIN;
inline constexpr double kDefaultDesiredRetention = 0.90;
inline constexpr double kMinDesiredRetention = 0.70;
inline constexpr double kMaxDesiredRetention = 0.99;

// A card key: the notebook key (digits), or KEY#I (I from 1) for a part of that entry.
// Cards with the same key are siblings.
bool IsCardKey(std::string_view key);

struct TReviewCard {
    std::string Key; // see IsCardKey
    TReviewDirection Direction = TReviewDirection::NumberToPhrase;
    std::string Source;     // the entry's comma list the card was made from
    double Stability = 0;   // days; 0 for a new card
    double Difficulty = 0;  // 1..10; 0 for a new card
    int64_t Due = kNoDay;   // day of the next review; kNoDay for a new card
    int64_t First = kNoDay; // day of the first grade (counts against the new-card limit)
    int64_t Last = kNoDay;  // day of the last grade

    bool IsNew() const { return First == kNoDay; }
    // Days from the last grade to the next review (0 after "Снова").
    int64_t Interval() const { return IsNew() ? 0 : Due - Last; }
};

// The last day a date can name (9999-12-31): no due day goes past it.
int64_t LastDay();

// Grades a card on `today` (FSRS, see FsrsUnit) for the desired retention (0.70-0.99).
void GradeCard(TReviewCard& card, TReviewGrade grade, int64_t today,
               double retention = kDefaultDesiredRetention);
// The due day that grade would give, the card unchanged: for the grade buttons.
int64_t PreviewDue(const TReviewCard& card, TReviewGrade grade, int64_t today,
                   double retention = kDefaultDesiredRetention);

// The cards of the notebook, in notebook order, two per entry with words. A card already in
// `cards` keeps its state while its entry is unchanged; a changed entry starts afresh; cards
// of entries no longer in the notebook are dropped.
std::vector<TReviewCard> SyncCards(const std::vector<TReviewCard>& cards,
                                   const TStringList& entries);
// One card key and the text its state belongs to (PieceCardsUnit gives them for entries
// in pieces): the same for its two cards, which start afresh when it changes.
struct TCardSource {
    std::string Key;
    std::string Source;
};
// The same for cards listed by key and source, in that order.
std::vector<TReviewCard> SyncCards(const std::vector<TReviewCard>& cards,
                                   const std::vector<TCardSource>& sources);

// Indices into `cards` of what is due on `today`, in review order: cards already learnt
// whose day has come (earliest due first, then the one seen longest ago, then deck
// order); then new cards in deck order, as many as `newPerDay` minus the new cards first
// graded today allow; then the cards failed today, in deck order. Siblings are kept apart:
// of two due siblings the second comes after all other cards, and a card whose sibling
// was failed today waits for tomorrow.
std::vector<size_t> DueCards(const std::vector<TReviewCard>& cards, int64_t today,
                             int32_t newPerDay);
// The first day after `today` on which a card is due, or kNoDay. New cards held back by the
// daily limit and cards held back for a failed sibling count as due tomorrow.
int64_t NextDueDay(const std::vector<TReviewCard>& cards, int64_t today, int32_t newPerDay);

// Days since 1970-01-01 of a calendar date, and back; "YYYY-MM-DD" text.
int64_t DaysFromCivil(int32_t year, uint32_t month, uint32_t day);
// Today as the scheduler counts days, from the local calendar.
int64_t ReviewToday();
std::string DayText(int64_t day);
std::optional<int64_t> ParseDay(std::string_view text);

// notebook_review.txt (the format is documented at the reader): the cards, and the lines
// the reader could not take, which every write keeps as they were.
struct TReviewDeck {
    std::vector<TReviewCard> Cards;
    std::vector<std::string> Unread;
    // Cards came from a file of the former SM-2 scheduler: before the first write the
    // file is kept once as ReviewBackupPath.
    bool Migrated = false;
};

// Reads every line it can: a zero byte is dropped, a byte order mark skipped.
TReviewDeck ReadReviewText(std::string_view bytes);
// A missing file is an empty deck. `error`, when given, gets the reason a file that exists
// could not be read (writing over it would lose it), or stays empty.
TReviewDeck LoadReviewDeck(const std::string& path, std::string* error = nullptr);
std::string WriteReviewText(const TReviewDeck& deck);
// Written atomically, after the backup of a migrated deck. Throws EError.
void SaveReviewDeck(const std::string& path, TReviewDeck& deck);
// Beside the deck: notebook_review_sm2.txt.
std::string ReviewBackupPath(const std::string& deckPath);

// The deck of a program folder as the program sees it: the file synced with the notebook.
// With `pieces`, an entry cut into pieces has its cards a piece (PieceCardsUnit).
class TPiecesList;
TReviewDeck LoadDeck(const std::string& path, const TStringList& entries,
                     std::string* error = nullptr, const TPiecesList* pieces = nullptr);
// How many of its cards are due today: the count in the review command's caption.
size_t DueReviewCount(const TStringList& entries, const std::string& deckPath, int32_t newPerDay,
                      const TPiecesList* pieces = nullptr);

} // namespace nb
