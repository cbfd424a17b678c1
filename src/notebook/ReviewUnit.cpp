#include "ReviewUnit.h"

#include "notebook/PieceCardsUnit.h"

#include "core/FileUnit.h"
#include "core/TextUnit.h"
#include "notebook/FsrsUnit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <set>
#include <utility>

namespace nb {

// The scheduler is FSRS (FsrsUnit). A new card's first grade sets its stability and
// difficulty; every later grade updates them from the days since the previous grade.
// "Снова" brings the card back the same day; any other grade sets the next review at the
// interval for the desired retention. The state is kept to four decimals, as the file
// holds it, so a grade gives the same result whether the deck was just read or not.

const char* DirectionName(TReviewDirection direction) {
    return direction == TReviewDirection::NumberToPhrase ? "number" : "phrase";
}

std::optional<TReviewDirection> ParseDirection(std::string_view name) {
    if (name == "number") return TReviewDirection::NumberToPhrase;
    if (name == "phrase") return TReviewDirection::PhraseToNumber;
    return std::nullopt;
}

namespace {

bool Digits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

double Round4(double v) { return std::round(v * 10000.0) / 10000.0; }

} // namespace

bool IsCardKey(std::string_view key) {
    const auto hash = key.find('#');
    if (hash == std::string_view::npos) return Digits(key);
    const auto part = key.substr(hash + 1);
    int32_t index = 0;
    return Digits(key.substr(0, hash)) && Digits(part) && part[0] != '0' &&
           ParseInt32(part, index);
}

int64_t LastDay() { return DaysFromCivil(9999, 12, 31); }

void GradeCard(TReviewCard& card, TReviewGrade grade, int64_t today, double retention) {
    const int g = GradeNumber(grade);
    TFsrsMemory memory;
    if (card.IsNew()) {
        memory = FsrsFirst(g);
        card.First = today;
    } else {
        // A date before the last grade (a clock set back) counts as the same day.
        const int64_t days = today > card.Last ? today - card.Last : 0;
        memory = FsrsNext({card.Stability, card.Difficulty}, g, days);
    }
    card.Stability = std::max(kFsrsMinStability, Round4(memory.Stability));
    card.Difficulty = Round4(memory.Difficulty);
    card.Last = today;
    const int64_t interval = grade == TReviewGrade::Again ? 0 : FsrsInterval(card.Stability, retention);
    // No date past the last one a date can name, so the file always reads back.
    card.Due = std::min(today + interval, std::max(today, LastDay()));
    if (card.First > card.Last) card.First = card.Last;
}

int64_t PreviewDue(const TReviewCard& card, TReviewGrade grade, int64_t today, double retention) {
    TReviewCard copy = card;
    GradeCard(copy, grade, today, retention);
    return copy.Due;
}

std::vector<TReviewCard> SyncCards(const std::vector<TReviewCard>& cards,
                                   const TStringList& entries) {
    return SyncCards(cards, CardSources(entries, TPiecesList()));
}

std::vector<TReviewCard> SyncCards(const std::vector<TReviewCard>& cards,
                                   const std::vector<TCardSource>& sources) {
    std::map<std::pair<std::string, TReviewDirection>, const TReviewCard*> known;
    for (const auto& c : cards)
        known.emplace(std::make_pair(c.Key, c.Direction), &c);
    std::vector<TReviewCard> synced;
    for (const TCardSource& source : sources) {
        for (auto dir : {TReviewDirection::NumberToPhrase, TReviewDirection::PhraseToNumber}) {
            const auto it = known.find({source.Key, dir});
            if (it != known.end() && it->second->Source == source.Source) {
                synced.push_back(*it->second);
                continue;
            }
            TReviewCard fresh;
            fresh.Key = source.Key;
            fresh.Direction = dir;
            fresh.Source = source.Source;
            synced.push_back(std::move(fresh));
        }
    }
    return synced;
}

std::vector<size_t> DueCards(const std::vector<TReviewCard>& cards, int64_t today,
                             int32_t newPerDay) {
    // Keys with a card failed today, or graded today at all.
    std::set<std::string_view> failed, graded;
    for (const auto& c : cards) {
        if (c.IsNew() || c.Last != today) continue;
        graded.insert(c.Key);
        if (c.Due <= today) failed.insert(c.Key);
    }
    std::vector<size_t> learnt, fresh, again;
    int32_t startedToday = 0;
    for (size_t i = 0; i < cards.size(); ++i) {
        const auto& c = cards[i];
        if (!c.IsNew() && c.First == today) ++startedToday;
        const bool gradedToday = !c.IsNew() && c.Last == today;
        // Its sibling was failed today: asking this one now would only repeat the answer.
        if (!gradedToday && failed.count(c.Key)) continue;
        if (c.IsNew()) {
            fresh.push_back(i);
            continue;
        }
        if (c.Due > today) continue;
        (gradedToday ? again : learnt).push_back(i);
    }
    std::stable_sort(learnt.begin(), learnt.end(), [&](size_t a, size_t b) {
        return std::pair(cards[a].Due, cards[a].Last) < std::pair(cards[b].Due, cards[b].Last);
    });
    const size_t allowed = static_cast<size_t>(std::max(0, newPerDay - startedToday));
    fresh.resize(std::min(fresh.size(), allowed));
    learnt.insert(learnt.end(), fresh.begin(), fresh.end());
    learnt.insert(learnt.end(), again.begin(), again.end());
    // The second of two siblings, or one whose sibling was asked today, goes last.
    std::vector<size_t> order, held;
    std::set<std::string_view> asked(graded);
    for (size_t i : learnt) {
        const auto& c = cards[i];
        const bool gradedToday = !c.IsNew() && c.Last == today;
        if (!gradedToday && !asked.insert(c.Key).second)
            held.push_back(i);
        else
            order.push_back(i);
    }
    order.insert(order.end(), held.begin(), held.end());
    return order;
}

int64_t NextDueDay(const std::vector<TReviewCard>& cards, int64_t today, int32_t newPerDay) {
    const auto due = DueCards(cards, today, newPerDay);
    const std::set<size_t> dueSet(due.begin(), due.end());
    int64_t next = kNoDay;
    bool tomorrow = false;
    for (size_t i = 0; i < cards.size(); ++i) {
        const auto& c = cards[i];
        if (!c.IsNew() && c.Due > today) {
            if (next == kNoDay || c.Due < next) next = c.Due;
        } else if (!dueSet.count(i)) {
            tomorrow = true; // held back by the limit or by a failed sibling
        }
    }
    if (tomorrow && (next == kNoDay || next > today + 1)) next = today + 1;
    return next;
}

// ---- dates ----------------------------------------------------------------------------------

// The proleptic Gregorian calendar after H. Hinnant's days_from_civil / civil_from_days.
int64_t DaysFromCivil(int32_t year, uint32_t month, uint32_t day) {
    const int64_t y = static_cast<int64_t>(year) - (month <= 2);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int64_t ReviewToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return DaysFromCivil(local.tm_year + 1900, static_cast<uint32_t>(local.tm_mon + 1),
                         static_cast<uint32_t>(local.tm_mday));
}

namespace {

void CivilFromDays(int64_t z, int64_t& year, unsigned& month, unsigned& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<unsigned>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<unsigned>(mp < 10 ? mp + 3 : mp - 9);
    year = yoe + era * 400 + (month <= 2);
}

} // namespace

std::string DayText(int64_t day) {
    int64_t y = 0;
    unsigned m = 0, d = 0;
    CivilFromDays(day, y, m, d);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u", static_cast<long long>(y), m, d);
    return buf;
}

std::optional<int64_t> ParseDay(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    int32_t y = 0, m = 0, d = 0;
    if (!Digits(text.substr(0, 4)) || !Digits(text.substr(5, 2)) || !Digits(text.substr(8, 2)) ||
        !ParseInt32(text.substr(0, 4), y) || !ParseInt32(text.substr(5, 2), m) ||
        !ParseInt32(text.substr(8, 2), d))
        return std::nullopt;
    const int64_t day = DaysFromCivil(y, static_cast<uint32_t>(m), static_cast<uint32_t>(d));
    // 2023-02-30 and the like do not come back as themselves.
    if (m < 1 || m > 12 || d < 1 || DayText(day) != text) return std::nullopt;
    return day;
}

// ---- the file -------------------------------------------------------------------------------

// notebook_review.txt, Windows-1251, one card a line, CR LF after each, fields separated
// by TAB:
//   KEY  DIRECTION  STABILITY  DIFFICULTY  DUE  FIRST  LAST  SOURCE
// KEY is a card key (IsCardKey); DIRECTION "number" (number -> phrase) or "phrase"
// (phrase -> number); STABILITY (days, 0.001 to 36500) and DIFFICULTY (1 to 10) are
// decimals with a point; DUE, FIRST and LAST are YYYY-MM-DD; a card never graded has "-"
// in all five. SOURCE, the rest of the line, is the notebook entry the card was made from
// (a card whose entry has changed since starts afresh).
// The SM-2 scheduler before wrote
//   KEY  DIRECTION  REPETITIONS  INTERVAL  EASE  DUE  FIRST  LAST  SOURCE
// (INTERVAL in days, EASE the E-Factor in thousandths, 1300 and up). Such a card keeps its
// days; its stability is its interval (at 90 % retention FSRS asks again after S days),
// at least w0, the stability of a first "Снова"; its difficulty follows the E-Factor
// linearly, 1.3 (the hardest SM-2 knows) giving 10 and 3.0 and up giving 1.
// A line that breaks any of this, or repeats a card already read, is not taken: it is
// kept as it is and written back after the cards.
namespace {

std::optional<double> ParseDecimal(std::string_view s, double low, double high) {
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !(v >= low && v <= high))
        return std::nullopt;
    return v;
}

std::string Decimal(double v) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 4);
    return std::string(buf, res.ptr);
}

// The three days of a graded card, or all "-" (false in `graded`) for a new one.
bool ParseDays(std::string_view due, std::string_view first, std::string_view last,
               TReviewCard& c, bool& graded) {
    graded = !(due == "-" && first == "-" && last == "-");
    if (!graded) return true;
    const auto d = ParseDay(due), f = ParseDay(first), l = ParseDay(last);
    if (!d || !f || !l || *f > *l || *d < *l) return false;
    c.Due = *d;
    c.First = *f;
    c.Last = *l;
    return true;
}

// One line of either format into `c`; `sm2` says which it was.
bool ParseCardLine(const std::string& line, TReviewCard& c, bool& sm2) {
    std::vector<std::string_view> f;
    size_t start = 0;
    while (f.size() < 8) {
        const auto tab = line.find('\t', start);
        if (tab == std::string::npos) break;
        f.emplace_back(line.data() + start, tab - start);
        start = tab + 1;
        if (f.size() == 7 && (f[4] == "-" || ParseDay(f[4]))) break;
    }
    if (f.size() < 7) return false;
    sm2 = f.size() == 8;
    c.Key = std::string(f[0]);
    c.Source = line.substr(start);
    const auto dir = ParseDirection(f[1]);
    if (!IsCardKey(c.Key) || !dir || c.Source.empty()) return false;
    c.Direction = *dir;
    bool graded = false;
    if (!sm2) {
        if (!ParseDays(f[4], f[5], f[6], c, graded)) return false;
        if (!graded) return f[2] == "-" && f[3] == "-";
        const auto s = ParseDecimal(f[2], kFsrsMinStability, kFsrsMaxStability);
        const auto d = ParseDecimal(f[3], 1, 10);
        if (!s || !d) return false;
        c.Stability = *s;
        c.Difficulty = *d;
        return true;
    }
    int32_t reps = 0, interval = 0, ease = 0;
    if (!Digits(f[2]) || !ParseInt32(f[2], reps) || !Digits(f[3]) || !ParseInt32(f[3], interval) ||
        !Digits(f[4]) || !ParseInt32(f[4], ease) || ease < 1300)
        return false;
    if (!ParseDays(f[5], f[6], f[7], c, graded)) return false;
    if (!graded) return reps == 0 && interval == 0 && ease == 2500;
    c.Stability = std::clamp(static_cast<double>(interval), kFsrsWeights[0], kFsrsMaxStability);
    c.Difficulty = Round4(std::clamp(1.0 + (3000.0 - ease) * 9.0 / 1700.0, 1.0, 10.0));
    return true;
}

} // namespace

TReviewDeck ReadReviewText(std::string_view bytes) {
    std::string text(bytes);
    // Zero bytes dropped, as the file layer drops them for the text it reads.
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    TReviewDeck deck;
    std::set<std::pair<std::string, TReviewDirection>> seen;
    for (auto& line : SplitLines(text)) {
        if (line.empty()) continue;
        TReviewCard c;
        bool sm2 = false;
        if (!ParseCardLine(line, c, sm2) || !seen.insert({c.Key, c.Direction}).second) {
            deck.Unread.push_back(std::move(line));
            continue;
        }
        deck.Migrated = deck.Migrated || sm2;
        deck.Cards.push_back(std::move(c));
    }
    return deck;
}

TReviewDeck LoadReviewDeck(const std::string& path, std::string* error) {
    // The deck must never stand in the notebook's way: what cannot be read is no deck.
    try {
        if (FileExists(path) || DirectoryExists(path))
            return ReadReviewText(ReadTextFile(path, TNulRule::DropNul));
    } catch (const std::exception& e) {
        if (error) *error = e.what();
    }
    return {};
}

std::string WriteReviewText(const TReviewDeck& deck) {
    std::string text;
    auto day = [](int64_t d) { return d == kNoDay ? std::string("-") : DayText(d); };
    for (const auto& c : deck.Cards) {
        text += c.Key + '\t' + DirectionName(c.Direction) + '\t';
        text += c.IsNew() ? std::string("-\t-") : Decimal(c.Stability) + '\t' + Decimal(c.Difficulty);
        text += '\t' + day(c.Due) + '\t' + day(c.First) + '\t' + day(c.Last) + '\t' + c.Source + "\r\n";
    }
    for (const auto& line : deck.Unread)
        text += line + "\r\n";
    return text;
}

std::string ReviewBackupPath(const std::string& deckPath) {
    return ParentFolder(deckPath) + "/notebook_review_sm2.txt";
}

void SaveReviewDeck(const std::string& path, TReviewDeck& deck) {
    if (deck.Migrated) {
        const std::string backup = ReviewBackupPath(path);
        if (FileExists(path) && !FileExists(backup)) WriteFileAtomic(backup, ReadWholeFile(path));
    }
    std::string text = WriteReviewText(deck);
    GuardLeadingMark(text);
    WriteFileAtomic(path, text);
    deck.Migrated = false;
}

TReviewDeck LoadDeck(const std::string& path, const TStringList& entries, std::string* error,
                     const TPiecesList* pieces) {
    TReviewDeck deck = LoadReviewDeck(path, error);
    static const TPiecesList kNoPieces;
    deck.Cards = SyncCards(deck.Cards, CardSources(entries, pieces ? *pieces : kNoPieces));
    return deck;
}

size_t DueReviewCount(const TStringList& entries, const std::string& deckPath, int32_t newPerDay,
                      const TPiecesList* pieces) {
    return DueCards(LoadDeck(deckPath, entries, nullptr, pieces).Cards, ReviewToday(), newPerDay).size();
}

} // namespace nb
