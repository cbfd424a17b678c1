#include "ReviewLogUnit.h"

#include "core/FileUnit.h"
#include "core/TextUnit.h"
#include "notebook/FsrsUnit.h"

#include <algorithm>
#include <charconv>

namespace nb {

// notebook_review_log.txt, Windows-1251, CR LF after each line, fields separated by TAB:
//   DATE  KEY  DIRECTION  GRADE  ELAPSED  STABILITY  DIFFICULTY
// DATE YYYY-MM-DD; KEY a card key; DIRECTION "number" or "phrase"; GRADE 1-4; ELAPSED the
// whole days since the card's previous grade, "-" for its first; STABILITY and DIFFICULTY
// after the grade, decimals with a point. Lines that break this are skipped.

std::string ReviewLogPath(const std::string& deckPath) {
    return ParentFolder(deckPath) + "/notebook_review_log.txt";
}

TReviewLogEntry MakeLogEntry(const TReviewCard& before, const TReviewCard& after,
                             TReviewGrade grade, int64_t today) {
    TReviewLogEntry e;
    e.Day = today;
    e.Key = after.Key;
    e.Direction = after.Direction;
    e.Grade = grade;
    e.Elapsed = before.IsNew() ? -1 : std::max<int64_t>(0, today - before.Last);
    e.Stability = after.Stability;
    e.Difficulty = after.Difficulty;
    return e;
}

namespace {

std::string Decimal(double v) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 4);
    return std::string(buf, res.ptr);
}

bool Number(std::string_view s, double low, double high, double& v) {
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    return !s.empty() && ec == std::errc() && end == s.data() + s.size() && v >= low && v <= high;
}

} // namespace

std::string ReviewLogLine(const TReviewLogEntry& e) {
    return DayText(e.Day) + '\t' + e.Key + '\t' + DirectionName(e.Direction) + '\t' +
           std::to_string(GradeNumber(e.Grade)) + '\t' +
           (e.Elapsed < 0 ? std::string("-") : std::to_string(e.Elapsed)) + '\t' +
           Decimal(e.Stability) + '\t' + Decimal(e.Difficulty) + "\r\n";
}

std::vector<TReviewLogEntry> ReadReviewLog(std::string_view bytes) {
    std::string text(bytes);
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    while (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    // A kill during an append leaves a line without its end: not a grade that was given.
    const auto end = text.find_last_of('\n');
    text.resize(end == std::string::npos ? 0 : end + 1);
    std::vector<TReviewLogEntry> log;
    for (const auto& line : SplitLines(text)) {
        std::vector<std::string_view> f;
        size_t start = 0;
        for (;;) {
            const auto tab = line.find('\t', start);
            f.emplace_back(line.data() + start, (tab == std::string::npos ? line.size() : tab) - start);
            if (tab == std::string::npos || f.size() > 7) break;
            start = tab + 1;
        }
        if (f.size() != 7) continue;
        TReviewLogEntry e;
        const auto day = ParseDay(f[0]);
        const auto dir = ParseDirection(f[2]);
        if (!day || !IsCardKey(f[1]) || !dir || f[3].size() != 1 || f[3][0] < '1' || f[3][0] > '4')
            continue;
        e.Day = *day;
        e.Key = std::string(f[1]);
        e.Direction = *dir;
        e.Grade = static_cast<TReviewGrade>(f[3][0] - '1');
        double elapsed = 0;
        if (f[4] == "-")
            e.Elapsed = -1;
        else if (f[4].find_first_not_of("0123456789") == std::string_view::npos &&
                 Number(f[4], 0, 4e6, elapsed))
            e.Elapsed = static_cast<int64_t>(elapsed);
        else
            continue;
        if (!Number(f[5], kFsrsMinStability, kFsrsMaxStability, e.Stability) ||
            !Number(f[6], 1, 10, e.Difficulty))
            continue;
        log.push_back(std::move(e));
    }
    return log;
}

std::vector<TReviewLogEntry> LoadReviewLog(const std::string& path) {
    try {
        if (FileExists(path)) return ReadReviewLog(ReadTextFile(path, TNulRule::DropNul));
    } catch (const std::exception&) {
        // The log is for the statistics only: it never stands in the way.
    }
    return {};
}

void AppendReviewLog(const std::string& path, const TReviewLogEntry& entry) {
    AppendLineToFile(path, ReviewLogLine(entry));
}

} // namespace nb
