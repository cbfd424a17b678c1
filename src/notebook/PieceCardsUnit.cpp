#include "PieceCardsUnit.h"

#include "core/TextUnit.h"
#include "encoding/VariantSearchUnit.h"

#include <algorithm>
#include <set>

namespace nb {

namespace {

std::string Joined(const std::vector<std::string>& words, const char* separator) {
    std::string text;
    for (const auto& w : words) text += (text.empty() ? "" : separator) + w;
    return text;
}

} // namespace

std::vector<TCardSource> CardSources(const TStringList& entries, const TPiecesList& pieces) {
    std::vector<TCardSource> sources;
    std::set<std::string> seen;
    for (const auto& line : entries.Strings()) {
        const auto eq = line.find('=');
        if (eq == std::string::npos || eq == 0) continue;
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        if (ReadCommaList(value).size() < 2 || !seen.insert(key).second) continue;
        const TPiecesRec* rec = pieces.Find(key, value);
        if (!rec) {
            sources.push_back({key, value});
            continue;
        }
        // A new cut makes new cards: the pieces' words are other phrases now.
        const std::string source = value + "#" + SizesText(rec->Sizes);
        for (size_t i = 1; i <= rec->Sizes.size(); ++i) sources.push_back({key + "#" + std::to_string(i), source});
    }
    return sources;
}

std::string EntryKeyOfCard(std::string_view cardKey) { return std::string(cardKey.substr(0, cardKey.find('#'))); }

int PieceOfCard(std::string_view cardKey) {
    const size_t hash = cardKey.find('#');
    int32_t n = 0;
    if (hash == std::string_view::npos || !ParseInt32(cardKey.substr(hash + 1), n)) return 0;
    return n;
}

std::optional<TCardFace> CardFace(const TStringList& entries, const TStringList& notes,
                                  const TPiecesList& pieces, std::string_view cardKey) {
    if (!IsCardKey(cardKey)) return std::nullopt;
    TCardFace face;
    face.EntryKey = EntryKeyOfCard(cardKey);
    face.Piece = PieceOfCard(cardKey);
    const std::string value = entries.Value(face.EntryKey);
    std::vector<std::string> items = ReadCommaList(value);
    if (items.size() < 2) return std::nullopt;
    face.Variant = items.front();
    face.EntryNote = notes.Value(face.EntryKey);
    items.erase(items.begin());
    if (face.Piece == 0) {
        face.Digits = face.EntryKey;
        face.Groups = SplitVariantKey(face.Variant);
        face.Words = std::move(items);
        return face;
    }
    const TPiecesRec* rec = pieces.Find(face.EntryKey, value);
    if (!rec || static_cast<size_t>(face.Piece) > rec->Sizes.size()) return std::nullopt;
    const auto all = MakePieces(SplitVariantKey(face.Variant), items, rec->Sizes, rec->Notes);
    face.PieceCount = static_cast<int>(all.size());
    const TPiece& p = all[static_cast<size_t>(face.Piece - 1)];
    face.Digits = p.Digits;
    face.Groups = p.Groups;
    face.Words = p.Words;
    face.PlaceNote = p.Note;
    if (face.Piece > 1) {
        face.PreviousDigits = all[static_cast<size_t>(face.Piece - 2)].Digits;
        face.PreviousWords = all[static_cast<size_t>(face.Piece - 2)].Words;
    }
    for (size_t i = 0; i < all.size(); ++i) {
        // Windows-1251 text: 0x97 is the em dash there.
        std::string line = std::to_string(i + 1) + ". " + all[i].Digits + " \x97 " + Joined(all[i].Words, " - ");
        if (!all[i].Note.empty()) line += " (" + all[i].Note + ")";
        face.Journey.push_back(std::move(line));
    }
    return face;
}

} // namespace nb
