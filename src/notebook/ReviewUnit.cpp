#include "ReviewUnit.h"

#include "core/FileUnit.h"
#include "core/TextUnit.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <set>
#include <utility>

namespace nb {

// The scheduler is SM-2: P. A. Wozniak, "Optimization of repetition spacing in the
// practice of learning" (1990), the algorithm known as SuperMemo 2. Grades map to its
// qualities as Снова 1, Трудно 3, Хорошо 4, Легко 5. Per grade:
// - quality >= 3: the E-Factor becomes EF + (0.1 - (5 - q) * (0.08 + (5 - q) * 0.02)), at
//   least 1.3; the interval is 1 day after the first correct answer in a row, 6 after the
//   second, and the previous interval times the new E-Factor, rounded up, after that;
// - quality < 3: repetitions start again from the beginning, the E-Factor unchanged, and
//   the card is due again the same day (SM-2 repeats a failed item within the day's
//   session). SM-2 also repeats quality 3 the same day; here "Трудно" counts as recalled and
//   only shortens the interval through the E-Factor, so that a hard card is not asked twice.
// All arithmetic is in integers (E-Factor in thousandths), so a grade on a given day
// always gives the same state.

int ReviewQuality(TReviewGrade grade) {
    switch (grade) {
    case TReviewGrade::Again:
        return 1;
    case TReviewGrade::Hard:
        return 3;
    case TReviewGrade::Good:
        return 4;
    case TReviewGrade::Easy:
        return 5;
    }
    return 1;
}

const char* DirectionName(TReviewDirection direction) {
    return direction == TReviewDirection::NumberToPhrase ? "number" : "phrase";
}

std::optional<TReviewDirection> ParseDirection(std::string_view name) {
    if (name == "number") return TReviewDirection::NumberToPhrase;
    if (name == "phrase") return TReviewDirection::PhraseToNumber;
    return std::nullopt;
}

void GradeCard(TReviewCard& card, TReviewGrade grade, int64_t today) {
    const int q = ReviewQuality(grade);
    if (card.IsNew()) card.First = today;
    card.Last = today;
    if (q < 3) {
        card.Repetitions = 0;
        card.Interval = 0;
        card.Due = today;
        return;
    }
    const int d = 5 - q;
    card.Ease = std::max(kMinimumEase, card.Ease + 100 - d * (80 + d * 20));
    ++card.Repetitions;
    if (card.Repetitions == 1)
        card.Interval = 1;
    else if (card.Repetitions == 2)
        card.Interval = 6;
    else {
        const int64_t next = (static_cast<int64_t>(card.Interval) * card.Ease + 999) / 1000;
        card.Interval = static_cast<int32_t>(std::min<int64_t>(next, 36500)); // a century is plenty
    }
    card.Due = today + card.Interval;
}

std::vector<TReviewCard> SyncCards(const std::vector<TReviewCard>& cards,
                                   const TStringList& entries) {
    std::map<std::pair<std::string, TReviewDirection>, const TReviewCard*> known;
    for (const auto& c : cards)
        known.emplace(std::make_pair(c.Key, c.Direction), &c);
    std::vector<TReviewCard> synced;
    std::set<std::string> seen;
    for (const auto& line : entries.Strings()) {
        const auto eq = line.find('=');
        if (eq == std::string::npos || eq == 0) continue;
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        if (ReadCommaList(value).size() < 2 || !seen.insert(key).second) continue;
        for (auto dir : {TReviewDirection::NumberToPhrase, TReviewDirection::PhraseToNumber}) {
            const auto it = known.find({key, dir});
            if (it != known.end() && it->second->Source == value) {
                synced.push_back(*it->second);
                continue;
            }
            TReviewCard fresh;
            fresh.Key = key;
            fresh.Direction = dir;
            fresh.Source = value;
            synced.push_back(std::move(fresh));
        }
    }
    return synced;
}

std::vector<size_t> DueCards(const std::vector<TReviewCard>& cards, int64_t today,
                             int32_t newPerDay) {
    std::vector<size_t> learnt, fresh, again;
    int32_t startedToday = 0;
    for (size_t i = 0; i < cards.size(); ++i) {
        const auto& c = cards[i];
        if (c.IsNew()) {
            fresh.push_back(i);
            continue;
        }
        if (c.First == today) ++startedToday;
        if (c.Due > today) continue;
        (c.Last == today ? again : learnt).push_back(i);
    }
    std::stable_sort(learnt.begin(), learnt.end(), [&](size_t a, size_t b) {
        return std::pair(cards[a].Due, cards[a].Last) < std::pair(cards[b].Due, cards[b].Last);
    });
    const size_t allowed = static_cast<size_t>(std::max(0, newPerDay - startedToday));
    fresh.resize(std::min(fresh.size(), allowed));
    learnt.insert(learnt.end(), fresh.begin(), fresh.end());
    learnt.insert(learnt.end(), again.begin(), again.end());
    return learnt;
}

int64_t NextDueDay(const std::vector<TReviewCard>& cards, int64_t today, int32_t newPerDay) {
    int64_t next = kNoDay;
    size_t allNew = 0;
    for (const auto& c : cards) {
        allNew += c.IsNew();
        if (!c.IsNew() && c.Due > today && (next == kNoDay || c.Due < next)) next = c.Due;
    }
    size_t dueNew = 0;
    for (size_t i : DueCards(cards, today, newPerDay))
        dueNew += cards[i].IsNew();
    // New cards the daily limit holds back are tomorrow's.
    if (allNew > dueNew && (next == kNoDay || next > today + 1)) next = today + 1;
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

bool Digits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
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
//   KEY  DIRECTION  REPETITIONS  INTERVAL  EASE  DUE  FIRST  LAST  SOURCE
// KEY is the notebook key (digits); DIRECTION "number" (number -> phrase) or "phrase"
// (phrase -> number); REPETITIONS and INTERVAL (days) are numbers from 0; EASE the
// E-Factor in thousandths (1300 and up); DUE, FIRST and LAST are YYYY-MM-DD, or "-" all
// three for a card never graded; SOURCE, the rest of the line, is the notebook entry the
// card was made from (a card whose entry has changed since starts afresh). A line that
// breaks any of this, or repeats a card already read, is skipped; the rest still count.
std::vector<TReviewCard> ReadReviewText(std::string_view bytes) {
    std::vector<TReviewCard> cards;
    std::set<std::pair<std::string, TReviewDirection>> seen;
    for (const auto& line : SplitLines(bytes)) {
        std::vector<std::string_view> f;
        size_t start = 0;
        while (f.size() < 8) {
            const auto tab = line.find('\t', start);
            if (tab == std::string::npos) break;
            f.emplace_back(line.data() + start, tab - start);
            start = tab + 1;
        }
        if (f.size() < 8) continue;
        TReviewCard c;
        c.Key = std::string(f[0]);
        c.Source = line.substr(start);
        const auto dir = ParseDirection(f[1]);
        if (!Digits(c.Key) || !dir || c.Source.empty()) continue;
        c.Direction = *dir;
        if (!Digits(f[2]) || !ParseInt32(f[2], c.Repetitions) || !Digits(f[3]) ||
            !ParseInt32(f[3], c.Interval) || !Digits(f[4]) || !ParseInt32(f[4], c.Ease) ||
            c.Ease < kMinimumEase)
            continue;
        if (f[5] == "-" && f[6] == "-" && f[7] == "-") {
            if (c.Repetitions != 0 || c.Interval != 0 || c.Ease != kInitialEase) continue;
        } else {
            const auto due = ParseDay(f[5]), first = ParseDay(f[6]), last = ParseDay(f[7]);
            if (!due || !first || !last || *first > *last) continue;
            c.Due = *due;
            c.First = *first;
            c.Last = *last;
        }
        if (!seen.insert({c.Key, c.Direction}).second) continue;
        cards.push_back(std::move(c));
    }
    return cards;
}

std::vector<TReviewCard> LoadReviewCards(const std::string& path, std::string* error) {
    // The deck must never stand in the notebook's way: what cannot be read is no deck.
    try {
        if (FileExists(path) || DirectoryExists(path)) return ReadReviewText(ReadWholeFile(path));
    } catch (const std::exception& e) {
        if (error) *error = e.what();
    }
    return {};
}

std::string WriteReviewText(const std::vector<TReviewCard>& cards) {
    std::string text;
    auto day = [](int64_t d) { return d == kNoDay ? std::string("-") : DayText(d); };
    for (const auto& c : cards)
        text += c.Key + '\t' + DirectionName(c.Direction) + '\t' + std::to_string(c.Repetitions) +
                '\t' + std::to_string(c.Interval) + '\t' + std::to_string(c.Ease) + '\t' +
                day(c.Due) + '\t' + day(c.First) + '\t' + day(c.Last) + '\t' + c.Source + "\r\n";
    return text;
}

void SaveReviewCards(const std::string& path, const std::vector<TReviewCard>& cards) {
    WriteFileAtomic(path, WriteReviewText(cards));
}

std::vector<TReviewCard> LoadDeck(const std::string& path, const TStringList& entries,
                                  std::string* error) {
    return SyncCards(LoadReviewCards(path, error), entries);
}

size_t DueReviewCount(const TStringList& entries, const std::string& deckPath, int32_t newPerDay) {
    return DueCards(LoadDeck(deckPath, entries), ReviewToday(), newPerDay).size();
}

} // namespace nb
