#include "NotebookStoreUnit.h"

#include "encoding/VariantSearchUnit.h"
#include "notebook/NotebookViewUnit.h"
#include "notebook/PiecesUnit.h"

#include "core/TextUnit.h"

#include <unordered_map>

namespace nb {

std::string NotebookKey(std::string_view variantKey) {
    std::string key;
    for (char c : variantKey)
        if (c != '-') key += c;
    return key;
}

std::vector<std::string> NotebookItems(const TStringList& entries, std::string_view key) {
    return ReadCommaList(entries.Value(key));
}

std::string RememberedVariant(const TStringList& entries, std::string_view key) {
    const auto items = NotebookItems(entries, key);
    return items.empty() ? std::string() : items.front();
}

void RememberEntry(TStringList& entries, TStringList& notes, const std::string& variantKey,
                   const std::vector<std::string>& words, const std::string& note) {
    const std::string key = NotebookKey(variantKey);
    std::vector<std::string> items{variantKey};
    items.insert(items.end(), words.begin(), words.end());
    notes.SetValue(key, note);
    entries.SetValue(key, WriteCommaList(items));
}

void DeleteNotebookEntry(TStringList& entries, TStringList& notes, std::string_view key) {
    for (TStringList* list : {&entries, &notes})
        for (long i = list->IndexOfName(key); i >= 0; i = list->IndexOfName(key))
            list->Delete(static_cast<size_t>(i));
}

std::vector<TNotebookRec> NotebookRows(const TStringList& entries, const TStringList& notes,
                                       const TPiecesList* pieces,
                                       const std::vector<TReviewCard>* cards) {
    // The notes indexed once: a lookup per row would make a big notebook quadratic. Names
    // compare with case ignored and the first line of a name counts, as in a lookup.
    std::unordered_map<std::string, std::string_view> noteOf;
    noteOf.reserve(notes.Count());
    for (const auto& line : notes.Strings()) {
        const auto eq = line.find('=');
        if (eq != std::string::npos)
            noteOf.try_emplace(LowerCase(std::string_view(line).substr(0, eq)), std::string_view(line).substr(eq + 1));
    }
    std::vector<TNotebookRec> rows;
    rows.reserve(entries.Count());
    for (const auto& line : entries.Strings()) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const auto items = ReadCommaList(std::string_view(line).substr(eq + 1));
        if (items.size() < 2) continue;
        TNotebookRec rec;
        rec.Code = items[0];
        for (size_t i = 1; i < items.size(); ++i) {
            if (i > 1) rec.Words += " - ";
            rec.Words += items[i];
        }
        rec.Key = line.substr(0, eq);
        if (const auto note = noteOf.find(LowerCase(rec.Key)); note != noteOf.end()) rec.Note = note->second;
        if (pieces && !pieces->Lines().empty())
            if (const TPiecesRec* cut = pieces->Find(rec.Key, std::string_view(line).substr(eq + 1))) {
                const std::vector<std::string> words(items.begin() + 1, items.end());
                int32_t i = 0;
                for (const TPiece& p : MakePieces(SplitVariantKey(rec.Code), words, cut->Sizes, cut->Notes)) {
                    TNotebookPiece piece;
                    piece.Index = ++i;
                    for (size_t g = 0; g < p.Groups.size(); ++g) piece.Groups += (g ? "-" : "") + p.Groups[g];
                    for (size_t w = 0; w < p.Words.size(); ++w) piece.Words += (w ? " - " : "") + p.Words[w];
                    piece.Place = p.Note;
                    rec.Pieces.push_back(std::move(piece));
                }
            }
        rows.push_back(std::move(rec));
    }
    if (cards) SetNextReviews(rows, *cards);
    return rows;
}

std::string NotebookExportText(const std::vector<TNotebookRec>& rows) {
    std::string text;
    for (const auto& r : rows) {
        text += r.Code + " - " + r.Words + " - (" + r.Note + ")\r\n";
        for (const auto& p : r.Pieces)
            text += "    " + std::to_string(p.Index) + ". " + p.Groups + (p.Words.empty() ? "" : " - ") + p.Words +
                    " - (" + p.Place + ")\r\n";
    }
    return text;
}

} // namespace nb
