#include "PiecesUnit.h"

#include "core/FileUnit.h"
#include "core/TextUnit.h"
#include "encoding/VariantSearchUnit.h"

#include <algorithm>
#include <numeric>

namespace nb {

std::vector<int32_t> SplitPieces(size_t groupCount, int32_t n) {
    if (n < 1 || groupCount <= static_cast<size_t>(n)) return {};
    const size_t count = (groupCount + static_cast<size_t>(n) - 1) / static_cast<size_t>(n);
    std::vector<int32_t> sizes(count, static_cast<int32_t>(groupCount / count));
    for (size_t i = 0; i < groupCount % count; ++i) ++sizes[i];
    return sizes;
}

bool CanMoveBoundary(const std::vector<int32_t>& sizes, size_t boundary, int delta, int32_t n) {
    if (boundary + 1 >= sizes.size() || (delta != 1 && delta != -1)) return false;
    const size_t taker = delta > 0 ? boundary : boundary + 1;
    const size_t giver = delta > 0 ? boundary + 1 : boundary;
    return sizes[giver] > 1 && sizes[taker] < 2 * std::max(n, 1);
}

bool MoveBoundary(std::vector<int32_t>& sizes, size_t boundary, int delta, int32_t n) {
    if (!CanMoveBoundary(sizes, boundary, delta, n)) return false;
    sizes[boundary] += delta;
    sizes[boundary + 1] -= delta;
    return true;
}

bool SizesFit(const std::vector<int32_t>& sizes, size_t groupCount) {
    size_t sum = 0;
    for (const int32_t s : sizes) {
        if (s < 1) return false;
        sum += static_cast<size_t>(s);
    }
    return !sizes.empty() && sum == groupCount;
}

int PieceOfColumn(const std::vector<int32_t>& sizes, size_t column) {
    size_t end = 0;
    for (size_t i = 0; i < sizes.size(); ++i) {
        end += static_cast<size_t>(std::max(sizes[i], 0));
        if (column < end) return static_cast<int>(i);
    }
    return -1;
}

std::vector<TPiece> MakePieces(const std::vector<std::string>& groups,
                               const std::vector<std::string>& words,
                               const std::vector<int32_t>& sizes,
                               const std::vector<std::string>& notes) {
    std::vector<TPiece> pieces;
    size_t g = 0;
    for (size_t i = 0; i < sizes.size(); ++i) {
        TPiece& p = pieces.emplace_back();
        for (int32_t k = 0; k < sizes[i] && g < groups.size(); ++k, ++g) {
            p.Digits += groups[g];
            p.Groups.push_back(groups[g]);
            if (g < words.size()) p.Words.push_back(words[g]);
        }
        if (i < notes.size()) p.Note = notes[i];
    }
    return pieces;
}

std::string PlaceNote(std::string_view text) {
    std::string note(text);
    for (char& c : note)
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    return note;
}

std::string SizesText(const std::vector<int32_t>& sizes) {
    std::string text;
    for (const int32_t s : sizes) text += (text.empty() ? "" : "-") + std::to_string(s);
    return text;
}

// ---- the file -------------------------------------------------------------------------------

// notebook_pieces.txt, Windows-1251, one notebook entry a line, CR LF after each, fields
// separated by TAB:
//   KEY  SIZES  NOTE1 ... NOTEn  SOURCE
// KEY is the notebook key (digits) of an entry of notebook.txt; SIZES the number of groups
// of each of its n pieces joined by "-" ("3-3-2-2"), each at least 1; then one place note
// per piece (possibly empty; a note holds no TAB or line end); SOURCE, the rest of the
// line, is the entry's comma list as notebook.txt held it when the pieces were made.
// A zero byte is dropped and a leading UTF-8 byte order mark skipped on reading.
// A line that breaks this or repeats a key already read is not understood: it is kept
// and written back as it was. A line whose SOURCE is no longer the entry's (the words
// were changed by hand, the entry is gone) or whose sizes do not cut the entry's groups
// no longer fits its entry: the entry is read as plain, and the next write drops it.
namespace {

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool ParseSizes(std::string_view text, std::vector<int32_t>& sizes) {
    sizes.clear();
    size_t start = 0;
    while (true) {
        const size_t dash = text.find('-', start);
        const std::string_view part = text.substr(start, dash == std::string_view::npos ? dash : dash - start);
        int32_t v = 0;
        if (!AllDigits(part) || !ParseInt32(part, v) || v < 1) return false;
        sizes.push_back(v);
        if (dash == std::string_view::npos) return true;
        start = dash + 1;
    }
}

bool ParseLine(std::string_view line, TPiecesRec& rec) {
    const size_t t1 = line.find('\t');
    if (t1 == std::string_view::npos) return false;
    rec.Key = std::string(line.substr(0, t1));
    const size_t t2 = line.find('\t', t1 + 1);
    if (!AllDigits(rec.Key) || t2 == std::string_view::npos ||
        !ParseSizes(line.substr(t1 + 1, t2 - t1 - 1), rec.Sizes))
        return false;
    size_t start = t2 + 1;
    rec.Notes.clear();
    for (size_t i = 0; i < rec.Sizes.size(); ++i) {
        const size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) return false;
        rec.Notes.emplace_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    rec.Source = std::string(line.substr(start));
    return !rec.Source.empty();
}

std::string FormatLine(const TPiecesRec& rec) {
    std::string line = rec.Key + '\t' + SizesText(rec.Sizes);
    for (size_t i = 0; i < rec.Sizes.size(); ++i)
        line += '\t' + (i < rec.Notes.size() ? PlaceNote(rec.Notes[i]) : std::string());
    return line + '\t' + rec.Source;
}

std::string_view LineKey(const TPiecesList::Line& line) {
    if (line.Good) return line.Rec.Key;
    const std::string_view raw = line.Raw;
    return raw.substr(0, raw.find('\t'));
}

} // namespace

void TPiecesList::SetText(std::string_view text) {
    lines_.clear();
    std::vector<std::string> seen;
    for (std::string& raw : SplitLines(text)) {
        Line line;
        line.Good = ParseLine(raw, line.Rec) &&
                    std::find(seen.begin(), seen.end(), line.Rec.Key) == seen.end();
        if (line.Good)
            seen.push_back(line.Rec.Key);
        else
            line.Raw = std::move(raw);
        lines_.push_back(std::move(line));
    }
}

std::string TPiecesList::Text() const {
    std::string text;
    for (const Line& line : lines_) text += (line.Good ? FormatLine(line.Rec) : line.Raw) + "\r\n";
    return text;
}

const TPiecesRec* TPiecesList::Find(std::string_view key, std::string_view entryValue) const {
    for (const Line& line : lines_) {
        if (!line.Good || line.Rec.Key != key) continue;
        const auto items = ReadCommaList(entryValue);
        if (line.Rec.Source != entryValue || items.empty() ||
            !SizesFit(line.Rec.Sizes, SplitVariantKey(items.front()).size()))
            return nullptr;
        return &line.Rec;
    }
    return nullptr;
}

void TPiecesList::Set(TPiecesRec rec) {
    rec.Notes.resize(rec.Sizes.size());
    for (auto& note : rec.Notes) note = PlaceNote(note);
    auto it = std::find_if(lines_.begin(), lines_.end(), [&](const Line& l) { return LineKey(l) == rec.Key; });
    const std::string key = rec.Key;
    Line line;
    line.Good = true;
    line.Rec = std::move(rec);
    if (it == lines_.end()) {
        lines_.push_back(std::move(line));
        return;
    }
    *it = std::move(line);
    // The key's other lines would otherwise come back as its pieces once this one went.
    lines_.erase(std::remove_if(std::next(it), lines_.end(), [&](const Line& l) { return LineKey(l) == key; }),
                 lines_.end());
}

bool TPiecesList::Remove(std::string_view key) {
    const size_t before = lines_.size();
    lines_.erase(std::remove_if(lines_.begin(), lines_.end(), [&](const Line& l) { return LineKey(l) == key; }),
                 lines_.end());
    return lines_.size() != before;
}

bool TPiecesList::Sync(const TStringList& entries) {
    const size_t before = lines_.size();
    lines_.erase(std::remove_if(lines_.begin(), lines_.end(),
                                [&](const Line& l) {
                                    return l.Good && !Find(l.Rec.Key, entries.Value(l.Rec.Key));
                                }),
                 lines_.end());
    return lines_.size() != before;
}

void LoadPieces(TPiecesList& list, const std::string& path) {
    list.SetText(FileExists(path) || DirectoryExists(path) ? ReadTextFile(path, TNulRule::DropNul) : std::string());
}

void SavePieces(const TPiecesList& list, const std::string& path) {
    std::string text = list.Text();
    GuardLeadingMark(text);
    WriteFileAtomic(path, text);
}

} // namespace nb
